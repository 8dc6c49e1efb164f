#include "mail/MailOutbox.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/FileSystem.h"

namespace corvane {
namespace {

// Records past this size are written anew once they are twice what the outbox holds.
constexpr size_t kRewriteAbove = 256 * 1024;

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

std::string ErrorText(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

enum class ReadStatus { kRead, kMissing, kUnreadable };

// At most one byte past the largest file the reader takes, so that a larger one shows.
ReadStatus ReadFile(const std::string& path, std::string& bytes, std::string& error) {
    // Non-blocking, so that a FIFO in its place cannot hold the start-up.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) {
            return ReadStatus::kMissing;
        }
        error = ErrorText("cannot open it");
        return ReadStatus::kUnreadable;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        error = "it is not a regular file";
        return ReadStatus::kUnreadable;
    }
    char chunk[65536];
    while (bytes.size() <= outbox::kMaxFileBytes) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            error = ErrorText("cannot read it");
            ::close(fd);
            return ReadStatus::kUnreadable;
        }
        if (n == 0) {
            break;
        }
        bytes.append(chunk, static_cast<size_t>(n));
    }
    ::close(fd);
    return ReadStatus::kRead;
}

}  // namespace

CMailOutbox::~CMailOutbox() {
    Close();
}

std::string CMailOutbox::PathBeside(const std::string& databasePath) {
    const std::string dir = DirectoryOf(databasePath);
    return dir.empty() ? "mail.outbox" : dir + "/mail.outbox";
}

std::vector<OutboxEntry> CMailOutbox::Open(const std::string& path) {
    std::lock_guard lock(mutex_);
    CloseFileLocked();
    held_.clear();
    heldBytes_ = 0;
    path_ = path;
    usable_ = true;

    std::string bytes;
    std::string error;
    const ReadStatus status = ReadFile(path_, bytes, error);
    OutboxContents contents;
    if (status == ReadStatus::kRead) {
        contents = ReadOutbox(bytes);
        error = contents.damage;
    }
    lastId_ = contents.highestId;
    for (const OutboxEntry& e : contents.entries) {
        Held held{OutboxAddRecord(e.id, *e.message), e.attempts, e.lastReply, e.committed,
                  e.endSent};
        heldBytes_ += held.addRecord.size();
        held_.emplace(e.id, std::move(held));
    }
    if (status == ReadStatus::kUnreadable || !error.empty()) {
        SetAside(error, contents.entries.size());
    }
    if (!usable_) {
        // Delivered here, they could not be struck off: they wait in the file for a start
        // that can.
        held_.clear();
        heldBytes_ = 0;
        return {};
    }
    std::string written;
    if (RewriteLocked(written)) {
        log_.Printf(held_.empty() ? 1 : 0, "Mail outbox %s: %zu messages to deliver", path_.c_str(),
                    held_.size());
    } else {
        rewriteOwed_ = true;
        Failed(written);
    }
    return std::move(contents.entries);
}

void CMailOutbox::SetAside(const std::string& why, size_t kept) {
    const std::string aside = path_ + ".damaged";
    if (std::rename(path_.c_str(), aside.c_str()) == 0) {
        log_.Printf(0, "Mail outbox %s could not be read whole: %s", path_.c_str(), why.c_str());
        log_.Printf(0, "  %zu messages kept; the file is set aside as %s", kept, aside.c_str());
        return;
    }
    // What could not be read may still be in it: it is never written over.
    usable_ = false;
    log_.Printf(0, "Mail outbox %s could not be read whole: %s", path_.c_str(), why.c_str());
    log_.Printf(0, "  nor set aside (%s): no alarm mail is handed on in this run",
                std::strerror(errno));
}

void CMailOutbox::Close() {
    std::lock_guard lock(mutex_);
    if (usable_ && rewriteOwed_) {
        std::string error;
        if (RewriteLocked(error)) {
            Recovered();
        } else {
            log_.Printf(0, "Mail outbox %s: the last changes could not be written: %s",
                        path_.c_str(), error.c_str());
        }
    }
    CloseFileLocked();
    usable_ = false;
}

void CMailOutbox::CloseFileLocked() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool CMailOutbox::Add(const std::vector<CSMTPMessage*>& messages) {
    std::lock_guard lock(mutex_);
    if (!usable_) {
        return false;
    }
    std::string records;
    std::vector<uint64_t> added;
    for (CSMTPMessage* m : messages) {
        const uint64_t id = ++lastId_;
        Held held;
        held.addRecord = OutboxAddRecord(id, *m);
        records += held.addRecord;
        heldBytes_ += held.addRecord.size();
        held_.emplace(id, std::move(held));
        added.push_back(id);
    }
    if (!SaveLocked(records)) {
        for (const uint64_t id : added) {
            heldBytes_ -= held_[id].addRecord.size();
            held_.erase(id);
        }
        return false;
    }
    for (size_t i = 0; i < messages.size(); ++i) {
        messages[i]->m_nOutboxId = added[i];
    }
    return true;
}

void CMailOutbox::Commit(const std::vector<uint64_t>& ids) {
    std::lock_guard lock(mutex_);
    std::string records;
    for (const uint64_t id : ids) {
        const auto it = held_.find(id);
        if (it != held_.end()) {
            it->second.committed = true;
            records += OutboxCommitRecord(id);
        }
    }
    if (usable_ && !records.empty()) {
        SaveLocked(records);
    }
}

void CMailOutbox::Attempted(uint64_t id, int attempts, const std::string& lastReply) {
    std::lock_guard lock(mutex_);
    const auto it = held_.find(id);
    if (usable_ && it != held_.end()) {
        it->second.attempts = attempts;
        it->second.lastReply = lastReply.substr(0, outbox::kMaxReplyBytes);
        it->second.endSent = false;
        SaveLocked(OutboxAttemptRecord(id, attempts, lastReply));
    }
}

void CMailOutbox::EndSent(uint64_t id) {
    std::lock_guard lock(mutex_);
    const auto it = held_.find(id);
    if (usable_ && it != held_.end()) {
        it->second.endSent = true;
        SaveLocked(OutboxEndSentRecord(id));
    }
}

void CMailOutbox::Remove(uint64_t id) {
    std::lock_guard lock(mutex_);
    const auto it = held_.find(id);
    if (usable_ && it != held_.end()) {
        heldBytes_ -= it->second.addRecord.size();
        held_.erase(it);
        SaveLocked(OutboxRemoveRecord(id));
    }
}

size_t CMailOutbox::Size() const {
    std::lock_guard lock(mutex_);
    return held_.size();
}

bool CMailOutbox::SaveLocked(const std::string& records) {
    std::string error;
    bool saved = false;
    if (rewriteOwed_ || fd_ < 0) {
        saved = RewriteLocked(error);
    } else if (held_.empty()) {
        saved = TruncateLocked(error);
    } else {
        saved = AppendLocked(records, error);
        // A failed rewrite leaves the appended file as it was, sound; the next change tries again.
        std::string ignored;
        if (saved && fileBytes_ > kRewriteAbove && fileBytes_ > 2 * heldBytes_) {
            RewriteLocked(ignored);
        }
    }
    if (!saved) {
        // Memory holds the change; the file is brought to it by a rewrite.
        rewriteOwed_ = true;
        Failed(error);
        return false;
    }
    Recovered();
    return true;
}

bool CMailOutbox::AppendLocked(const std::string& records, std::string& error) {
    if (WriteAll(fd_, records) && ::fdatasync(fd_) == 0) {
        fileBytes_ += records.size();
        return true;
    }
    error = ErrorText("cannot write it");
    // A record written in part would hide every record after it: cut it off.
    if (::ftruncate(fd_, static_cast<off_t>(fileBytes_)) != 0) {
        CloseFileLocked();
    }
    return false;
}

bool CMailOutbox::TruncateLocked(std::string& error) {
    const size_t header = outbox::kHeader.size();
    if (::ftruncate(fd_, static_cast<off_t>(header)) != 0 || ::fdatasync(fd_) != 0) {
        error = ErrorText("cannot empty it");
        return false;
    }
    fileBytes_ = header;
    return true;
}

bool CMailOutbox::RewriteLocked(std::string& error) {
    std::string bytes(outbox::kHeader);
    for (const auto& [id, held] : held_) {
        bytes += held.addRecord;
        bytes +=
            OutboxStateRecords(id, held.attempts, held.lastReply, held.committed, held.endSent);
    }
    std::string temp = path_ + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = ErrorText("cannot write it anew");
        return false;
    }
    const bool written = ::fchmod(fd, 0600) == 0 && WriteAll(fd, bytes) && ::fdatasync(fd) == 0;
    const int writeErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(temp.c_str(), path_.c_str()) != 0) {
        errno = written ? errno : writeErrno;
        error = ErrorText("cannot write it anew");
        ::unlink(temp.c_str());
        return false;
    }
    const std::string dir = DirectoryOf(path_);
    SyncDirectory(dir.empty() ? "." : dir);
    CloseFileLocked();
    fd_ = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    fileBytes_ = bytes.size();
    rewriteOwed_ = false;
    return true;
}

void CMailOutbox::Failed(const std::string& error) {
    if (failedWrites_++ == 0) {
        log_.Printf(0, "Mail outbox %s cannot be written: alarm mail waits until it can",
                    path_.c_str());
        log_.Printf(0, "  %s", error.c_str());
    }
}

void CMailOutbox::Recovered() {
    if (failedWrites_ > 0) {
        log_.Printf(0, "Mail outbox %s takes writes again, after %d failed writes", path_.c_str(),
                    failedWrites_);
        failedWrites_ = 0;
    }
}

}  // namespace corvane

#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "log/DiagLogSource.h"
#include "mail/MailOutboxFile.h"

namespace corvane {

// The file that keeps every message the notification pass has handed on until the notify
// agent has delivered it or given it up, so that a stop, a crash or a SIGKILL loses none and
// the next start sends what is left. Each change is written after the file's end and synced
// before the call returns; the file is written anew (temporary file, sync, rename) when it
// opens, when its records have grown well past what it holds, and after a failed write.
// Any thread; the lock is taken under no other and takes none.
class CMailOutbox {
public:
    CMailOutbox() = default;
    ~CMailOutbox();
    CMailOutbox(const CMailOutbox&) = delete;
    CMailOutbox& operator=(const CMailOutbox&) = delete;

    // The file beside the database file at databasePath.
    static std::string PathBeside(const std::string& databasePath);

    // Reads the file (none there: an empty outbox) and writes what it kept anew. A file that
    // cannot be read to its end is set aside as path + ".damaged", with a log line, and what
    // could be read of it is kept. The messages held, oldest first.
    std::vector<OutboxEntry> Open(const std::string& path);
    // Writes what failed writes left out, and closes the file.
    void Close();

    // Writes the messages in before their alarm row says they are handed on, and gives each
    // its id. False when the file cannot take them; then none is kept.
    bool Add(const std::vector<CSMTPMessage*>& messages);
    // Their alarm row says so: the messages are the agent's until delivered or given up.
    void Commit(const std::vector<uint64_t>& ids);
    // An attempt failed; the message waits for another.
    void Attempted(uint64_t id, int attempts, const std::string& lastReply);
    // The message's final "." is about to go out: from here on it may be delivered.
    void EndSent(uint64_t id);
    // Delivered, given up, or taken back.
    void Remove(uint64_t id);

    size_t Size() const;

private:
    struct Held {
        std::string addRecord;
        int attempts = 0;
        std::string lastReply;
        bool committed = false;
        bool endSent = false;
    };

    void SetAside(const std::string& why, size_t kept);
    // Brings the file to what is held, appending the records of the change just made when it
    // can; false when the file could not be brought there.
    bool SaveLocked(const std::string& records);
    bool AppendLocked(const std::string& records, std::string& error);
    bool TruncateLocked(std::string& error);
    bool RewriteLocked(std::string& error);
    void CloseFileLocked();
    void Failed(const std::string& error);
    void Recovered();

    mutable std::mutex mutex_;
    std::string path_;
    bool usable_ = false;  // false before Open, and when a file that could not be read stays
    int fd_ = -1;
    size_t fileBytes_ = 0;
    size_t heldBytes_ = 0;
    bool rewriteOwed_ = false;
    uint64_t lastId_ = 0;
    std::map<uint64_t, Held> held_;
    int failedWrites_ = 0;
    CDiagLogSource log_{"Mail Outbox", "Mail Outbox log", 0};
};

}  // namespace corvane

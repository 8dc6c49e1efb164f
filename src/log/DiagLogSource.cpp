#include "log/DiagLogSource.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "log/DiagLogFile.h"
#include "platform/ProfileStore.h"

namespace corvane {
namespace {

// Never destroyed, so sources that outlive static destruction can still unlink.
std::mutex& ListMutex() {
    static std::mutex* mutex = new std::mutex;
    return *mutex;
}

size_t RenderHex(char* out, size_t room, const uint8_t* bytes, size_t count) {
    if (room == 0) {
        return 0;
    }
    size_t n = count;
    bool dots = false;
    if (3 * count >= room) {
        n = room > 4 ? (room - 4) / 3 : 0;
        dots = room > 4;
    }
    static const char digits[] = "0123456789abcdef";
    size_t used = 0;
    for (size_t i = 0; i < n; ++i) {
        out[used++] = ' ';
        out[used++] = digits[bytes[i] >> 4];
        out[used++] = digits[bytes[i] & 0x0F];
    }
    if (dots) {
        out[used++] = '.';
        out[used++] = '.';
        out[used++] = '.';
    }
    out[used] = '\0';
    return used;
}

size_t RenderText(char* out, size_t room, const uint8_t* bytes, size_t count) {
    if (room <= 5) {
        if (room > 0) {
            out[0] = '\0';
        }
        return 0;
    }
    static const char digits[] = "0123456789abcdef";
    size_t used = 0;
    out[used++] = '"';
    size_t i = 0;
    // A byte takes at most four characters; the closing quote, dots and end must still fit.
    for (; i < count && room - used > 8; ++i) {
        const uint8_t c = bytes[i];
        const char* escape = nullptr;
        switch (c) {
            case '\t':
                escape = "\\t";
                break;
            case '\n':
                escape = "\\n";
                break;
            case '\f':
                escape = "\\f";
                break;
            case '\r':
                escape = "\\r";
                break;
            case '"':
                escape = "\\\"";
                break;
            case '\\':
                escape = "\\\\";
                break;
            default:
                break;
        }
        if (escape != nullptr) {
            out[used++] = escape[0];
            out[used++] = escape[1];
        } else if (c >= 0x20 && c < 0x7F) {
            out[used++] = static_cast<char>(c);
        } else {
            out[used++] = '\\';
            out[used++] = 'x';
            out[used++] = digits[c >> 4];
            out[used++] = digits[c & 0x0F];
        }
    }
    out[used++] = '"';
    if (i < count) {
        out[used++] = '.';
        out[used++] = '.';
        out[used++] = '.';
    }
    out[used] = '\0';
    return used;
}

}  // namespace

CDiagLogSource* CDiagLogSource::head_ = nullptr;
bool CDiagLogSource::started_ = false;

CDiagLogSource::ListLock::ListLock() {
    ListMutex().lock();
}
CDiagLogSource::ListLock::~ListLock() {
    ListMutex().unlock();
}

CDiagLogSource::CDiagLogSource() {
    Register();
}

CDiagLogSource::CDiagLogSource(const std::string& name, const std::string& description,
                               int defaultLevel, bool dumpAsText) {
    Init(name, description, defaultLevel, dumpAsText);
    Register();
}

CDiagLogSource::~CDiagLogSource() {
    Unregister();
}

void CDiagLogSource::Init(const std::string& name, const std::string& description, int defaultLevel,
                          bool dumpAsText) {
    name_ = name;
    description_ = description;
    defaultLevel_ = defaultLevel < 0 ? 0 : defaultLevel;
    dumpAsText_ = dumpAsText;
    if (!name_.empty()) {
        level_ = defaultLevel_;
    }
    bool started = false;
    {
        ListLock lock;
        started = started_ && registered_;
    }
    if (started) {
        LoadLevel();
    }
}

void CDiagLogSource::Register() {
    bool started = false;
    {
        ListLock lock;
        next_ = head_;
        head_ = this;
        registered_ = true;
        started = started_;
    }
    if (started) {
        LoadLevel();
    }
}

void CDiagLogSource::Unregister() {
    ListLock lock;
    for (CDiagLogSource** link = &head_; *link != nullptr; link = &(*link)->next_) {
        if (*link == this) {
            *link = next_;
            break;
        }
    }
    registered_ = false;
}

bool CDiagLogSource::IsRegistered(const CDiagLogSource* source) {
    for (const CDiagLogSource* s = head_; s != nullptr; s = s->next_) {
        if (s == source) {
            return true;
        }
    }
    return false;
}

void CDiagLogSource::SetLevel(int level) {
    level_ = level < 0 ? defaultLevel_ : level;
}

void CDiagLogSource::LoadLevel() {
    if (name_.empty()) {
        return;
    }
    const int stored = Profile().GetProfileInt(kLevelSection, name_, defaultLevel_);
    if (stored >= 0) {
        level_ = stored;
    }
}

void CDiagLogSource::SaveLevel() const {
    if (!name_.empty()) {
        Profile().WriteProfileInt(kLevelSection, name_, Level());
    }
}

void CDiagLogSource::Printf(int level, const char* format, ...) const {
    if (!IsOn(level)) {
        return;
    }
    va_list args;
    va_start(args, format);
    DiagLogFile().WriteLine(name_, [&](char* out, size_t room) -> size_t {
        const int n = std::vsnprintf(out, room, format, args);
        return n < 0 ? 0 : std::min(static_cast<size_t>(n), room - 1);
    });
    va_end(args);
}

void CDiagLogSource::DumpAs(bool text, int level, const char* label, const void* bytes,
                            size_t count) const {
    if (!IsOn(level)) {
        return;
    }
    const auto* data = static_cast<const uint8_t*>(bytes);
    DiagLogFile().WriteLine(name_, [&](char* out, size_t room) -> size_t {
        const int n = std::snprintf(out, room, "%s ", label != nullptr ? label : "");
        const size_t used = n < 0 ? 0 : std::min(static_cast<size_t>(n), room - 1);
        if (data == nullptr && count > 0) {
            return used;
        }
        return used + (text ? RenderText(out + used, room - used, data, count)
                            : RenderHex(out + used, room - used, data, count));
    });
}

void CDiagLogSource::Dump(int level, const char* label, const void* bytes, size_t count) const {
    DumpAs(dumpAsText_, level, label, bytes, count);
}

void CDiagLogSource::DumpText(int level, const char* label, const void* bytes, size_t count) const {
    DumpAs(true, level, label, bytes, count);
}

void CDiagLogSource::DumpHex(int level, const char* label, const void* bytes, size_t count) const {
    DumpAs(false, level, label, bytes, count);
}

}  // namespace corvane

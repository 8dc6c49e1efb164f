#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace corvane {

// A named log source with a level; a line is written when the source's level is at least
// the line's level. Every component owns one. Printf is the one logging call of the program.
class CDiagLogSource {
public:
    CDiagLogSource();
    CDiagLogSource(const std::string& name, const std::string& description, int defaultLevel,
                   bool dumpAsText = false);
    ~CDiagLogSource();
    CDiagLogSource(const CDiagLogSource&) = delete;
    CDiagLogSource& operator=(const CDiagLogSource&) = delete;

    void Init(const std::string& name, const std::string& description, int defaultLevel,
              bool dumpAsText = false);

    const std::string& Name() const { return name_; }
    const std::string& Description() const { return description_; }
    int Level() const { return level_.load(std::memory_order_relaxed); }
    int DefaultLevel() const { return defaultLevel_; }

    // A negative level restores the default.
    void SetLevel(int level);
    void LoadLevel();
    void SaveLevel() const;

    bool IsOn(int level) const { return Level() >= level && !name_.empty(); }

    void Printf(int level, const char* format, ...) const __attribute__((format(printf, 3, 4)));
    void Dump(int level, const char* label, const void* bytes, size_t count) const;
    void DumpText(int level, const char* label, const void* bytes, size_t count) const;
    void DumpHex(int level, const char* label, const void* bytes, size_t count) const;

    // Whether the source is still registered; the caller holds the list lock.
    static bool IsRegistered(const CDiagLogSource* source);

    // Calls f for every registered source, newest first, under the list lock.
    template <typename F>
    static void ForEach(F f) {
        ListLock lock;
        for (CDiagLogSource* s = head_; s != nullptr; s = s->next_) {
            f(*s);
        }
    }

    // Holds the global source list lock.
    class ListLock {
    public:
        ListLock();
        ~ListLock();
        ListLock(const ListLock&) = delete;
        ListLock& operator=(const ListLock&) = delete;
    };

    static constexpr const char* kLevelSection = "Diagnostic Log - Log Levels";

private:
    friend void StartDiagLog();
    friend void StopDiagLog();
    void Register();
    void Unregister();
    void DumpAs(bool text, int level, const char* label, const void* bytes, size_t count) const;

    std::string name_;
    std::string description_;
    std::atomic<int> level_{0};
    int defaultLevel_ = 0;
    bool dumpAsText_ = false;
    CDiagLogSource* next_ = nullptr;
    bool registered_ = false;

    static CDiagLogSource* head_;
    static bool started_;  // guarded by the list lock
};

}  // namespace corvane

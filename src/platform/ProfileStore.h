#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ProfileText.h"

namespace corvane {

// The program's settings store, in place of the registry: one INI file, one "[section]"
// per registry subkey. The typed accessor decides how a value reads. Every write is saved
// at once (atomically, mode 0600) unless a Batch is open, which saves once when it closes.
// One instance serves every thread.
class CProfileStore {
public:
    CProfileStore() = default;
    CProfileStore(const CProfileStore&) = delete;
    CProfileStore& operator=(const CProfileStore&) = delete;

    // Binds the store to a file and reads it; an empty path keeps the profile in memory only.
    // A missing file is an empty profile. A file that is there but cannot be read (or is
    // larger than kMaxFileBytes) leaves the profile empty and returns false; it is then never
    // written over: the profile lives in memory and every save fails. Problems are kept for
    // TakeProblems.
    bool Load(const std::string& path);
    std::string Path() const;
    // The file could not be read and is left as it was found.
    bool IsFileKept() const;

    int GetProfileInt(const std::string& section, const std::string& entry, int def) const;
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& def = {}) const;
    bool GetProfileBinary(const std::string& section, const std::string& entry,
                          std::vector<uint8_t>& bytes) const;
    bool HasEntry(const std::string& section, const std::string& entry) const;

    // False when the value could not be saved to the file.
    bool WriteProfileInt(const std::string& section, const std::string& entry, int value);
    bool WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& value);
    bool WriteProfileBinary(const std::string& section, const std::string& entry,
                            const std::vector<uint8_t>& bytes);

    bool Save();

    // What went wrong while reading or saving, oldest first; the list is emptied.
    std::vector<std::string> TakeProblems();

    // Defers saving: writes inside a batch are saved once, when the last batch closes.
    class Batch {
    public:
        explicit Batch(CProfileStore& store);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        // Ends the batch; false when the save failed. Called by the destructor if not before.
        bool Close();

    private:
        CProfileStore* store_;
    };

    static constexpr size_t kMaxFileBytes = 4 * 1024 * 1024;

private:
    bool WriteRaw(const std::string& section, const std::string& entry, std::string value);
    const std::string* Find(const std::string& section, const std::string& entry) const;
    bool SaveLocked();
    // Load found a file it cannot use: it stays as it is.
    bool KeepFile(std::string problem);
    void Problem(std::string text) const;

    mutable std::mutex mutex_;
    std::string path_;
    ProfileData data_;
    int batchDepth_ = 0;
    bool dirty_ = false;
    bool fileKept_ = false;
    mutable std::vector<std::string> problems_;
};

// The program's one profile.
CProfileStore& Profile();

// "$XDG_CONFIG_HOME/Qelvo/vorlin.ini", else "$HOME/.config/Qelvo/vorlin.ini".
std::string DefaultProfilePath();

}  // namespace corvane

#pragma once

#include <sqlite3.h>

#include <atomic>
#include <cstring>

namespace corvane::testing {

// An SQLite file system that hands everything to the default one, but fails every write
// with SQLITE_FULL while armed, as a full disk does. It is the default file system for its
// lifetime, so that the connections opened meanwhile use it. One at a time.
class FailingVfs {
public:
    FailingVfs() {
        real_ = sqlite3_vfs_find(nullptr);
        vfs_.iVersion = 2;
        vfs_.szOsFile = static_cast<int>(sizeof(File)) + real_->szOsFile;
        vfs_.mxPathname = real_->mxPathname;
        vfs_.zName = "corvane-failing";
        vfs_.pAppData = real_;
        vfs_.xOpen = &Open;
        vfs_.xDelete = [](sqlite3_vfs* v, const char* name, int syncDir) {
            return Real(v)->xDelete(Real(v), name, syncDir);
        };
        vfs_.xAccess = [](sqlite3_vfs* v, const char* name, int flags, int* out) {
            return Real(v)->xAccess(Real(v), name, flags, out);
        };
        vfs_.xFullPathname = [](sqlite3_vfs* v, const char* name, int size, char* out) {
            return Real(v)->xFullPathname(Real(v), name, size, out);
        };
        vfs_.xDlOpen = [](sqlite3_vfs* v, const char* name) {
            return Real(v)->xDlOpen(Real(v), name);
        };
        vfs_.xDlError = [](sqlite3_vfs* v, int size, char* out) {
            Real(v)->xDlError(Real(v), size, out);
        };
        vfs_.xDlSym = [](sqlite3_vfs* v, void* handle, const char* symbol) {
            return Real(v)->xDlSym(Real(v), handle, symbol);
        };
        vfs_.xDlClose = [](sqlite3_vfs* v, void* handle) { Real(v)->xDlClose(Real(v), handle); };
        vfs_.xRandomness = [](sqlite3_vfs* v, int size, char* out) {
            return Real(v)->xRandomness(Real(v), size, out);
        };
        vfs_.xSleep = [](sqlite3_vfs* v, int us) { return Real(v)->xSleep(Real(v), us); };
        vfs_.xCurrentTime = [](sqlite3_vfs* v, double* out) {
            return Real(v)->xCurrentTime(Real(v), out);
        };
        vfs_.xGetLastError = [](sqlite3_vfs* v, int size, char* out) {
            return Real(v)->xGetLastError(Real(v), size, out);
        };
        vfs_.xCurrentTimeInt64 = [](sqlite3_vfs* v, sqlite3_int64* out) {
            return Real(v)->xCurrentTimeInt64(Real(v), out);
        };
        sqlite3_vfs_register(&vfs_, 1);
    }
    ~FailingVfs() {
        sqlite3_vfs_unregister(&vfs_);
        sqlite3_vfs_register(real_, 1);
        failing_ = false;
    }
    FailingVfs(const FailingVfs&) = delete;
    FailingVfs& operator=(const FailingVfs&) = delete;

    void FailWrites(bool on) { failing_ = on; }

private:
    // The real file lies right behind this one.
    struct File {
        sqlite3_file base;
        sqlite3_file* real;
    };

    static inline std::atomic<bool> failing_{false};

    static sqlite3_vfs* Real(sqlite3_vfs* v) { return static_cast<sqlite3_vfs*>(v->pAppData); }
    static sqlite3_file* R(sqlite3_file* f) { return reinterpret_cast<File*>(f)->real; }

    static int Open(sqlite3_vfs* v, const char* name, sqlite3_file* f, int flags, int* outFlags) {
        File* file = reinterpret_cast<File*>(f);
        file->real = reinterpret_cast<sqlite3_file*>(file + 1);
        std::memset(file->real, 0, static_cast<size_t>(Real(v)->szOsFile));
        const int rc = Real(v)->xOpen(Real(v), name, file->real, flags, outFlags);
        file->base.pMethods = file->real->pMethods != nullptr ? &kMethods : nullptr;
        return rc;
    }

    static constexpr sqlite3_io_methods kMethods = {
        3,
        [](sqlite3_file* f) { return R(f)->pMethods->xClose(R(f)); },
        [](sqlite3_file* f, void* out, int n, sqlite3_int64 at) {
            return R(f)->pMethods->xRead(R(f), out, n, at);
        },
        [](sqlite3_file* f, const void* in, int n, sqlite3_int64 at) {
            return failing_ ? SQLITE_FULL : R(f)->pMethods->xWrite(R(f), in, n, at);
        },
        [](sqlite3_file* f, sqlite3_int64 size) {
            return failing_ ? SQLITE_FULL : R(f)->pMethods->xTruncate(R(f), size);
        },
        [](sqlite3_file* f, int flags) { return R(f)->pMethods->xSync(R(f), flags); },
        [](sqlite3_file* f, sqlite3_int64* size) { return R(f)->pMethods->xFileSize(R(f), size); },
        [](sqlite3_file* f, int level) { return R(f)->pMethods->xLock(R(f), level); },
        [](sqlite3_file* f, int level) { return R(f)->pMethods->xUnlock(R(f), level); },
        [](sqlite3_file* f, int* out) { return R(f)->pMethods->xCheckReservedLock(R(f), out); },
        [](sqlite3_file* f, int op, void* arg) {
            return R(f)->pMethods->xFileControl(R(f), op, arg);
        },
        [](sqlite3_file* f) { return R(f)->pMethods->xSectorSize(R(f)); },
        [](sqlite3_file* f) { return R(f)->pMethods->xDeviceCharacteristics(R(f)); },
        [](sqlite3_file* f, int page, int size, int extend, void volatile** out) {
            return R(f)->pMethods->xShmMap(R(f), page, size, extend, out);
        },
        [](sqlite3_file* f, int offset, int n, int flags) {
            return R(f)->pMethods->xShmLock(R(f), offset, n, flags);
        },
        [](sqlite3_file* f) { R(f)->pMethods->xShmBarrier(R(f)); },
        [](sqlite3_file* f, int deleteFlag) { return R(f)->pMethods->xShmUnmap(R(f), deleteFlag); },
        // No memory-mapped pages: every write goes through xWrite.
        [](sqlite3_file*, sqlite3_int64, int, void** out) {
            *out = nullptr;
            return SQLITE_OK;
        },
        [](sqlite3_file*, sqlite3_int64, void*) { return SQLITE_OK; },
    };

    sqlite3_vfs vfs_{};
    sqlite3_vfs* real_ = nullptr;
};

}  // namespace corvane::testing

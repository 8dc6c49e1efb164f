#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

#include "fakes/ManualClock.h"
#include "fakes/RecordingUiBridge.h"
#include "fakes/TempDir.h"
#include "platform/FileSystem.h"
#include "platform/ProfileStore.h"
#include "settings/AppSettings.h"
#include "store/DatabaseFiles.h"
#include "store/VorlinDatabase.h"

namespace corvane::testing {

// Plain SQLite access, to see the file as any other reader of it would.
class RawDb {
public:
    explicit RawDb(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) != SQLITE_OK) {
            ADD_FAILURE() << "cannot open " << path;
        }
    }
    ~RawDb() { sqlite3_close_v2(db_); }
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;

    // Rows of text cells; a null cell reads "NULL".
    std::vector<std::vector<std::string>> Query(const std::string& sql) {
        std::vector<std::vector<std::string>> rows;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
            return rows;
        }
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                const auto* text = sqlite3_column_text(stmt, c);
                row.push_back(text ? reinterpret_cast<const char*>(text) : "NULL");
            }
            rows.push_back(std::move(row));
        }
        if (rc != SQLITE_DONE) {
            ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
        }
        sqlite3_finalize(stmt);
        return rows;
    }
    std::string One(const std::string& sql) {
        const auto rows = Query(sql);
        return rows.empty() || rows[0].empty() ? "<none>" : rows[0][0];
    }
    void Exec(const std::string& sql) {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            ADD_FAILURE() << sql << ": " << (error ? error : "?");
        }
        sqlite3_free(error);
    }

private:
    sqlite3* db_ = nullptr;
};

// A database folder in a temporary tree, an in-memory profile, default settings, a manual
// clock and a recording user interface.
class StoreTest : public ::testing::Test {
protected:
    StoreTest() {
        profile.Load("");
        std::string error;
        MakeDirectories(Dir(), 0755, error);
    }
    std::string Dir() const { return (tmp.Path() / "database").string(); }
    std::string DbPath() const { return Dir() + "/vorlin.mdb"; }
    std::unique_ptr<CVorlinDatabase> MakeStore() {
        return std::make_unique<CVorlinDatabase>(profile, settings, clock, dbaseLog, DbPath());
    }
    // A created and opened store.
    std::unique_ptr<CVorlinDatabase> OpenStore() {
        auto store = MakeStore();
        EXPECT_TRUE(store->OpenDatabase()) << Errors();
        return store;
    }
    std::string Errors() const {
        std::string all;
        for (const auto& e : ui.DatabaseErrors()) {
            all += e + "\n";
        }
        for (const auto& b : ui.Boxes()) {
            all += b.text + "\n";
        }
        return all;
    }

    TempDir tmp;
    CProfileStore profile;
    SharedSettings settings;
    ManualClock clock{LocalWall(2024, 5, 6, 7, 8, 9)};
    RecordingUiBridge ui;
    CDiagLogSource dbaseLog{"Dbase", "Database log", 1};
};

}  // namespace corvane::testing

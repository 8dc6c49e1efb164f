// The database file taken away from under the running document: removed, or replaced by
// another database file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "fakes/SupervisionRig.h"
#include "store/StoreFixture.h"
#include "store/VorlinDatabase.h"

namespace corvane {
namespace {

using testing::RawDb;
using testing::RigLog;
using testing::SupervisionRig;

size_t MovedFileNotices(const testing::RecordingUiBridge& ui) {
    size_t notices = 0;
    for (const auto& box : ui.Boxes()) {
        if (box.text.find("was removed or replaced while Corvane was using it") !=
            std::string::npos) {
            EXPECT_TRUE(box.posted) << "a box shown from inside the tick";
            ++notices;
        }
    }
    return notices;
}

// A database of its own, with one intercom row to know it by.
void MakeReplacement(SupervisionRig& rig, const std::string& path) {
    const CDiagLogSource quiet;
    CVorlinDatabase other(rig.profile, rig.settings, rig.clock, quiet, path);
    ASSERT_TRUE(other.OpenDatabase());
    other.CloseDatabase();
    RawDb(path).Exec(
        "INSERT INTO Intercoms (IntercomIndex, IntercomName) VALUES (1, 'Replacement')");
}

TEST(DatabaseFile, TakenAwayUnderTheDocumentItIsToldOnceAndTheNextStartReadsNoStaleWal) {
    struct Case {
        const char* name;
        bool replaced;  // else removed
        const char* intercomsAfter;
    };
    for (const Case c : {Case{"removed", false, "NULL"}, Case{"replaced", true, "Replacement"}}) {
        SCOPED_TRACE(c.name);
        SupervisionRig rig;
        RigLog log(rig);
        const std::string path = (rig.tree.Root() / "database/vorlin.mdb").string();
        const std::string replacement = (rig.tree.Root() / "replacement.mdb").string();
        if (c.replaced) {
            MakeReplacement(rig, replacement);
        }
        int defined = 0;
        for (const auto& trunk : rig.model.Network().trunks) {
            defined += trunk.defined ? 1 : 0;
        }

        CVorlinDoc& doc = rig.Start();
        ASSERT_TRUE(rig.started);
        {
            RawDb db(path);
            ASSERT_TRUE(rig.TickUntil(
                [&] { return db.One("SELECT count(*) FROM Trunks") == std::to_string(defined); }));
        }
        EXPECT_EQ(MovedFileNotices(rig.ui), 0u);

        if (c.replaced) {
            ASSERT_EQ(std::rename(replacement.c_str(), path.c_str()), 0);
        } else {
            ASSERT_EQ(::unlink(path.c_str()), 0);
        }
        ASSERT_TRUE(rig.TickUntil([&] { return MovedFileNotices(rig.ui) > 0; }));
        // Supervision goes on, and the operator hears of it once.
        rig.model.SetCommStatus(2, 0x01);
        for (int i = 0; i < 100; ++i) {
            rig.clock.Advance(std::chrono::milliseconds(100));
            doc.OnSupervisionTick();
        }
        EXPECT_EQ(MovedFileNotices(rig.ui), 1u);
        EXPECT_TRUE(doc.IsReady());
        EXPECT_TRUE(rig.ui.DatabaseErrors().empty());
        doc.OnCloseDocument();
        const std::string text = log.Text();
        EXPECT_NE(text.find(" Dbase The database file ../database/vorlin.mdb was removed or "
                            "replaced while open"),
                  std::string::npos)
            << text;

        // Nothing of the last run's WAL reaches the file the next start opens.
        rig.Start();
        ASSERT_TRUE(rig.started);
        RawDb db(path);
        EXPECT_EQ(db.One("PRAGMA integrity_check"), "ok");
        EXPECT_EQ(db.One("SELECT count(*) FROM Trunks"), "0");
        EXPECT_EQ(db.One("SELECT group_concat(IntercomName) FROM Intercoms"), c.intercomsAfter);
        rig.doc->OnCloseDocument();
    }
}

}  // namespace
}  // namespace corvane

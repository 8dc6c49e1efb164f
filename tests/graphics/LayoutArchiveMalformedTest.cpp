#include <gtest/gtest.h>

#include <functional>

#include "LayoutFixtures.h"
#include "graphics/LayoutArchive.h"

namespace corvane {
namespace {

using testing::ArchiveBytes;

// A visible intercom of the given number at the origin, of a class not yet read.
ArchiveBytes& NewIntercom(ArchiveBytes& b, int32_t number) {
    return b.NewClass("CIcomObj").Int(1).Rect(0, 0, 32, 32).Int(number).Int(0).Int(0);
}

ArchiveBytes& NoTrunkSets(ArchiveBytes& b) {
    return b.Word(0).Int(0);
}

struct BadFile {
    const char* name;
    std::function<void(ArchiveBytes&)> build;
    const char* error;
};

const BadFile kBadFiles[] = {
    {"empty file", [](ArchiveBytes&) {}, "ends early"},
    {"cut inside a list", [](ArchiveBytes& b) { b.EmptyLayoutList().Word(0); }, "ends early"},
    {"unknown class", [](ArchiveBytes& b) { b.Word(1).NewClass("CRectObj").Int(1); },
     "unknown class"},
    {"schema other than 0",
     [](ArchiveBytes& b) { b.Word(1).Word(0xFFFF).Word(1).Word(8).Raw("CIcomObj"); },
     "unknown schema"},
    {"class name of 64 bytes",
     [](ArchiveBytes& b) { b.Word(1).Word(0xFFFF).Word(0).Word(64).Raw(std::string(64, 'C')); },
     "too long"},
    {"caption in the intercom list", [](ArchiveBytes& b) { b.Word(1).NewClass("CIcomCaption"); },
     "a CIcomCaption where a CIcomObj belongs"},
    {"object index beyond those read", [](ArchiveBytes& b) { b.Word(1).Word(5); },
     "object index 5"},
    {"long object index beyond those read",
     [](ArchiveBytes& b) { b.Word(1).Word(0x7FFF).Dword(0x7FFFFFFF); }, "object index"},
    {"class index beyond those read", [](ArchiveBytes& b) { b.Word(1).Word(0x8003); },
     "class index 3"},
    {"class index 0", [](ArchiveBytes& b) { b.Word(1).Word(0x8000); }, "class index 0"},
    {"class index that is an object",
     [](ArchiveBytes& b) { NoTrunkSets(NewIntercom(b.Word(2), 1).Word(0)).Word(0x8002); },
     "class index 2"},
    {"back reference of the wrong class",
     [](ArchiveBytes& b) { NewIntercom(b.Word(1), 1).Word(2); },
     "a reference to a CIcomObj where a CIcomCaption belongs"},
    {"empty entry in a layout list", [](ArchiveBytes& b) { b.Word(1).Word(0); },
     "empty entry in a list"},
    {"object twice in the lists",
     [](ArchiveBytes& b) { NoTrunkSets(NewIntercom(b.Word(2), 1).Word(0)).Word(2).Int(1); },
     "stands twice"},
    {"layout list that does not own", [](ArchiveBytes& b) { b.Word(0).Int(0); }, "does not own"},
    {"trunk-set list that owns",
     [](ArchiveBytes& b) { NewIntercom(b.Word(1), 1).Word(0).Word(0).Int(1); },
     "owns its trunk sets"},
    {"empty entry in a trunk-set list",
     [](ArchiveBytes& b) { NewIntercom(b.Word(1), 1).Word(0).Word(1).Word(0); },
     "empty entry in an intercom's trunk sets"},
    {"object in no list",
     [](ArchiveBytes& b) {
         NewIntercom(b.Word(1), 1).NewClass("CIcomCaption").Int(1).Rect(0, 0, 1, 1).ShortText("x");
         NoTrunkSets(b.Word(2)).Int(1);
         b.EmptyLayoutList().EmptyLayoutList().EmptyLayoutList();
     },
     "in none of the layout's lists"},
    {"caption of another intercom",
     [](ArchiveBytes& b) {
         // A (2) with caption C (4) owned by A; B (5) names C as its caption too.
         NewIntercom(b.Word(2), 1).NewClass("CIcomCaption").Int(1).Rect(0, 0, 1, 1).ShortText("x");
         NoTrunkSets(b.Word(2));
         b.Word(0x8001).Int(1).Rect(0, 0, 32, 32).Int(2).Int(0).Int(0).Word(4);
         NoTrunkSets(b).Int(1).EmptyLayoutList().Word(1).Word(4).Int(1).EmptyLayoutList();
     },
     "belongs to another object"},
    {"caption whose owner has none",
     [](ArchiveBytes& b) {
         NoTrunkSets(NewIntercom(b.Word(1), 1).Word(0)).Int(1).EmptyLayoutList();
         b.Word(1).NewClass("CIcomCaption").Int(1).Rect(0, 0, 1, 1).ShortText("x").Word(2);
         b.Int(1).EmptyLayoutList();
     },
     "whose owner has another caption"},
    {"trunk set missing from one end's list",
     [](ArchiveBytes& b) {
         // A (2) lists T (4), whose ends are A and B (5); B lists nothing.
         NewIntercom(b.Word(2), 1).Word(0).Word(1);
         b.NewClass("CTrunkSetObj").Int(1).Rect(16, 16, 116, 16).Int(0x0102).Int(1).Int(0).Int(0);
         b.Word(0).Word(0).Word(0).Word(2);
         b.Word(0x8001).Int(1).Rect(100, 0, 132, 32).Int(2).Int(0).Int(0).Word(0);
         NoTrunkSets(b);
         b.Int(0).Int(100).Int(-1600).Int(0).Int(10000).Int(10000);
         b.Int(0).Word(5).Int(1).Word(1).Word(4).Int(1).EmptyLayoutList().EmptyLayoutList();
     },
     "not listed at exactly its two ends"},
    {"coordinate out of range",
     [](ArchiveBytes& b) { b.Word(1).NewClass("CIcomObj").Int(1).Rect(0, 0, 1 << 29, 32); },
     "out of range"},
    {"list longer than the file", [](ArchiveBytes& b) { b.Word(0xFFFF).Dword(0x7FFFFFFF).Word(0); },
     "a list of"},
    {"text longer than the file",
     [](ArchiveBytes& b) {
         b.EmptyLayoutList()
             .EmptyLayoutList()
             .Word(1)
             .NewClass("CIcomCaption")
             .Int(1)
             .Rect(0, 0, 1, 1);
         b.Byte(0xFF).Word(0xFFFF).Dword(0xFFFFFFF0).Raw("abc");
     },
     "longer than the rest of the file"},
    {"unicode text longer than the file",
     [](ArchiveBytes& b) {
         b.EmptyLayoutList()
             .EmptyLayoutList()
             .Word(1)
             .NewClass("CIcomCaption")
             .Int(1)
             .Rect(0, 0, 1, 1);
         b.Byte(0xFF).Word(0xFFFE).Byte(3).Raw(std::string_view("a\0b\0", 4));
     },
     "longer than the rest of the file"},
    {"bytes after the last list",
     [](ArchiveBytes& b) {
         for (int i = 0; i < 4; ++i) {
             b.EmptyLayoutList();
         }
         b.Byte(0);
     },
     "1 bytes after the last list"},
    {"objects nested too deeply",
     [](ArchiveBytes& b) {
         // Each intercom's caption names a new intercom as its owner, and so on.
         b.Word(1);
         NewIntercom(b, 1).NewClass("CIcomCaption").Int(1).Rect(0, 0, 1, 1).ShortText("");
         for (int i = 0; i < static_cast<int>(kMaxLayoutNesting); ++i) {
             b.Word(0x8001).Int(1).Rect(0, 0, 32, 32).Int(i).Int(0).Int(0);
             b.Word(0x8003).Int(1).Rect(0, 0, 1, 1).ShortText("");
         }
     },
     "nested too deeply"},
};

TEST(LayoutArchiveMalformedTest, DamagedFilesAreRefusedWithTheirReason) {
    for (const BadFile& bad : kBadFiles) {
        ArchiveBytes bytes;
        bad.build(bytes);
        CGraphicLayout layout;
        layout.AddIntercom(9, {0, 0}, "kept?");
        std::string error;
        EXPECT_FALSE(ReadLayoutArchive(bytes.Span(), layout, error)) << bad.name;
        EXPECT_NE(error.find(bad.error), std::string::npos) << bad.name << ": " << error;
        EXPECT_NE(error.find("at byte"), std::string::npos) << bad.name;
        EXPECT_TRUE(layout.Intercoms().IsEmpty()) << bad.name;
        EXPECT_TRUE(layout.IntercomCaptions().IsEmpty()) << bad.name;
    }
}

TEST(LayoutArchiveMalformedTest, MoreObjectsThanALayoutHoldsAreRefused) {
    ArchiveBytes bytes;
    bytes.EmptyLayoutList().EmptyLayoutList().EmptyLayoutList();
    const uint32_t count = kMaxLayoutObjects + 1;
    bytes.Word(0xFFFF).Dword(count);
    bytes.NewClass("CTrunkSetCaption").Int(1).Rect(0, 0, 1, 1).ShortText("").Word(0);
    for (uint32_t i = 1; i < count; ++i) {
        bytes.Word(0x8001).Int(1).Rect(0, 0, 1, 1).ShortText("").Word(0);
    }
    bytes.Int(1);
    CGraphicLayout layout;
    std::string error;
    EXPECT_FALSE(ReadLayoutArchive(bytes.Span(), layout, error));
    EXPECT_NE(error.find("more objects than a layout holds"), std::string::npos) << error;
}

class DamagedCopies : public ::testing::Test {
protected:
    DamagedCopies() {
        CGraphicLayout layout;
        CIcomObj& a = layout.AddIntercom(1, {50, 50}, "North");
        CIcomObj& b = layout.AddIntercom(2, {250, 50}, "South");
        CIcomObj& c = layout.AddIntercom(3, {150, 200}, "East");
        layout.AddTrunkSet(a, b, {10, 3, 0, 2, 0});
        layout.AddTrunkSet(b, c, {4, 0, 0, 0, 0});
        layout.AddTrunkSet(a, c, {0, 0, 0, 0, 0});
        std::string error;
        EXPECT_TRUE(WriteLayoutArchive(layout, good, error));
    }

    // Whether the bytes read; a failure must leave nothing behind.
    static bool Reads(const std::string& bytes) {
        CGraphicLayout layout;
        std::string error;
        const bool ok = ReadLayoutArchive(
            std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), layout, error);
        if (!ok) {
            EXPECT_FALSE(error.empty());
            EXPECT_TRUE(layout.Intercoms().IsEmpty() && layout.TrunkSets().IsEmpty() &&
                        layout.IntercomCaptions().IsEmpty() && layout.TrunkSetCaptions().IsEmpty());
        }
        return ok;
    }

    std::string good;
};

TEST_F(DamagedCopies, EveryCutShortCopyIsRefused) {
    ASSERT_TRUE(Reads(good));
    for (size_t length = 0; length < good.size(); ++length) {
        EXPECT_FALSE(Reads(good.substr(0, length))) << length;
    }
}

TEST_F(DamagedCopies, ChangedBytesNeverBreakTheReader) {
    // Whatever they make of the file, reading ends in a layout or a reason.
    for (size_t at = 0; at < good.size(); ++at) {
        for (const char value : {'\x00', '\x01', '\x7F', '\x80', '\xFF'}) {
            std::string copy = good;
            copy[at] = value;
            Reads(copy);
        }
    }
}

}  // namespace
}  // namespace corvane

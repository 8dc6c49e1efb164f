#include <gtest/gtest.h>

#include "LayoutFixtures.h"
#include "graphics/LayoutArchive.h"

namespace corvane {
namespace {

using testing::ArchiveBytes;
using testing::DescribeLayout;
using testing::ToBytes;

std::vector<uint8_t> Write(const CGraphicLayout& layout) {
    std::string bytes;
    std::string error;
    EXPECT_TRUE(WriteLayoutArchive(layout, bytes, error)) << error;
    return ToBytes(bytes);
}

// Reads the bytes and checks that they describe the same objects as the expected layout.
void ExpectReadsAs(const ArchiveBytes& bytes, const CGraphicLayout& expected) {
    CGraphicLayout read;
    std::string error;
    ASSERT_TRUE(ReadLayoutArchive(bytes.Span(), read, error)) << error;
    EXPECT_EQ(DescribeLayout(read), DescribeLayout(expected));
}

TEST(LayoutArchiveFormatTest, AnEmptyLayoutIs24Bytes) {
    ArchiveBytes expected;
    for (int list = 0; list < 4; ++list) {
        expected.EmptyLayoutList();
    }
    ASSERT_EQ(expected.Bytes().size(), 24u);
    EXPECT_EQ(Write(CGraphicLayout()), expected.Bytes());
    ExpectReadsAs(expected, CGraphicLayout());
}

TEST(LayoutArchiveFormatTest, OneIntercomWritesItsCaptionInsideItself) {
    CGraphicLayout layout;
    CIcomObj& intercom = layout.AddIntercom(7, {100, 50}, "North");
    intercom.SetOnline(true);

    ArchiveBytes expected;
    expected
        .Word(1)               // list 1: one entry
        .NewClass("CIcomObj")  // class 1, object 2
        .Int(1)
        .Rect(84, 34, 116, 66)  // visible, box
        .Int(7)
        .Int(0)
        .Int(1)                    // number, remote mark, online
        .NewClass("CIcomCaption")  // class 3, object 4
        .Int(1)
        .Rect(95, 77, 105, 87)  // visible, rectangle
        .ShortText(" North ")   //
        .Word(0x0002)           // owner: back to object 2
        .Word(0)
        .Int(0)             // the intercom's trunk sets, not owned
        .Int(1)             // list 1 owns
        .EmptyLayoutList()  // list 2
        .Word(1)
        .Word(0x0004)
        .Int(1)              // list 3: the caption again
        .EmptyLayoutList();  // list 4
    EXPECT_EQ(Write(layout), expected.Bytes());
    ExpectReadsAs(expected, layout);
}

// Two intercoms and the trunk set between them: the first list writes the whole picture.
class TwoIntercomsFixture : public ::testing::Test {
protected:
    TwoIntercomsFixture() {
        CIcomObj& north = layout.AddIntercom(1, {50, 50}, "North");
        CIcomObj& south = layout.AddIntercom(2, {150, 50}, "South");
        south.SetBaud9600Mark(true);
        layout.AddTrunkSet(north, south, {10, 3, 0, 2, 0});

        bytes
            .Word(2)
            // South first (the head): class 1, object 2.
            .NewClass("CIcomObj")
            .Int(1)
            .Rect(134, 34, 166, 66)
            .Int(2)
            .Int(1)
            .Int(0)
            // Its caption: class 3, object 4.
            .NewClass("CIcomCaption")
            .Int(1)
            .Rect(145, 77, 155, 87)
            .ShortText(" South ")
            .Word(2)
            // Its trunk sets: the set, class 5, object 6.
            .Word(1)
            .NewClass("CTrunkSetObj")
            .Int(1)
            .Rect(50, 50, 150, 50)
            .Int(0x0102)
            .Int(10)
            .Int(3)
            .Int(0)
            .Word(2)
            .Word(0)
            // The set's caption: class 7, object 8.
            .NewClass("CTrunkSetCaption")
            .Int(1)
            .Rect(95, 45, 105, 55)
            .ShortText(" 5 / 3 / 2 ")
            .Word(6)
            // First end North: a new object of class 1, object 9, with its caption (class 3,
            // object 10) and its trunk set, already written.
            .Word(0x8001)
            .Int(1)
            .Rect(34, 34, 66, 66)
            .Int(1)
            .Int(0)
            .Int(0)
            .Word(0x8003)
            .Int(1)
            .Rect(45, 77, 55, 87)
            .ShortText(" North ")
            .Word(9)
            .Word(1)
            .Word(6)
            .Int(0)
            // Second end South, then the line terms.
            .Word(2)
            .Int(0)
            .Int(100)
            .Int(-5000)
            .Int(0)
            .Int(10000)
            .Int(10000)
            .Int(0)   // South's trunk sets are not owned
            .Word(9)  // North, the second entry of list 1
            .Int(1)
            .Word(1)
            .Word(6)
            .Int(1)
            .Word(2)
            .Word(4)
            .Word(10)
            .Int(1)
            .Word(1)
            .Word(8)
            .Int(1);
    }

    CGraphicLayout layout;
    ArchiveBytes bytes;
};

TEST_F(TwoIntercomsFixture, WritesTheExactBytes) {
    EXPECT_EQ(Write(layout), bytes.Bytes());
}

TEST_F(TwoIntercomsFixture, ReadsBackTheSameObjects) {
    ExpectReadsAs(bytes, layout);
}

TEST_F(TwoIntercomsFixture, ReadObjectsAreDeselectedAndCaptionsWaitForMeasuring) {
    for (CGraphicObj* obj : layout.IntercomCaptions()) {
        layout.SelectObject(*obj);
    }
    CGraphicLayout read;
    std::string error;
    ASSERT_TRUE(ReadLayoutArchive(bytes.Span(), read, error)) << error;
    EXPECT_TRUE(read.Selection().IsEmpty());
    for (const CGraphicObjList* list : {&read.IntercomCaptions(), &read.TrunkSetCaptions()}) {
        for (const CGraphicObj* obj : *list) {
            EXPECT_FALSE(obj->IsSelected());
            EXPECT_TRUE(static_cast<const CCaptionObj*>(obj)->NeedsMeasuring());
        }
    }
    EXPECT_TRUE(read.NeedsLoading()) << "the flag is the file functions' to clear";
}

TEST(LayoutArchiveFormatTest, AnObjectFirstMetInALaterListIsWrittenThere) {
    // A caption without owner is reached only from its own list.
    ArchiveBytes bytes;
    bytes.EmptyLayoutList()
        .EmptyLayoutList()
        .Word(1)
        .NewClass("CIcomCaption")
        .Int(0)
        .Rect(1, 2, 3, 4)
        .ShortText(" lone ")
        .Word(0)
        .Int(1)
        .EmptyLayoutList();
    CGraphicLayout read;
    std::string error;
    ASSERT_TRUE(ReadLayoutArchive(bytes.Span(), read, error)) << error;
    ASSERT_EQ(read.IntercomCaptions().GetCount(), 1u);
    const CGraphicObj* caption = *read.IntercomCaptions().begin();
    EXPECT_FALSE(caption->VisibleFlag());
    EXPECT_EQ(caption->GetId(), 0);
    EXPECT_EQ(Write(read), bytes.Bytes());
}

TEST(LayoutArchiveFormatTest, TextLengthsTakeOneThreeOrSevenBytes) {
    const struct {
        size_t length;
        std::vector<uint8_t> prefix;
    } cases[] = {
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {0xFFFD, {0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
    };
    for (const auto& c : cases) {
        CGraphicLayout layout;
        // Minus the two blanks the caption puts around it.
        layout.AddIntercom(1, {50, 50}, std::string(c.length - 2, 'x'));
        const std::vector<uint8_t> written = Write(layout);
        // The caption's text follows the class name "CIcomCaption" and 20 bytes of fields.
        const std::string marker = "CIcomCaption";
        const auto at = std::search(written.begin(), written.end(), marker.begin(), marker.end());
        ASSERT_NE(at, written.end());
        const auto prefix = at + marker.size() + 20;
        EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), prefix)) << c.length;
        EXPECT_EQ(prefix[c.prefix.size()], ' ');
        EXPECT_EQ(prefix[c.prefix.size() + c.length - 1], ' ');

        CGraphicLayout read;
        std::string error;
        ASSERT_TRUE(ReadLayoutArchive(written, read, error)) << error;
        if (c.length <= kMaxCaptionTextLength) {
            EXPECT_EQ(DescribeLayout(read), DescribeLayout(layout));
        } else {
            EXPECT_EQ(static_cast<const CCaptionObj*>(*read.IntercomCaptions().begin())->GetText(),
                      " " + std::string(kMaxCaptionTextLength - 1, 'x'))
                << c.length;
        }
    }
}

// A file with one owner-less intercom caption of the given text bytes.
ArchiveBytes CaptionFile(const std::vector<uint8_t>& text) {
    ArchiveBytes bytes;
    bytes.EmptyLayoutList()
        .EmptyLayoutList()
        .Word(1)
        .NewClass("CIcomCaption")
        .Int(1)
        .Rect(0, 0, 10, 10);
    for (uint8_t b : text) {
        bytes.Byte(b);
    }
    bytes.Word(0).Int(1).EmptyLayoutList();
    return bytes;
}

std::string ReadCaptionText(const ArchiveBytes& bytes) {
    CGraphicLayout read;
    std::string error;
    EXPECT_TRUE(ReadLayoutArchive(bytes.Span(), read, error)) << error;
    return read.IntercomCaptions().IsEmpty()
               ? std::string()
               : static_cast<const CCaptionObj*>(*read.IntercomCaptions().begin())->GetText();
}

TEST(LayoutArchiveFormatTest, TextsAreInTheAnsiCodePage) {
    // " Zürich €" in Windows-1252.
    const std::vector<uint8_t> ansi = {9, ' ', 'Z', 0xFC, 'r', 'i', 'c', 'h', ' ', 0x80};
    const ArchiveBytes bytes = CaptionFile(ansi);
    EXPECT_EQ(ReadCaptionText(bytes), " Z\xC3\xBCrich \xE2\x82\xAC");
    CGraphicLayout read;
    std::string error;
    ASSERT_TRUE(ReadLayoutArchive(bytes.Span(), read, error));
    EXPECT_EQ(Write(read), bytes.Bytes());
}

TEST(LayoutArchiveFormatTest, UnicodeTextsAreReadThroughTheCodePage) {
    // 0xFF, 0xFFFE, then the length in the same scheme and UTF-16 units: "Aé€Ж".
    const std::vector<uint8_t> unicode = {0xFF, 0xFE, 0xFF, 4,    'A',  0,
                                          0xE9, 0x00, 0xAC, 0x20, 0x16, 0x04};
    EXPECT_EQ(ReadCaptionText(CaptionFile(unicode)), "A\xC3\xA9\xE2\x82\xAC?");
    const std::vector<uint8_t> longForm = {0xFF, 0xFE, 0xFF, 0xFF, 0x02, 0x00, 'o', 0, 'k', 0};
    EXPECT_EQ(ReadCaptionText(CaptionFile(longForm)), "ok");
}

TEST(LayoutArchiveFormatTest, ALongTextKeepsItsFirstCharactersAndTheFileReadsOn) {
    // The seven-byte length of 400,000, ANSI and UTF-16: 0xFF, 0xFFFF, then 32 bits.
    constexpr uint32_t kLength = 400000;
    const auto lengthBytes = [](std::vector<uint8_t> prefix) {
        prefix.insert(prefix.end(), {0xFF, 0xFF, 0xFF});
        for (int shift = 0; shift < 32; shift += 8) {
            prefix.push_back(static_cast<uint8_t>(kLength >> shift));
        }
        return prefix;
    };
    std::vector<uint8_t> ansi = lengthBytes({});
    std::vector<uint8_t> unicode = lengthBytes({0xFF, 0xFE, 0xFF});
    std::string expected;
    for (uint32_t i = 0; i < kLength; ++i) {
        const char c = static_cast<char>('a' + i % 26);
        ansi.push_back(static_cast<uint8_t>(c));
        unicode.insert(unicode.end(), {static_cast<uint8_t>(c), 0});
        if (i < kMaxCaptionTextLength) {
            expected += c;
        }
    }
    // The owner reference and the lists after the text are read where they stand.
    EXPECT_EQ(ReadCaptionText(CaptionFile(ansi)), expected);
    EXPECT_EQ(ReadCaptionText(CaptionFile(unicode)), expected);
}

TEST(LayoutArchiveFormatTest, CharactersBeyondTheCodePageAreWrittenAsQuestionMarks) {
    CGraphicLayout layout;
    layout.AddIntercom(1, {50, 50}, "\xD0\x96uk");  // "Жuk"
    CGraphicLayout read;
    std::string error;
    ASSERT_TRUE(ReadLayoutArchive(Write(layout), read, error)) << error;
    EXPECT_EQ(static_cast<const CCaptionObj*>(*read.IntercomCaptions().begin())->GetText(),
              " ?uk ");
}

TEST(LayoutArchiveFormatTest, ReferencesMayUseTheLongIndexForms) {
    // The one-intercom file, with the caption's class and both back references in the long
    // forms: WORD 0x7FFF, then a 32-bit index (the class one with its top bit set).
    ArchiveBytes bytes;
    bytes.Word(1)
        .NewClass("CIcomObj")
        .Int(1)
        .Rect(84, 34, 116, 66)
        .Int(7)
        .Int(0)
        .Int(0)
        .NewClass("CIcomCaption")
        .Int(1)
        .Rect(95, 77, 105, 87)
        .ShortText(" North ")
        .Word(0x7FFF)
        .Dword(2)
        .Word(0)
        .Int(0)
        .Int(1)
        .EmptyLayoutList()
        .Word(1)
        .Word(0x7FFF)
        .Dword(4)
        .Int(1)
        .Word(1)
        // An owner-less trunk-set caption of class index 5, declared here...
        .NewClass("CTrunkSetCaption")
        .Int(1)
        .Rect(0, 0, 10, 10)
        .ShortText(" a ")
        .Word(0)
        .Int(1);
    CGraphicLayout read;
    std::string error;
    ASSERT_TRUE(ReadLayoutArchive(bytes.Span(), read, error)) << error;
    EXPECT_EQ(read.Intercoms().GetCount(), 1u);
    EXPECT_EQ(read.IntercomCaptions().GetCount(), 1u);

    // ...and a second object of a known class through the long class form.
    ArchiveBytes second;
    second.EmptyLayoutList()
        .EmptyLayoutList()
        .EmptyLayoutList()
        .Word(2)
        .NewClass("CTrunkSetCaption")
        .Int(1)
        .Rect(0, 0, 10, 10)
        .ShortText(" a ")
        .Word(0)
        .Word(0x7FFF)
        .Dword(0x80000001)
        .Int(1)
        .Rect(0, 0, 10, 10)
        .ShortText(" b ")
        .Word(0)
        .Int(1);
    ASSERT_TRUE(ReadLayoutArchive(second.Span(), read, error)) << error;
    EXPECT_EQ(read.TrunkSetCaptions().GetCount(), 2u);
}

TEST(LayoutArchiveFormatTest, ManyObjectsSwitchTheWriterToLongIndexes) {
    // 16400 intercoms with their captions pass object index 0x7FFF.
    CGraphicLayout layout;
    for (int i = 0; i < 16400; ++i) {
        layout.AddIntercom(i, {i % 1000, i / 1000}, "x");
    }
    const std::vector<uint8_t> written = Write(layout);
    CGraphicLayout read;
    std::string error;
    ASSERT_TRUE(ReadLayoutArchive(written, read, error)) << error;
    EXPECT_EQ(DescribeLayout(read), DescribeLayout(layout));
    // The last intercom's caption in list 3 is a long back reference.
    const size_t tail = written.size() - 4 - 6;  // list 4 (6 bytes), list 3's owns (4 bytes)
    EXPECT_EQ(written[tail - 6], 0xFF);
    EXPECT_EQ(written[tail - 5], 0x7F);
}

}  // namespace
}  // namespace corvane

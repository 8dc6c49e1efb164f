#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mail/SMTPReplyReader.h"

namespace corvane {
namespace {

using Status = CSMTPReplyReader::Status;

// Feeds the bytes in pieces of the given size and collects every reply.
std::vector<SMTPReply> ReadAll(const std::string& bytes, size_t piece, Status& last) {
    CSMTPReplyReader reader;
    std::vector<SMTPReply> replies;
    last = Status::kIncomplete;
    for (size_t at = 0; at < bytes.size(); at += piece) {
        reader.Append(bytes.substr(at, piece));
        SMTPReply reply;
        while ((last = reader.TakeReply(reply)) == Status::kComplete) {
            replies.push_back(reply);
        }
        if (last != Status::kIncomplete) {
            break;
        }
    }
    return replies;
}

TEST(SMTPReplyReaderTest, ReadsEachReplyToItsLastLineHoweverItArrives) {
    const struct {
        std::string bytes;
        std::vector<std::pair<int, std::string>> replies;
        Status after;
    } cases[] = {
        {"220 ready\r\n", {{220, "220 ready"}}, Status::kIncomplete},
        {"250-host\r\n250-AUTH LOGIN\r\n250 HELP\r\n",
         {{250, "250-host\r\n250-AUTH LOGIN\r\n250 HELP"}},
         Status::kIncomplete},
        {"250 ok\r\n354 go ahead\r\n",
         {{250, "250 ok"}, {354, "354 go ahead"}},
         Status::kIncomplete},
        {"221\r\n", {{221, "221"}}, Status::kIncomplete},
        {"250 bare line feed\n", {{250, "250 bare line feed"}}, Status::kIncomplete},
        {"250-first\r\n250 last", {}, Status::kIncomplete},
        {"334 VXNlcm5hbWU6\r\n", {{334, "334 VXNlcm5hbWU6"}}, Status::kIncomplete},
        {"hello\r\n", {}, Status::kMalformed},
        {"25x ok\r\n", {}, Status::kMalformed},
        {"2500\r\n", {}, Status::kMalformed},
        {"25\r\n", {}, Status::kMalformed},
        {"250_x\r\n", {}, Status::kMalformed},
        {"250-a\r\nbad\r\n", {}, Status::kMalformed},
        {"250 ok\r\n\r\n", {{250, "250 ok"}}, Status::kMalformed},
        {"HTTP/1.1 400", {}, Status::kMalformed},  // seen before any line end
    };
    for (const auto& c : cases) {
        for (size_t piece = 1; piece <= c.bytes.size(); ++piece) {
            Status last;
            const auto replies = ReadAll(c.bytes, piece, last);
            ASSERT_EQ(replies.size(), c.replies.size()) << c.bytes << " in pieces of " << piece;
            for (size_t i = 0; i < replies.size(); ++i) {
                EXPECT_EQ(replies[i].code, c.replies[i].first) << c.bytes;
                EXPECT_EQ(replies[i].text, c.replies[i].second) << c.bytes;
            }
            EXPECT_EQ(last, c.after) << c.bytes << " in pieces of " << piece;
        }
    }
}

TEST(SMTPReplyReaderTest, AReplyThatNeverEndsStopsAtTheCap) {
    CSMTPReplyReader reader;
    const std::string line = "250-" + std::string(60, 'x') + "\r\n";
    size_t taken = 0;
    for (int i = 0; i < 1000; ++i) {
        taken += reader.Append(line);
    }
    EXPECT_EQ(taken, CSMTPReplyReader::kMaxReplyBytes);
    EXPECT_EQ(reader.Room(), 0u);
    SMTPReply reply;
    EXPECT_EQ(reader.TakeReply(reply), Status::kTooLong);
}

TEST(SMTPReplyReaderTest, AReplyThatFillsTheCapExactlyIsRead) {
    const std::string tail = "250 end\r\n";
    const size_t room = CSMTPReplyReader::kMaxReplyBytes - tail.size();
    std::string bytes;
    while (room - bytes.size() >= 106) {
        bytes += "250-" + std::string(94, 'y') + "\r\n";
    }
    bytes += "250-" + std::string(room - bytes.size() - 6, 'y') + "\r\n" + tail;
    ASSERT_EQ(bytes.size(), CSMTPReplyReader::kMaxReplyBytes);

    CSMTPReplyReader reader;
    EXPECT_EQ(reader.Append(bytes), bytes.size());
    SMTPReply reply;
    ASSERT_EQ(reader.TakeReply(reply), Status::kComplete);
    EXPECT_EQ(reply.code, 250);
    EXPECT_EQ(reader.Room(), CSMTPReplyReader::kMaxReplyBytes);
}

}  // namespace
}  // namespace corvane

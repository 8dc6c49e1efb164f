#include "mail/MailOutbox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/LogCapture.h"
#include "fakes/TempDir.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A message with every part filled, and bytes a line-based file would spoil.
std::unique_ptr<CSMTPMessage> Message(const std::string& subject, int64_t tag) {
    auto m = std::make_unique<CSMTPMessage>();
    m->m_nTag = tag;
    m->m_From = CSMTPAddress("Corvane", "vorlin@example.org");
    m->m_sSubject = subject;
    m->m_sXMailer = "Corvane";
    m->m_ReplyTo = CSMTPAddress("desk@example.org");
    m->m_To = {CSMTPAddress("Ops", "ops@example.org"), CSMTPAddress("night@example.org")};
    m->m_Cc = {CSMTPAddress("cc@example.org")};
    m->m_Bcc = {CSMTPAddress("bcc@example.org")};
    m->m_ExtraHeaders = {"X-Priority: 1"};
    m->SetBody(std::string("line one\r\n.dot\r\n\0nul \xE9\n", 24));
    return m;
}

void ExpectSameMessage(const CSMTPMessage& a, const CSMTPMessage& b) {
    EXPECT_EQ(a.m_nTag, b.m_nTag);
    EXPECT_EQ(a.m_From, b.m_From);
    EXPECT_EQ(a.m_sSubject, b.m_sSubject);
    EXPECT_EQ(a.m_sXMailer, b.m_sXMailer);
    EXPECT_EQ(a.m_ReplyTo, b.m_ReplyTo);
    EXPECT_EQ(a.m_To, b.m_To);
    EXPECT_EQ(a.m_Cc, b.m_Cc);
    EXPECT_EQ(a.m_Bcc, b.m_Bcc);
    EXPECT_EQ(a.m_ExtraHeaders, b.m_ExtraHeaders);
    EXPECT_EQ(a.GetBody(), b.GetBody());
}

class MailOutboxTest : public ::testing::Test {
protected:
    // What the file on disk holds now, as the next start would read it.
    OutboxContents OnDisk() const { return ReadOutbox(ReadBytes(path)); }

    bool Add(CMailOutbox& outbox, std::vector<std::unique_ptr<CSMTPMessage>>& messages) {
        std::vector<CSMTPMessage*> raw;
        for (auto& m : messages) {
            raw.push_back(m.get());
        }
        return outbox.Add(raw);
    }

    // A sound file of three messages, each with its record boundaries.
    std::string ThreeMessages(std::vector<size_t>& ends) {
        CMailOutbox outbox;
        outbox.Open(path);
        for (int i = 1; i <= 3; ++i) {
            std::vector<std::unique_ptr<CSMTPMessage>> one;
            one.push_back(Message("message " + std::to_string(i), i));
            EXPECT_TRUE(Add(outbox, one));
            ends.push_back(fs::file_size(path));
        }
        outbox.Close();
        return ReadBytes(path);
    }

    testing::LogCapture log{"Mail Outbox", 1};
    testing::TempDir dir;
    fs::path path = dir.Path() / "mail.outbox";
};

TEST_F(MailOutboxTest, EveryChangeIsOnDiskWhenTheCallReturns) {
    CMailOutbox outbox;
    EXPECT_TRUE(outbox.Open(path).empty());
    std::vector<std::unique_ptr<CSMTPMessage>> messages;
    messages.push_back(Message("first", 11));
    messages.push_back(Message("second", 12));
    ASSERT_TRUE(Add(outbox, messages));
    EXPECT_EQ(messages[0]->m_nOutboxId, 1u);
    EXPECT_EQ(messages[1]->m_nOutboxId, 2u);
    {
        // Read as a start after a crash would: both there, neither handed on yet.
        const OutboxContents disk = OnDisk();
        EXPECT_EQ(disk.damage, "");
        ASSERT_EQ(disk.entries.size(), 2u);
        ExpectSameMessage(*disk.entries[0].message, *messages[0]);
        ExpectSameMessage(*disk.entries[1].message, *messages[1]);
        EXPECT_FALSE(disk.entries[0].committed);
        EXPECT_EQ(disk.entries[1].message->m_nOutboxId, 2u);
    }
    outbox.Commit({1, 2});
    outbox.Attempted(1, 3, "451 4.3.0 Try again later");
    outbox.EndSent(2);
    {
        const OutboxContents disk = OnDisk();
        ASSERT_EQ(disk.entries.size(), 2u);
        EXPECT_TRUE(disk.entries[0].committed && disk.entries[1].committed);
        EXPECT_EQ(disk.entries[0].attempts, 3);
        EXPECT_EQ(disk.entries[0].lastReply, "451 4.3.0 Try again later");
        EXPECT_FALSE(disk.entries[0].endSent);
        EXPECT_TRUE(disk.entries[1].endSent);
    }
    // A failed attempt after the end went out clears the mark: the server refused it.
    outbox.Attempted(2, 1, "452 full");
    EXPECT_FALSE(OnDisk().entries[1].endSent);

    outbox.Remove(1);
    ASSERT_EQ(OnDisk().entries.size(), 1u);
    EXPECT_EQ(OnDisk().entries[0].id, 2u);
    outbox.Remove(2);
    EXPECT_TRUE(OnDisk().entries.empty());
    EXPECT_EQ(fs::file_size(path), outbox::kHeader.size());
    EXPECT_EQ(outbox.Size(), 0u);
}

TEST_F(MailOutboxTest, AReopenedOutboxHoldsWhatWasLeftAndNumbersOnAboveIt) {
    {
        CMailOutbox outbox;
        outbox.Open(path);
        std::vector<std::unique_ptr<CSMTPMessage>> messages;
        for (int i = 1; i <= 3; ++i) {
            messages.push_back(Message("m" + std::to_string(i), i));
        }
        ASSERT_TRUE(Add(outbox, messages));
        outbox.Commit({1, 3});
        outbox.Attempted(3, 2, "421 busy");
        outbox.Remove(2);
    }
    CMailOutbox outbox;
    const std::vector<OutboxEntry> kept = outbox.Open(path);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].id, 1u);
    EXPECT_EQ(kept[0].message->m_sSubject, "m1");
    EXPECT_EQ(kept[1].id, 3u);
    EXPECT_EQ(kept[1].message->m_nOutboxId, 3u);
    EXPECT_EQ(kept[1].attempts, 2);
    EXPECT_EQ(kept[1].lastReply, "421 busy");
    EXPECT_TRUE(kept[1].committed);
    EXPECT_EQ(outbox.Size(), 2u);
    EXPECT_FALSE(fs::exists(path.string() + ".damaged"));

    std::vector<std::unique_ptr<CSMTPMessage>> more;
    more.push_back(Message("m4", 4));
    ASSERT_TRUE(Add(outbox, more));
    EXPECT_EQ(more[0]->m_nOutboxId, 4u);
}

TEST_F(MailOutboxTest, ADamagedFileIsSetAsideAndWhatCouldBeReadIsKept) {
    struct Case {
        const char* name;
        std::function<std::string(const std::string&, const std::vector<size_t>&)> damage;
        size_t kept;
    };
    const Case cases[] = {
        {"cut inside its last record",
         [](const std::string& b, const std::vector<size_t>& ends) {
             return b.substr(0, ends[2] - 7);
         },
         2},
        {"cut inside a record's length",
         [](const std::string& b, const std::vector<size_t>& ends) {
             return b.substr(0, ends[1] + 3);
         },
         2},
        {"a changed byte in the second record",
         [](const std::string& b, const std::vector<size_t>& ends) {
             std::string d = b;
             d[ends[0] + 20] ^= 0x40;
             return d;
         },
         1},
        {"a record longer than any",
         [](const std::string& b, const std::vector<size_t>&) {
             return b + std::string("\xFF\xFF\xFF\x7F\0\0\0\0", 8) + std::string(64, 'x');
         },
         3},
        {"zeros after its end",
         [](const std::string& b, const std::vector<size_t>&) {
             return b + std::string(4096, '\0');
         },
         3},
        {"a record of an unknown kind",
         [](const std::string& b, const std::vector<size_t>&) {
             return b + FramedOutboxRecord(std::string("\x09\x01\0\0\0\0\0\0\0", 9));
         },
         3},
        {"more attempts than any",
         [](const std::string& b, const std::vector<size_t>&) {
             // 5000 attempts of entry 1, no reply.
             return b + FramedOutboxRecord(
                            std::string("\x03\x01\0\0\0\0\0\0\0\x88\x13\0\0\0\0\0\0", 17));
         },
         3},
        {"not an outbox", [](const std::string&, const std::vector<size_t>&) { return "[x]\n"; },
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(path);
        fs::remove(path.string() + ".damaged");
        std::vector<size_t> ends;
        const std::string damaged = c.damage(ThreeMessages(ends), ends);
        WriteBytes(path, damaged);

        CMailOutbox outbox;
        const std::vector<OutboxEntry> kept = outbox.Open(path);
        ASSERT_EQ(kept.size(), c.kept);
        for (size_t i = 0; i < kept.size(); ++i) {
            EXPECT_EQ(kept[i].message->m_sSubject, "message " + std::to_string(i + 1));
        }
        // The damaged file stays for a look; the new one is sound and holds what was kept.
        EXPECT_EQ(ReadBytes(path.string() + ".damaged"), damaged);
        EXPECT_EQ(OnDisk().damage, "");
        EXPECT_EQ(OnDisk().entries.size(), c.kept);
        std::vector<std::unique_ptr<CSMTPMessage>> next;
        next.push_back(Message("next", 9));
        EXPECT_TRUE(Add(outbox, next));
        EXPECT_EQ(OnDisk().entries.size(), c.kept + 1);
    }
    const std::string text = log.Text();
    EXPECT_NE(text.find("could not be read whole: a record that fails its check at byte"),
              std::string::npos)
        << text;
    EXPECT_NE(
        text.find("  1 messages kept; the file is set aside as " + path.string() + ".damaged"),
        std::string::npos)
        << text;
}

TEST_F(MailOutboxTest, AFolderInItsPlaceIsSetAsideLikeADamagedFile) {
    fs::create_directories(path / "inside");
    CMailOutbox outbox;
    EXPECT_TRUE(outbox.Open(path).empty());
    EXPECT_TRUE(fs::is_directory(path.string() + ".damaged/inside"));
    std::vector<std::unique_ptr<CSMTPMessage>> one;
    one.push_back(Message("one", 1));
    EXPECT_TRUE(Add(outbox, one));
    EXPECT_EQ(OnDisk().entries.size(), 1u);
    EXPECT_NE(log.Text().find("it is not a regular file"), std::string::npos) << log.Text();
}

TEST_F(MailOutboxTest, AnOutboxThatCannotBeWrittenTakesNothingUntilItCan) {
    const fs::path folder = dir.Path() / "database";
    path = folder / "mail.outbox";
    CMailOutbox outbox;
    EXPECT_TRUE(outbox.Open(path).empty());
    std::vector<std::unique_ptr<CSMTPMessage>> one;
    one.push_back(Message("one", 1));
    EXPECT_FALSE(Add(outbox, one));
    EXPECT_FALSE(Add(outbox, one));
    EXPECT_EQ(one[0]->m_nOutboxId, 0u);
    EXPECT_EQ(outbox.Size(), 0u);

    fs::create_directories(folder);
    ASSERT_TRUE(Add(outbox, one));
    EXPECT_EQ(outbox.Size(), 1u);
    ASSERT_EQ(OnDisk().entries.size(), 1u);
    EXPECT_EQ(OnDisk().entries[0].message->m_sSubject, "one");

    const std::string text = log.Text();
    const std::string failed = "Mail outbox " + path.string() + " cannot be written";
    const size_t at = text.find(failed);
    EXPECT_NE(at, std::string::npos) << text;
    EXPECT_EQ(text.find(failed, at + 1), std::string::npos) << "once per outage\n" << text;
    EXPECT_NE(text.find("takes writes again, after 3 failed writes"), std::string::npos) << text;
}

TEST_F(MailOutboxTest, ARecordOfAttemptsDoesNotGrowTheFileWithoutEnd) {
    CMailOutbox outbox;
    outbox.Open(path);
    std::vector<std::unique_ptr<CSMTPMessage>> one;
    one.push_back(Message("long wait", 1));
    ASSERT_TRUE(Add(outbox, one));
    const std::string reply = "451 " + std::string(outbox::kMaxReplyBytes, 'r');
    uintmax_t largest = 0;
    for (int attempt = 1; attempt <= 400; ++attempt) {
        outbox.Attempted(1, attempt, reply);
        largest = std::max(largest, fs::file_size(path));
    }
    EXPECT_LT(largest, 300u * 1024u);
    const OutboxContents disk = OnDisk();
    ASSERT_EQ(disk.entries.size(), 1u);
    EXPECT_EQ(disk.entries[0].attempts, 400);
    EXPECT_EQ(disk.entries[0].lastReply, reply.substr(0, outbox::kMaxReplyBytes));
}

}  // namespace
}  // namespace corvane

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "mail/SMTPAddress.h"
#include "mail/SMTPMessage.h"

namespace corvane {
namespace {

using Addresses = std::vector<CSMTPAddress>;

TEST(SMTPAddressTest, ParsesRecipientLists) {
    const struct {
        std::string list;
        Addresses expected;
    } cases[] = {
        {"Ops Desk <ops@example.org>; night@example.org",
         {{"Ops Desk", "ops@example.org"}, {"", "night@example.org"}}},
        {"a@x, b@y;c@z", {{"", "a@x"}, {"", "b@y"}, {"", "c@z"}}},
        {"  spaced@x  ", {{"", "spaced@x"}}},
        {"Name <open@x", {{"Name", "open@x"}}},  // no ">": to the end
        {"<bare@x>", {{"", "bare@x"}}},
        {"Name <a@x> trailing", {{"Name", "a@x"}}},       // text after ">" is ignored
        {"a@x,, ;<>; ,b@y", {{"", "a@x"}, {"", "b@y"}}},  // empty pieces are skipped
        {"", {}},
        {" ; , ", {}},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseRecipientList(c.list);
        ASSERT_TRUE(parsed.has_value()) << c.list;
        EXPECT_EQ(*parsed, c.expected) << c.list;
    }
}

TEST(SMTPAddressTest, RefusesMalformedAndUnsafeLists) {
    for (const std::string& list : std::vector<std::string>{
             "ok@x; Name >a@x<",       // ">" before "<"
             "a b@x",                  // a blank inside
             "a@x\r\nRCPT TO:evil@x",  // a command smuggled into an address
             "Name <a@x\nBcc: evil@x>",
             "a@x>",
             "Name <a<b@x>",
             std::string("a@x\0y", 5),
         }) {
        EXPECT_FALSE(ParseRecipientList(list).has_value()) << list;
    }
}

TEST(SMTPAddressTest, AddRecipientsIsAllOrNothing) {
    CSMTPMessage message;
    EXPECT_TRUE(message.AddRecipients("a@x; b@y", CSMTPMessage::TO));
    EXPECT_TRUE(message.AddRecipients("c@z", CSMTPMessage::CC));
    EXPECT_FALSE(message.AddRecipients("d@w; bad address@x", CSMTPMessage::BCC));
    EXPECT_EQ(message.m_To.size(), 2u);
    EXPECT_EQ(message.m_Cc.size(), 1u);
    EXPECT_TRUE(message.m_Bcc.empty());
    EXPECT_EQ(message.RecipientText(), "a@x, b@y, c@z");
}

TEST(SMTPAddressTest, DisplayFormKeepsControlCharactersOutOfTheName) {
    EXPECT_EQ(CSMTPAddress("Ops", "ops@x").GetRegularFormat(), "Ops <ops@x>");
    EXPECT_EQ(CSMTPAddress("ops@x").GetRegularFormat(), "ops@x");
    EXPECT_EQ(CSMTPAddress("Ops\r\nBcc: evil@x", "ops@x").GetRegularFormat(),
              "OpsBcc: evil@x <ops@x>");
    EXPECT_EQ(CSMTPAddress("\r\n", "ops@x").GetRegularFormat(), "ops@x");
}

TEST(SMTPAddressTest, SafeAddresses) {
    EXPECT_TRUE(IsSafeMailAddress("VORLIN"));
    EXPECT_TRUE(IsSafeMailAddress("first.last+tag@example.org"));
    for (const char* unsafe : {"", " ", "a b", "a<b", "a>b", "a\rb", "a\nb", "a\tb", "a\x7F"}) {
        EXPECT_FALSE(IsSafeMailAddress(unsafe)) << unsafe;
    }
}

}  // namespace
}  // namespace corvane

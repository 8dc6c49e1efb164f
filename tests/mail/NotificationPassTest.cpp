#include "mail/NotificationPass.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "document/VorlinDoc.h"
#include "fakes/AiosmtpdServer.h"
#include "fakes/LogCapture.h"
#include "mail/MailOutbox.h"
#include "mail/MailQueue.h"
#include "mail/NotifyAgent.h"
#include "mail/SMTPConnection.h"
#include "platform/FileSystem.h"
#include "store/AlarmContext.h"
#include "store/DaoValue.h"
#include "store/StoreFixture.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;
using testing::RawDb;

struct AlarmRow {
    std::string deviceType;
    int instance = 1;
    std::string alarmType;
    std::string context;
    std::chrono::seconds notifyIn{0};  // NotificationTime relative to now
    std::string description = "Lost";
};

class NotificationPassTest : public testing::StoreTest {
protected:
    NotificationPassTest() {
        store = OpenStore();
        doc = std::make_unique<CVorlinDoc>(settings, clock);
        pass = std::make_unique<CNotificationPass>(*doc, *store, queue, settings, clock);
        outbox.Open(OutboxPath());
        queue.SetOutbox(&outbox);
    }

    std::string OutboxPath() const { return Dir() + "/mail.outbox"; }
    // The outbox as the next start would read it.
    OutboxContents OnDisk() const {
        std::ifstream in(OutboxPath(), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return ReadOutbox(bytes.str());
    }

    const CNameTables& Names() const { return doc->Names(); }

    int64_t Insert(const AlarmRow& row) {
        RawDb raw(DbPath());
        const std::string now = FormatDaoDate(clock.Now());
        raw.Exec(
            "INSERT INTO Alarms (State, Notification, DeviceType, DeviceInstance, AlarmType, "
            "Description, AlarmTime, NotificationTime, Context) VALUES ('Active', 'Pending', '" +
            row.deviceType + "', " + std::to_string(row.instance) + ", '" + row.alarmType + "', '" +
            row.description + "', '" + now + "', '" + FormatDaoDate(clock.Now() + row.notifyIn) +
            "', '" + row.context + "')");
        return std::stoll(raw.One("SELECT max(AlarmID) FROM Alarms"));
    }

    std::string Notification(int64_t id) {
        return RawDb(DbPath()).One("SELECT Notification FROM Alarms WHERE AlarmID = " +
                                   std::to_string(id));
    }
    std::string NotificationTime(int64_t id) {
        return RawDb(DbPath()).One("SELECT NotificationTime FROM Alarms WHERE AlarmID = " +
                                   std::to_string(id));
    }

    // One tick's pass; the hint starts as the tick's earlier steps left it.
    ViewUpdateHint Tick(ViewUpdateHint hint = 0) {
        pass->SendAlarmNotifications(hint);
        return hint;
    }

    std::vector<std::unique_ptr<CSMTPMessage>> Queued() {
        std::vector<std::unique_ptr<CSMTPMessage>> all;
        while (auto m = queue.PopPendingMail()) {
            all.push_back(std::move(m));
        }
        return all;
    }

    void MailKind(int kind, const std::string& to) {
        settings.Modify([&](AppSettings& s) {
            s.SendEmail[kind] = true;
            s.EmailTO[kind] = to;
        });
    }

    AlarmRow IntercomRow(std::chrono::seconds notifyIn = 0s) {
        return {Names().deviceTypes[devicetype::kIntercom], 12,
                Names().alarmCategories[alarmcat::kCommunication], FormatContextOneAlpha(4, "MX01"),
                notifyIn};
    }

    testing::LogCapture log{"Dbase", 1};
    CMailOutbox outbox;
    CMailQueue queue;
    std::unique_ptr<CVorlinDatabase> store;
    std::unique_ptr<CVorlinDoc> doc;
    std::unique_ptr<CNotificationPass> pass;
};

TEST_F(NotificationPassTest, ADueAlarmIsQueuedAndMarkedSent) {
    MailKind(setupkind::kIntercom, "ops@example.org");
    const int64_t id = Insert(IntercomRow(-5s));
    clock.Advance(2s);

    EXPECT_EQ(Tick(hint::kAlarmsAddedRemoved), hint::kAlarmsAddedRemoved | hint::kAlarmsEdited);

    EXPECT_EQ(Notification(id), "Sent");
    EXPECT_EQ(NotificationTime(id), FormatDaoDate(clock.Now()));
    const auto messages = Queued();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0]->m_nTag, id);
    EXPECT_EQ(messages[0]->m_sSubject, "VORLIN Alarm : Intercom (MX01) Communication");
    // On the disk, and the agent's, before the row said "Sent".
    const OutboxContents disk = OnDisk();
    ASSERT_EQ(disk.entries.size(), 1u);
    EXPECT_EQ(disk.entries[0].id, messages[0]->m_nOutboxId);
    EXPECT_EQ(disk.entries[0].message->m_sSubject, messages[0]->m_sSubject);
    EXPECT_TRUE(disk.entries[0].committed);
    // The handled row has left the pending rows: the next tick finds nothing.
    EXPECT_EQ(Tick(), 0u);
    EXPECT_EQ(queue.Size(), 0u);
}

TEST_F(NotificationPassTest, NewRowsAreSeenOnlyWhenTheHintSaysAlarmRowsChanged) {
    MailKind(setupkind::kIntercom, "ops@example.org");
    const int64_t id = Insert(IntercomRow(-5s));
    EXPECT_EQ(Tick(), 0u);
    EXPECT_EQ(Notification(id), "Pending");
    EXPECT_EQ(Tick(hint::kAlarmsEdited), hint::kAlarmsEdited);
    EXPECT_EQ(Notification(id), "Sent");
}

TEST_F(NotificationPassTest, AFutureAlarmStaysPendingUntilItsTime) {
    MailKind(setupkind::kIntercom, "ops@example.org");
    const int64_t id = Insert(IntercomRow(60s));
    const std::string due = NotificationTime(id);

    EXPECT_EQ(Tick(hint::kAlarmsAddedRemoved), hint::kAlarmsAddedRemoved);
    EXPECT_EQ(Notification(id), "Pending");
    EXPECT_EQ(NotificationTime(id), due);
    EXPECT_EQ(queue.Size(), 0u);

    clock.Advance(59s);
    EXPECT_EQ(Tick(), 0u);
    EXPECT_EQ(Notification(id), "Pending");

    clock.Advance(1s);  // exactly at its time
    EXPECT_EQ(Tick(), hint::kAlarmsEdited);
    EXPECT_EQ(Notification(id), "Sent");
    EXPECT_EQ(queue.Size(), 1u);
}

// Such a row sorts before every other pending row, so waiting on it would stop them all.
TEST_F(NotificationPassTest, APendingRowWithoutATimeIsDueAtOnce) {
    MailKind(setupkind::kIntercom, "ops@example.org");
    const int64_t id = Insert(IntercomRow(600s));
    RawDb(DbPath()).Exec("UPDATE Alarms SET NotificationTime = NULL WHERE AlarmID = " +
                         std::to_string(id));
    EXPECT_EQ(Tick(hint::kAlarmsEdited), hint::kAlarmsEdited);
    EXPECT_EQ(Notification(id), "Sent");
    EXPECT_EQ(queue.Size(), 1u);
}

TEST_F(NotificationPassTest, TwoDueAlarmsGoOnePerTickEarliestFirst) {
    MailKind(setupkind::kIntercom, "ops@example.org");
    MailKind(setupkind::kTrunkTestFailures, "trunks@example.org");
    const int64_t later = Insert(IntercomRow(-5s));
    const int64_t earlier = Insert({Names().deviceTypes[devicetype::kTrunk], 7,
                                    Names().alarmCategories[alarmcat::kTestFailure],
                                    FormatContextTwoAlphas(4, "MX1", "MX02"), -10s});

    EXPECT_EQ(Tick(hint::kAlarmsAddedRemoved) & hint::kAlarmsEdited, hint::kAlarmsEdited);
    EXPECT_EQ(Notification(earlier), "Sent");
    EXPECT_EQ(Notification(later), "Pending");
    auto first = Queued();
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0]->m_sSubject, "VORLIN Alarm : Trunk #7 ( MX1/MX02) Test Failure");

    EXPECT_EQ(Tick(), hint::kAlarmsEdited);
    EXPECT_EQ(Notification(later), "Sent");
    auto second = Queued();
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0]->m_nTag, later);

    EXPECT_EQ(Tick(), 0u);
}

struct TrunkEndsCase {
    const char* name;
    int trunk;
    bool defined;
    const char* pagerBody;  // without the time line
};

class NotificationPassTrunkTest : public NotificationPassTest,
                                  public ::testing::WithParamInterface<TrunkEndsCase> {};

// Without a context the pager's second line names the trunk's ends from the model.
TEST_P(NotificationPassTrunkTest, EmailAndPagerMessageOfOneAlarmAreQueuedTogether) {
    const TrunkEndsCase& c = GetParam();
    if (c.defined) {
        TrunkDefinition definition;
        definition.trunk = c.trunk;
        definition.end1Intercom = 3;
        definition.end1Number = 1;
        definition.end2Intercom = 9;
        definition.end2Number = 2;
        ASSERT_TRUE(doc->SetTrunkDefinition(definition, true));
    }
    settings.Modify([](AppSettings& s) {
        s.SendEmail[setupkind::kTrunkTestFailures] = true;
        s.EmailTO[setupkind::kTrunkTestFailures] = "trunks@example.org";
        s.SendPage[setupkind::kTrunkTestFailures] = true;
        s.PagerTO[setupkind::kTrunkTestFailures] = "pager@example.org";
    });
    const int64_t id = Insert({Names().deviceTypes[devicetype::kTrunk], c.trunk,
                               Names().alarmCategories[alarmcat::kTestFailure], "", -1s});

    Tick(hint::kAlarmsAddedRemoved);

    EXPECT_EQ(Notification(id), "Sent");
    const auto messages = Queued();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0]->m_sSubject,
              "VORLIN Alarm : Trunk #" + std::to_string(c.trunk) + " Test Failure");
    EXPECT_EQ(messages[1]->m_sSubject, "VORLIN Alarm   ");
    const std::string body = messages[1]->GetBody();
    ASSERT_GE(body.size(), 20u);
    EXPECT_EQ(body.substr(0, body.size() - 20), c.pagerBody);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NotificationPassTrunkTest,
    ::testing::Values(TrunkEndsCase{"Defined", 7, true, "Trunk #7 Test Fail  Icoms (3/9)         "},
                      TrunkEndsCase{"EndsUnknown", 7, false, "Trunk #7 Test Fail  "},
                      TrunkEndsCase{"OutOfRange", 20000, false, "Trunk #20000 Test Fail"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ErrorCase {
    const char* name;
    bool sendEmail;
    const char* emailTo;
    bool knownDevice;
    const char* logged;  // a line the log must hold, or empty
};

class NotificationPassErrorTest : public NotificationPassTest,
                                  public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(NotificationPassErrorTest, NothingIsQueuedAndTheAlarmReadsError) {
    const ErrorCase& c = GetParam();
    settings.Modify([&](AppSettings& s) {
        s.SendEmail[setupkind::kIntercom] = c.sendEmail;
        s.EmailTO[setupkind::kIntercom] = c.emailTo;
    });
    AlarmRow row = IntercomRow(-1s);
    if (!c.knownDevice) {
        row.deviceType = "Gadget";
    }
    const int64_t id = Insert(row);

    EXPECT_EQ(Tick(hint::kAlarmsAddedRemoved) & hint::kAlarmsEdited, hint::kAlarmsEdited);

    EXPECT_EQ(Notification(id), "Error");
    EXPECT_EQ(NotificationTime(id), FormatDaoDate(clock.Now()));
    EXPECT_EQ(queue.Size(), 0u);
    if (*c.logged != '\0') {
        EXPECT_NE(log.Text().find(c.logged), std::string::npos) << log.Text();
    }
    EXPECT_EQ(Tick(), 0u);  // handled once, not again on every tick
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NotificationPassErrorTest,
    ::testing::Values(ErrorCase{"NeitherMessageChosen", false, "ops@example.org", true, ""},
                      ErrorCase{"RecipientsParseToNothing", true, " ; , ", true,
                                "no e-mail sent: the EmailTO list names no address"},
                      ErrorCase{"UnsafeRecipient", true, "ops@example.org\r\nBcc: x@example.org",
                                true, "no e-mail sent"},
                      ErrorCase{"NoAlarmSetupKind", true, "ops@example.org", false,
                                "has no alarm setup kind"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NotificationPassTest, AClosedDatabaseIsLeftAlone) {
    MailKind(setupkind::kIntercom, "ops@example.org");
    const int64_t id = Insert(IntercomRow(-1s));
    store->CloseDatabase();
    EXPECT_EQ(Tick(hint::kAlarmsAddedRemoved), hint::kAlarmsAddedRemoved);
    EXPECT_EQ(Notification(id), "Pending");
    EXPECT_EQ(queue.Size(), 0u);
}

TEST_F(NotificationPassTest, ARowThatCannotBeWrittenIsNotMailedUntilItIs) {
    MailKind(setupkind::kIntercom, "ops@example.org");
    const int64_t id = Insert(IntercomRow(-1s));
    RawDb(DbPath()).Exec(
        "CREATE TRIGGER Refuse BEFORE UPDATE ON Alarms BEGIN SELECT RAISE(ABORT, 'refused'); END");

    EXPECT_EQ(Tick(hint::kAlarmsAddedRemoved), hint::kAlarmsAddedRemoved);
    // Tried again on every tick, and told to the operator once.
    EXPECT_EQ(Tick(), 0u);
    EXPECT_EQ(Tick(), 0u);
    EXPECT_EQ(Notification(id), "Pending");
    EXPECT_EQ(queue.Size(), 0u);
    EXPECT_TRUE(OnDisk().entries.empty());  // taken back each time
    ASSERT_EQ(ui.DatabaseErrors().size(), 1u);
    EXPECT_NE(ui.DatabaseErrors()[0].find("Error, sending alarm notifications"), std::string::npos)
        << ui.DatabaseErrors()[0];

    RawDb(DbPath()).Exec("DROP TRIGGER Refuse");
    EXPECT_EQ(Tick(), hint::kAlarmsEdited);
    EXPECT_EQ(Notification(id), "Sent");
    EXPECT_EQ(queue.Size(), 1u);
    EXPECT_EQ(OnDisk().entries.size(), 1u);
}

TEST_F(NotificationPassTest, AnOutboxThatCannotTakeTheMessagesLeavesTheAlarmPending) {
    MailKind(setupkind::kIntercom, "ops@example.org");
    const int64_t id = Insert(IntercomRow(-1s));
    const std::string folder = Dir() + "/moved";
    CMailOutbox unwritable;
    unwritable.Open(folder + "/mail.outbox");
    queue.SetOutbox(&unwritable);

    EXPECT_EQ(Tick(hint::kAlarmsAddedRemoved), hint::kAlarmsAddedRemoved);
    EXPECT_EQ(Tick(), 0u);
    EXPECT_EQ(Notification(id), "Pending");
    EXPECT_EQ(queue.Size(), 0u);

    std::string error;
    ASSERT_TRUE(MakeDirectories(folder, 0755, error)) << error;
    EXPECT_EQ(Tick(), hint::kAlarmsEdited);
    EXPECT_EQ(Notification(id), "Sent");
    EXPECT_EQ(queue.Size(), 1u);
    EXPECT_EQ(unwritable.Size(), 1u);
}

// A start finds messages in the outbox that its alarm row never was told of when the last run
// ended between writing the one and the other.
TEST_F(NotificationPassTest, KeptMessagesWhoseRowWasNeverWrittenAreTakenBackAtStart) {
    struct Case {
        const char* name;
        const char* notification;  // of the row; none: no row
        bool committed;
        bool kept;
    };
    const Case cases[] = {
        {"the row says it was handed on", "Sent", false, true},
        {"the row still waits for it", "Pending", false, false},
        {"the row was aborted as stale at start", "Aborted", false, false},
        {"no row to say", nullptr, false, true},
        // Its alarm was resolved since, and waits for the resolved notification.
        {"handed on, and the row waits again", "Pending", true, true},
    };
    std::vector<std::unique_ptr<CSMTPMessage>> messages;
    std::vector<int64_t> tags;
    for (const Case& c : cases) {
        int64_t tag = 999;
        if (c.notification != nullptr) {
            tag = Insert(IntercomRow(-1s));
            RawDb(DbPath()).Exec("UPDATE Alarms SET Notification = '" +
                                 std::string(c.notification) +
                                 "' WHERE AlarmID = " + std::to_string(tag));
        }
        auto m = std::make_unique<CSMTPMessage>();
        m->m_nTag = tag;
        m->m_sSubject = c.name;
        m->AddRecipients("ops@example.org");
        messages.push_back(std::move(m));
        tags.push_back(tag);
    }
    ASSERT_TRUE(queue.Keep(messages));
    for (size_t i = 0; i < std::size(cases); ++i) {
        if (cases[i].committed) {
            outbox.Commit({messages[i]->m_nOutboxId});
        }
    }
    outbox.Close();

    std::vector<OutboxEntry> kept = outbox.Open(OutboxPath());
    ASSERT_EQ(kept.size(), std::size(cases));
    pass->ConfirmKeptMessages(outbox, kept);
    std::vector<std::string> left;
    for (const OutboxEntry& e : kept) {
        left.push_back(e.message->m_sSubject);
        EXPECT_TRUE(e.committed);
    }
    std::vector<std::string> expected;
    for (const Case& c : cases) {
        if (c.kept) {
            expected.push_back(c.name);
        }
    }
    EXPECT_EQ(left, expected);
    const OutboxContents disk = OnDisk();
    ASSERT_EQ(disk.entries.size(), expected.size());
    for (const OutboxEntry& e : disk.entries) {
        EXPECT_TRUE(e.committed) << e.message->m_sSubject;
    }
    EXPECT_NE(log.Text().find("reads \"Pending\": its message \"the row still waits for it\" was "
                              "never handed on"),
              std::string::npos)
        << log.Text();
}

TEST_F(NotificationPassTest, ADueAlarmArrivesAtTheMailServer) {
    testing::AiosmtpdServer server;
    settings.Modify([&](AppSettings& s) {
        s.EmailHost = "127.0.0.1";
        s.EmailSMTPPort = server.Port();
        s.EmailSMTPLoginType = kSMTPLoginHelo;
    });
    MailKind(setupkind::kIntercom, "ops@example.org");
    NotifyAgentOptions options;
    options.pollInterval = 10ms;
    options.connectTimeout = 10s;
    options.responseTimeout = 10s;
    CNotifyAgent agent(queue, settings, clock, options);
    agent.Start();

    const int64_t id = Insert(IntercomRow(-1s));
    Tick(hint::kAlarmsAddedRemoved);
    EXPECT_EQ(Notification(id), "Sent");

    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (server.Records("MESSAGE").empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    agent.Stop();
    const auto messages = server.Records("MESSAGE");
    ASSERT_EQ(messages.size(), 1u) << server.ErrorOutput();
    EXPECT_EQ(messages[0].Fields("to"), std::vector<std::string>{"ops@example.org"});
    const std::string data = messages[0].Field("data");
    EXPECT_NE(data.find("Subject: VORLIN Alarm : Intercom (MX01) Communication\r\n"),
              std::string::npos)
        << data;
    EXPECT_NE(data.find("   Category: Intercom (MX01)\r\n"), std::string::npos) << data;
}

}  // namespace
}  // namespace corvane

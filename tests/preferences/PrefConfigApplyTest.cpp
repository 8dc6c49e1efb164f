#include <gtest/gtest.h>

#include <climits>

#include "document/PreferenceTarget.h"
#include "fakes/RecordingUiBridge.h"
#include "platform/ProfileStore.h"
#include "preferences/ConfigPageValues.h"
#include "preferences/PrefContext.h"
#include "preferences/PrefHostAddress.h"
#include "settings/AppSettings.h"

namespace corvane {
namespace {

// Records every call; the instrument and link answer as told.
struct RecordingTarget : IPreferenceTarget {
    std::vector<std::string> calls;
    bool tester = false;
    bool stops = true;
    bool creates = true;
    std::vector<PrefListEntry> IntercomEntries() const override { return {}; }
    std::vector<PrefListEntry> PortEntries(int) const override { return {}; }
    bool HasExtendedIntercomCapability() const override { return false; }
    void RequestDisconnect() override { calls.push_back("RequestDisconnect"); }
    bool IsDisconnected() const override { return true; }
    void SetNetworkAddresses(const std::string& m, const std::string& p) override {
        calls.push_back("SetNetworkAddresses " + m + " " + p);
    }
    void SetSerialPort(const std::string& port) override {
        calls.push_back("SetSerialPort " + port);
    }
    void SetMaintenancePortRequest(int i, int p) override {
        calls.push_back("SetMaintenancePortRequest " + std::to_string(i) + " " + std::to_string(p));
    }
    bool HasTester() const override { return tester; }
    void StopTester() override { calls.push_back("StopTester"); }
    bool IsTesterStopped() const override { return stops; }
    void DeleteTester() override {
        calls.push_back("DeleteTester");
        tester = false;
    }
    void SetTesterDisconnectRequested(bool) override { calls.push_back("SetTesterDisconnect"); }
    bool IsTesterDisconnectRequested() const override { return false; }
    void SetTesterReinitRequested(bool) override { calls.push_back("SetTesterReinit"); }
    bool CreateTester() override {
        calls.push_back("CreateTester");
        tester = creates;
        return creates;
    }
    void RaiseTesterResend(TesterSetting) override { calls.push_back("Resend"); }
    void SetLoopbackDue() override { calls.push_back("LoopbackDue"); }
    void UpdateAllViews(uint32_t hint, int64_t) override {
        calls.push_back("UpdateAllViews " + std::to_string(hint));
    }
    void ResetTestScheduleDay() override { calls.push_back("ResetTestScheduleDay"); }
};

struct Fixture {
    testing::RecordingUiBridge ui;
    SharedSettings settings;
    CProfileStore profile;
    RecordingTarget target;
    PrefContext context{settings, profile, &target};
    int sleeps = 0;
    Fixture() {
        profile.Load("");
        context.sleep = [this](std::chrono::milliseconds) { ++sleeps; };
        context.resolveHost = [](const std::string& host) {
            return host == "quillex.local" ? std::string("10.1.2.3") : ResolveHostToDottedIP(host);
        };
    }
    ConfigPageValues Edited() { return ConfigPageValues::FromSettings(settings.Snapshot()); }
};

TEST(PrefConfigApply, ValidationRefusesWithTheSystemsMessages) {
    struct Case {
        int type;
        std::string main, serial, analyzer, testerPort, message;
    };
    const Case cases[] = {
        {1, "  ", "COM1", "None", "COM2",
         "The IP address or hostname of the main Quillex computer must be specified in order to "
         "establish a network connection!"},
        {1, "no-such-host.invalid.", "COM1", "None", "COM2",
         "The IP address or hostname of the main Quillex computer must be specified in order to "
         "establish a network connection!"},
        {0, "", "com3", "Tonexa", "COM3",
         "The Quillex and the Tonexa cannot share the same COM port!"},
        {0, "", "COM1", "RT-2M", "/dev/ttyS0",
         "The Quillex and the RT-2M cannot share the same COM port!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.main + c.serial);
        Fixture f;
        f.context.resolveHost = [](const std::string&) { return std::string(); };
        ConfigPageValues v = f.Edited();
        v.connectionType = c.type;
        v.mainAddress = c.main;
        v.serialPort = c.serial;
        v.analyzer = c.analyzer;
        v.testerSerialPort = c.testerPort;
        EXPECT_FALSE(ApplyConfigPage(v, f.context));
        ASSERT_EQ(f.ui.Boxes().size(), 1u);
        EXPECT_EQ(f.ui.Boxes()[0].text, c.message);
        EXPECT_EQ(f.ui.Boxes()[0].style & 0xF0u, mb::kIconStop);
        EXPECT_TRUE(f.target.calls.empty());
        EXPECT_EQ(f.settings.Snapshot().QuillexConnectionType, 0);
        EXPECT_FALSE(f.profile.HasEntry("Settings\\Configuration", "AudioAnalyzer"));
    }
}

TEST(PrefConfigApply, NetworkHostIsResolvedStoredAndTheLinkRestarted) {
    Fixture f;
    ConfigPageValues v = f.Edited();
    v.connectionType = 1;
    v.mainAddress = " quillex.local ";
    v.partnerAddress = "0.0.0.0";
    ASSERT_TRUE(ApplyConfigPage(v, f.context));
    EXPECT_EQ(v.mainAddress, "10.1.2.3");
    EXPECT_EQ(f.target.calls, std::vector<std::string>{"SetNetworkAddresses 10.1.2.3 0.0.0.0"});
    EXPECT_EQ(f.profile.GetProfileString("Settings\\Configuration", "QuillexMainIPAddress"),
              "10.1.2.3");
    EXPECT_EQ(f.profile.GetProfileInt("Settings\\Configuration", "QuillexConnectionType", -1), 1);
}

TEST(PrefConfigApply, OnlyThePortChangedSendsTheOldIntercomAndTheNewPort) {
    Fixture f;
    f.settings.Modify([](AppSettings& s) {
        s.TonexaIntercom = 3;
        s.TonexaPort = 7;
    });
    ConfigPageValues v = f.Edited();
    v.testerPort = 9;
    ASSERT_TRUE(ApplyConfigPage(v, f.context));
    EXPECT_EQ(f.target.calls,
              (std::vector<std::string>{"SetMaintenancePortRequest 3 9", "LoopbackDue"}));
    EXPECT_EQ(f.profile.GetProfileInt("Settings\\Configuration", "TonexaPort", 0), 9);
}

TEST(PrefConfigApply, NoneAsPortSendsNoMaintenanceRequest) {
    Fixture f;
    f.settings.Modify([](AppSettings& s) { s.TonexaIntercom = 3; });
    ConfigPageValues v = f.Edited();
    v.testerPort = INT_MAX;
    ASSERT_TRUE(ApplyConfigPage(v, f.context));
    EXPECT_TRUE(f.target.calls.empty());
}

TEST(PrefConfigApply, ChangingTheAnalyzerStopsDeletesAndCreatesTheInstrument) {
    Fixture f;
    f.settings.Modify([](AppSettings& s) { s.AudioAnalyzer = "Tonexa"; });
    f.target.tester = true;
    ConfigPageValues v = f.Edited();
    v.analyzer = "RT-2M";
    f.target.creates = false;
    ASSERT_TRUE(ApplyConfigPage(v, f.context));
    EXPECT_EQ(f.target.calls,
              (std::vector<std::string>{"StopTester", "DeleteTester", "CreateTester", "LoopbackDue",
                                        "UpdateAllViews 4194304"}));
    ASSERT_EQ(f.ui.Boxes().size(), 1u);
    EXPECT_EQ(f.ui.Boxes()[0].text,
              "Unable to connect to the RT-2M!\nWill continue running but without the RT-2M.");
    EXPECT_EQ(f.profile.GetProfileString("Settings\\Configuration", "AudioAnalyzer"), "RT-2M");
}

TEST(PrefConfigApply, AnInstrumentThatDoesNotStopEndsTheApplyAfterItsPolls) {
    Fixture f;
    f.settings.Modify([](AppSettings& s) { s.AudioAnalyzer = "Tonexa"; });
    f.target.tester = true;
    f.target.stops = false;
    ConfigPageValues v = f.Edited();
    v.analyzer = "None";
    EXPECT_FALSE(ApplyConfigPage(v, f.context));
    EXPECT_EQ(f.sleeps, 180);
    ASSERT_EQ(f.ui.Boxes().size(), 1u);
    EXPECT_EQ(f.ui.Boxes()[0].text, "Unable to disconnect from the Tonexa!\n");
    EXPECT_EQ(f.settings.Snapshot().AudioAnalyzer, "Tonexa");
}

TEST(PrefConfigApply, TesterPortIsKeptWithoutAnInstrumentObject) {
    Fixture f;
    f.settings.Modify([](AppSettings& s) { s.AudioAnalyzer = "Tonexa"; });
    ConfigPageValues v = f.Edited();
    v.testerSerialPort = "COM5";
    ASSERT_TRUE(ApplyConfigPage(v, f.context));
    EXPECT_EQ(f.settings.Snapshot().TonexaSerialPort, "COM5");
}

TEST(PrefConfigApply, AlphaSizeSelections) {
    const std::pair<int, int> cases[] = {{4, 0}, {6, 1}, {8, 2}, {5, 0}, {0, 0}};
    for (auto [size, selection] : cases) {
        EXPECT_EQ(AlphaSelectionOf(size), selection) << size;
    }
    ConfigPageValues v;
    for (auto [selection, size] : {std::pair{0, 4}, {1, 6}, {2, 8}}) {
        v.alphaSelection = selection;
        EXPECT_EQ(v.AlphaSize(), size);
    }
}

TEST(PrefHostAddress, DottedAddressesAndNames) {
    EXPECT_EQ(ResolveHostToDottedIP("10.0.0.7"), "10.0.0.7");
    EXPECT_EQ(ResolveHostToDottedIP("localhost"), "127.0.0.1");
    EXPECT_EQ(ResolveHostToDottedIP(""), "");
    EXPECT_EQ(TrimBlanks("  a b \t"), "a b");
    EXPECT_TRUE(SameSerialPort("COM1", "com1"));
    EXPECT_TRUE(SameSerialPort("COM2", "/dev/ttyS1"));
    EXPECT_FALSE(SameSerialPort("COM1", "COM2"));
}

}  // namespace
}  // namespace corvane

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>

#include "fakes/RecordingPreferenceTarget.h"
#include "fakes/RecordingUiBridge.h"
#include "fakes/TempDir.h"
#include "platform/ProfileStore.h"
#include "preferences/ConfigPageValues.h"
#include "preferences/PrefContext.h"
#include "preferences/PrefHostAddress.h"
#include "preferences/SerialDeviceList.h"
#include "settings/AppSettings.h"

namespace corvane {
namespace {

using testing::RecordingTarget;

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

TEST(PrefConfigApply, AHostThatDoesNotResolveIsKeptAsTyped) {
    Fixture f;
    f.context.resolveHost = [](const std::string&) { return std::string(); };
    ConfigPageValues v = f.Edited();
    v.connectionType = 1;
    v.mainAddress = " quillex.invalid ";
    EXPECT_FALSE(ApplyConfigPage(v, f.context));
    EXPECT_EQ(v.mainAddress, " quillex.invalid ");
}

TEST(PrefSerialDevices, StableNamesFirstThenEachKindByNumber) {
    testing::TempDir dev;
    std::filesystem::create_directories(dev.Path() / "serial/by-id");
    for (const char* name : {"ttyACM0", "ttyUSB1", "ttyS2", "ttyUSB0", "ttyS10", "ttyS1", "tty1",
                             "ttyS", "ttySX", "console", "ttyUSB0.lock"}) {
        std::ofstream(dev.Path() / name) << "";
    }
    std::filesystem::create_symlink("../../ttyUSB1", dev.Path() / "serial/by-id/usb-b-if00");
    std::filesystem::create_symlink("../../ttyACM0", dev.Path() / "serial/by-id/usb-a-if00");
    const std::string root = dev.Path().string();
    EXPECT_EQ(ListSerialDevices(root),
              (std::vector<std::string>{root + "/serial/by-id/usb-a-if00",
                                        root + "/serial/by-id/usb-b-if00", root + "/ttyS1",
                                        root + "/ttyS2", root + "/ttyS10", root + "/ttyUSB0",
                                        root + "/ttyUSB1", root + "/ttyACM0"}));
    EXPECT_TRUE(ListSerialDevices(root + "/none").empty());
}

TEST(PrefSerialDevices, AStableNameAndItsDeviceAreOnePort) {
    testing::TempDir dev;
    std::filesystem::create_directories(dev.Path() / "serial/by-id");
    std::ofstream(dev.Path() / "ttyUSB0") << "";
    std::ofstream(dev.Path() / "ttyUSB1") << "";
    const std::string link = (dev.Path() / "serial/by-id/usb-FTDI-if00").string();
    std::filesystem::create_symlink("../../ttyUSB0", link);
    EXPECT_TRUE(SameSerialPort(link, dev / "ttyUSB0"));
    EXPECT_FALSE(SameSerialPort(link, dev / "ttyUSB1"));

    Fixture f;
    ConfigPageValues v = f.Edited();
    v.serialPort = link;
    v.analyzer = "Tonexa";
    v.testerSerialPort = dev / "ttyUSB0";
    EXPECT_FALSE(ApplyConfigPage(v, f.context));
    ASSERT_EQ(f.ui.Boxes().size(), 1u);
    EXPECT_EQ(f.ui.Boxes()[0].text, "The Quillex and the Tonexa cannot share the same COM port!");
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

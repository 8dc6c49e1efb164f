#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "fakes/FakeDevice.h"
#include "presentation/DeviceSearchTexts.h"
#include "qtsupport/QtWait.h"
#include "ui/DeviceSearchDialog.h"

namespace corvane {
namespace {

using testing::FakeDevice;
using testing::FakeDeviceInfo;
using testing::Loopback;
using testing::ProcessEventsUntil;
namespace fakedevice = testing::fakedevice;

FakeDeviceInfo Device(int type, bool active, std::string name, uint32_t partner = 0) {
    FakeDeviceInfo info;
    info.deviceType = type;
    info.active = active;
    info.name = std::move(name);
    info.partnerAddress = partner;
    info.connections1 = 4;
    info.connections2 = 12;
    info.description = "Rack " + info.name;
    return info;
}

// Only the fake's loopback address is ever asked: nothing goes out on a real interface.
DeviceFinderOptions AskOnly(const FakeDevice& device) {
    DeviceFinderOptions options;
    options.queryPort = device.Port();
    options.replyPort = 0;
    options.listenAddress = Loopback(1);
    const uint32_t address = device.Address();
    options.broadcastAddresses = [address] { return std::vector<uint32_t>{address}; };
    return options;
}

QStringList TopItems(const QTreeWidget* tree) {
    QStringList texts;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        texts << tree->topLevelItem(i)->text(0);
    }
    return texts;
}

// A device of the search, answering its query and sending what the test gives it.
struct SearchFixture {
    FakeDevice main;
    FakeDevice other;
    CDlgSearchForIcom dialog;

    SearchFixture(bool intercoms, const std::string& current, FakeDeviceInfo mainInfo)
        : main(Loopback(2), std::move(mainInfo),
               intercoms ? devicefinder::kAskIntercoms : devicefinder::kAskControllers),
          other(Loopback(3), Device(9, false, "Other")),
          dialog(current, intercoms, nullptr, AskOnly(main)) {}

    // Sends the reply from the device at the address as if it answered the query.
    void SendFrom(FakeDevice& device, const FakeDeviceInfo& info) {
        const int command = dialog.Devices().QueryCommand();
        ASSERT_TRUE(device.SendRaw(fakedevice::ReplyDatagram(command, 1, info), Loopback(1),
                                   dialog.ReplyPort()));
    }
    bool WaitForRows(int rows) {
        return ProcessEventsUntil([&] { return dialog.Tree()->topLevelItemCount() >= rows; });
    }
};

TEST(DeviceSearchDialog, ListsTheControllersThatAnswerAndPreselectsTheCurrentOne) {
    SearchFixture f(false, "QX-Main", Device(7, true, "QX-Main", Loopback(3)));
    EXPECT_EQ(f.dialog.windowTitle(), "Available Quillexs");
    EXPECT_EQ(f.dialog.GroupTitle(), "Quillexs");
    EXPECT_EQ(f.dialog.SelectedGroupTitle(), "Selected Quillex");
    EXPECT_EQ(f.dialog.HelpId(), 303);
    EXPECT_FALSE(f.dialog.OkButton()->isEnabled());
    EXPECT_FALSE(f.dialog.FieldsEnabled());

    ASSERT_TRUE(f.dialog.StartSearch());
    f.dialog.show();
    const auto query = f.main.ServeOne();
    ASSERT_TRUE(query.has_value());
    EXPECT_TRUE(query->valid);
    EXPECT_EQ(query->command, devicefinder::kAskControllers);
    ASSERT_TRUE(f.WaitForRows(1));

    // Types 1 and 8 are named by the type table but are not listed; nor is an intercom, nor
    // bytes that do not decode.
    FakeDevice old1(Loopback(4), {}), old8(Loopback(5), {}), intercom(Loopback(6), {});
    f.SendFrom(old1, Device(1, true, "Old one"));
    f.SendFrom(old8, Device(8, false, "Old eight"));
    f.SendFrom(intercom, Device(3, true, "Studio"));
    ASSERT_TRUE(intercom.SendRaw({0x01, 0x02, 0x03}, Loopback(1), f.dialog.ReplyPort()));
    // Sent last: once it is listed, the ones before it have been read.
    f.SendFrom(f.other, Device(9, false, "Backup", Loopback(2)));
    ASSERT_TRUE(f.WaitForRows(2));
    EXPECT_EQ(TopItems(f.dialog.Tree()), (QStringList{"Backup (Standby)", "QX-Main (Active)"}));
    EXPECT_EQ(f.dialog.Devices().size(), 2u);

    // The current controller answered with nothing selected: it is selected and shown.
    ASSERT_EQ(f.dialog.Tree()->selectedItems().size(), 1);
    EXPECT_EQ(f.dialog.Tree()->selectedItems().front()->text(0), "QX-Main (Active)");
    const QString expected[] = {"QX-Main",     QString::fromStdString(DeviceTypeText(7)),
                                "Active",      "127.0.0.2",
                                "127.0.0.3",   "12 / 4 Available",
                                "Rack QX-Main"};
    for (int field = 0; field < CDlgSearchForIcom::kFieldCount; ++field) {
        EXPECT_EQ(f.dialog.FieldText(field), expected[field]) << field;
    }
    EXPECT_TRUE(f.dialog.FieldsEnabled());
    EXPECT_TRUE(f.dialog.OkButton()->isEnabled());
    EXPECT_TRUE(f.dialog.OkButton()->isDefault());

    QDir().mkpath(CORVANE_SCREENSHOT_DIR);
    EXPECT_TRUE(f.dialog.grab().save(QString("%1/device-search.png").arg(CORVANE_SCREENSHOT_DIR)));

    f.dialog.accept();
    EXPECT_EQ(f.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(f.dialog.Chosen(), (ChosenDevice{"QX-Main", "127.0.0.2", "127.0.0.3"}));
}

TEST(DeviceSearchDialog, ASecondReplyFromOneAddressKeepsOneItemAndShowsTheNewerDetails) {
    SearchFixture f(false, "", Device(7, true, "QX-Main"));
    ASSERT_TRUE(f.dialog.StartSearch());
    ASSERT_TRUE(f.main.ServeOne().has_value());
    ASSERT_TRUE(f.WaitForRows(1));
    // Nothing was current: nothing is selected, and OK refuses.
    EXPECT_TRUE(f.dialog.Tree()->selectedItems().isEmpty());
    f.dialog.show();
    f.dialog.accept();
    EXPECT_TRUE(f.dialog.isVisible());
    EXPECT_NE(f.dialog.result(), QDialog::Accepted);

    f.dialog.Tree()->setCurrentItem(f.dialog.Tree()->topLevelItem(0));
    EXPECT_EQ(f.dialog.FieldText(CDlgSearchForIcom::kStatus), "Active");
    EXPECT_EQ(f.dialog.FieldText(CDlgSearchForIcom::kPartner), "");

    FakeDeviceInfo newer = Device(7, false, "QX-Main", 0xFFFFFFFFu);
    newer.description = "Moved";
    newer.frame = std::make_pair(uint8_t{1}, uint8_t{2});
    f.SendFrom(f.main, newer);
    ASSERT_TRUE(ProcessEventsUntil(
        [&] { return f.dialog.FieldText(CDlgSearchForIcom::kDescription) == "Moved"; }));
    EXPECT_EQ(f.dialog.Tree()->topLevelItemCount(), 1);
    QTreeWidgetItem* item = f.dialog.Tree()->topLevelItem(0);
    EXPECT_EQ(item->text(0), "QX-Main (Standby)");
    ASSERT_EQ(item->childCount(), 1);
    EXPECT_EQ(item->child(0)->text(0), "Frame 2 of 2");
    EXPECT_EQ(f.dialog.FieldText(CDlgSearchForIcom::kStatus), "Standby");
    // 255.255.255.255 stands for no partner: shown blank, taken as it is.
    EXPECT_EQ(f.dialog.FieldText(CDlgSearchForIcom::kPartner), "");

    // The frame's item belongs to its device.
    f.dialog.Tree()->setCurrentItem(item->child(0));
    EXPECT_TRUE(f.dialog.OkButton()->isEnabled());
    f.dialog.Tree()->clearSelection();
    EXPECT_FALSE(f.dialog.OkButton()->isEnabled());
    EXPECT_FALSE(f.dialog.FieldsEnabled());
    EXPECT_EQ(f.dialog.FieldText(CDlgSearchForIcom::kName), "");
}

TEST(DeviceSearchDialog, TheIntercomSearchAsksForIntercomsAndListsNoControllers) {
    SearchFixture f(true, "Studio", Device(3, true, "Studio"));
    EXPECT_EQ(f.dialog.windowTitle(), "Available Intercoms");
    EXPECT_EQ(f.dialog.GroupTitle(), "Intercoms");
    EXPECT_EQ(f.dialog.SelectedGroupTitle(), "Selected Intercom");
    EXPECT_EQ(f.dialog.HelpId(), 301);
    ASSERT_TRUE(f.dialog.StartSearch());
    const auto query = f.main.ServeOne();
    ASSERT_TRUE(query.has_value());
    EXPECT_EQ(query->command, devicefinder::kAskIntercoms);
    f.SendFrom(f.other, Device(7, true, "QX"));
    FakeDevice another(Loopback(4), {});
    f.SendFrom(another, Device(0, true, "Nothing"));
    f.SendFrom(another, Device(5, true, "Booth"));
    ASSERT_TRUE(f.WaitForRows(2));
    QCoreApplication::processEvents();
    EXPECT_EQ(TopItems(f.dialog.Tree()), (QStringList{"Booth", "Studio"}));
    EXPECT_EQ(f.dialog.FieldText(CDlgSearchForIcom::kName), "Studio");
    EXPECT_EQ(f.dialog.FieldText(CDlgSearchForIcom::kStatus), "Active");
}

// Steps through the modal widgets shown while the code under test runs; each step returns
// true when it is done with the widget.
class ModalDriver {
public:
    explicit ModalDriver(std::function<bool(QWidget*)> step) : step_(std::move(step)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (++ticks_ > 1000 && modal != nullptr) {
                modal->close();  // a guard against a hang
            } else if (modal != nullptr && step_(modal)) {
                timer_.stop();
            }
        });
        timer_.start(10);
    }

private:
    std::function<bool(QWidget*)> step_;
    QTimer timer_;
    int ticks_ = 0;
};

TEST(DeviceSearchDialog, RunningItReturnsTheChosenController) {
    FakeDevice main(Loopback(2), Device(7, true, "QX-Main", Loopback(3)));
    bool served = false;
    ModalDriver driver([&](QWidget* modal) {
        auto* dialog = qobject_cast<CDlgSearchForIcom*>(modal);
        if (dialog == nullptr) {
            return false;
        }
        if (!served) {
            served = main.ServeOne().has_value();
        }
        if (dialog->Tree()->topLevelItemCount() == 0) {
            return false;
        }
        dialog->Tree()->setCurrentItem(dialog->Tree()->topLevelItem(0));
        dialog->OkButton()->click();
        return true;
    });
    std::string name, address, partner;
    ASSERT_TRUE(RunDeviceSearchDialog(nullptr, false, "", AskOnly(main), name, address, partner));
    EXPECT_EQ(name, "QX-Main");
    EXPECT_EQ(address, "127.0.0.2");
    EXPECT_EQ(partner, "127.0.0.3");
}

TEST(DeviceSearchDialog, ASocketThatCannotOpenIsReportedAndCancels) {
    // The reply port is held by another socket.
    const int blocker = socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(blocker, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(Loopback(1));
    socklen_t length = sizeof local;
    ASSERT_EQ(bind(blocker, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
    ASSERT_EQ(getsockname(blocker, reinterpret_cast<sockaddr*>(&local), &length), 0);

    FakeDevice main(Loopback(2), Device(7, true, "QX-Main"));
    DeviceFinderOptions options = AskOnly(main);
    options.replyPort = ntohs(local.sin_port);
    QString shown;
    ModalDriver driver([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            return false;
        }
        shown = box->text();
        box->accept();
        return true;
    });
    std::string name = "kept", address = "kept", partner = "kept";
    EXPECT_FALSE(RunDeviceSearchDialog(nullptr, false, "", options, name, address, partner));
    EXPECT_EQ(shown, "Could not open broadcast socket! Try again later.");
    EXPECT_EQ(name, "kept");
    EXPECT_TRUE(main.Queries().empty());
    close(blocker);
}

}  // namespace
}  // namespace corvane

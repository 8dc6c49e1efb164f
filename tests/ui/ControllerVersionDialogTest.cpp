#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTimer>

#include "link/Quillex.h"
#include "link/RecordingModel.h"
#include "settings/AppSettings.h"
#include "ui/ControllerVersionDialog.h"

namespace corvane {
namespace {

TEST(ControllerVersionDialog, ShowsTheReportedTextAsUtf8) {
    CDlgQXVersion dialog(CDlgQXVersion::kTemplateId, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Quillex Version");
    EXPECT_EQ(dialog.TemplateId(), 157);
    EXPECT_EQ(dialog.VersionText(), "");
    struct Case {
        std::string reported;
        QString shown;
    };
    const Case cases[] = {
        {"QX-5100 V2.10", "QX-5100 V2.10"},
        {"Rev \xB5"
         "C 3",
         QString::fromUtf8("Rev \xC2\xB5"
                           "C 3")},
        {"", ""},
    };
    for (const Case& c : cases) {
        dialog.SetVersionString(c.reported);
        EXPECT_EQ(dialog.VersionText(), c.shown) << c.reported;
    }
    dialog.SetVersionString("QX-5100 V2.10");
    dialog.show();
    QCoreApplication::processEvents();
    QDir().mkpath(CORVANE_SCREENSHOT_DIR);
    EXPECT_TRUE(
        dialog.grab().save(QString("%1/controller-version.png").arg(CORVANE_SCREENSHOT_DIR)));
}

TEST(ControllerVersionDialog, RunsForTheControllerAndShowsNothingBeforeItAnswers) {
    testing::RecordingModel model;
    SharedSettings settings;
    CQuillex controller(model, settings);
    QString shown = "unset";
    int runs = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<CDlgQXVersion*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        ++runs;
        shown = dialog->VersionText();
        dialog->findChild<QPushButton*>()->click();
    });
    timer.start(10);
    RunControllerVersionDialog(nullptr, &controller);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(shown, "");

    // Without a controller no dialog opens.
    RunControllerVersionDialog(nullptr, nullptr);
    EXPECT_EQ(runs, 1);
    controller.Stop();
}

}  // namespace
}  // namespace corvane

#include "ui/PrefSpinEdit.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QLocale>

#include "fakes/RecordingUiBridge.h"

namespace corvane {
namespace {

TEST(PrefSpinEdit, TakesTheLocalesMinusSign) {
    testing::RecordingUiBridge ui;
    const QLocale swedish(QLocale::Swedish, QLocale::Sweden);
    ASSERT_EQ(swedish.negativeSign(), QString(QChar(0x2212)));
    CPrefSpinEdit level(-20, 20);
    level.setLocale(swedish);
    level.setValue(-5);
    EXPECT_EQ(level.findChild<QLineEdit*>()->text(), QString(QChar(0x2212)) + "5");
    EXPECT_EQ(level.Checked(), -5);
    level.findChild<QLineEdit*>()->setText(QString(QChar(0x2212)) + "12");
    EXPECT_EQ(level.Checked(), -12);
    level.findChild<QLineEdit*>()->setText("-7");
    EXPECT_EQ(level.Checked(), -7);
    EXPECT_TRUE(ui.Boxes().empty());
}

}  // namespace
}  // namespace corvane

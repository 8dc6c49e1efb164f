#include "ui/views/VorlinSplitterWnd.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>

namespace corvane {
namespace {

// A form over a list, as in a child frame, shown 600 high.
class VorlinSplitterWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        splitter.addWidget(new QWidget);
        splitter.addWidget(new QWidget);
        splitter.setStretchFactor(1, 1);
        splitter.resize(400, 600);
        splitter.show();
        QCoreApplication::processEvents();
        splitter.setSizes({100, 500});
        total = splitter.sizes()[0] + splitter.sizes()[1];
    }
    CVorlinSplitterWnd splitter{Qt::Vertical, nullptr};
    int total = 0;
};

TEST_F(VorlinSplitterWndTest, AFormTakesItsHeightAndTheListTheRest) {
    QSize form(400, 150);
    splitter.ReplaceView(0, new QWidget, form, QSize(0, 0));
    EXPECT_EQ(splitter.sizes(), (QList<int>{150, total - 150}));
    // 0 x 0 is not known yet: the default is taken and kept.
    QSize unknown(0, 0);
    splitter.ReplaceView(0, new QWidget, unknown, QSize(400, 220));
    EXPECT_EQ(unknown, QSize(400, 220));
    EXPECT_EQ(splitter.sizes(), (QList<int>{220, total - 220}));
}

TEST_F(VorlinSplitterWndTest, ANewListTakesTheOldOnesRoomWhateverItsSize) {
    // A list size kept from a small frame does not squeeze the list of a large one.
    for (QSize list : {QSize(400, 70), QSize(0, 0), QSize(400, 900)}) {
        splitter.ReplaceView(1, new QWidget, list, QSize(0, 0));
        EXPECT_EQ(splitter.sizes(), (QList<int>{100, total - 100})) << list.height();
    }
}

}  // namespace
}  // namespace corvane

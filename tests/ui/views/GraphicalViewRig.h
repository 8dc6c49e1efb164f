#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ViewsRig.h"
#include "fakes/FakeControllerModel.h"
#include "graphics/GraphicLayouts.h"
#include "graphics/LayoutRecordsets.h"
#include "presentation/FilterData.h"
#include "store/VorlinDatabase.h"
#include "ui/views/VorlinScrollView.h"

namespace corvane::testing {

// A small network: matrices 0-3 (intercoms 1-4) at 38400 baud but for the fourth (9600, the
// remote mark), the third not communicating, and ten trunks between the first two: five
// idle, three allocated, two in maintenance.
inline FakeNetwork SmallTrunkNetwork() {
    FakeNetwork n = BuildFakeNetwork(4, 0);
    for (FakeMatrix& m : n.matrices) {
        m.baudCode = 1;
        m.commStatus = 0x81;
    }
    n.matrices[2].commStatus = 0x05;
    n.matrices[3].baudCode = 2;
    for (int t = 0; t < 10; ++t) {
        FakeTrunk trunk;
        trunk.defined = true;
        trunk.end1Intercom = 0;
        trunk.end2Intercom = 1;
        trunk.end1Number = static_cast<uint16_t>(100 + t);
        trunk.end2Number = static_cast<uint16_t>(200 + t);
        trunk.fixed1Number = trunk.end1Number;
        trunk.fixed2Intercom = 1;
        trunk.fixed2Number = trunk.end2Number;
        n.trunks.push_back(trunk);
    }
    FakeControllerModel states(n);
    for (int t = 5; t < 8; ++t) {
        states.SetTrunkStatus(t, 2);
    }
    states.SetTrunkStatus(8, 4);
    states.SetTrunkStatus(9, 4);
    return states.Network();
}

// Graphical views over the rig's document: layouts filled through the view's own lookups,
// frames opened on a layout, and the mouse and the context menus driven as the operator
// would.
class GraphicalViewRig {
public:
    explicit GraphicalViewRig(ViewsRig& rig) : rig_(rig), recordsets_(Db()) { recordsets_.Open(); }

    CDaoDatabase& Db() { return rig_.doc->Database()->Database(); }

    // Ticks until the summary row of the pair holds the counts: trunk states arrive after the
    // trunks themselves.
    bool TickUntilSummary(int from, int to, const TrunkSetCounts& counts) {
        return rig_.supervision.TickUntil([&] {
            TrunkSetCounts now;
            std::string error;
            return recordsets_.FindTrunkSummary(from, to, now, error) ==
                       LayoutModelSource::Lookup::Found &&
                   now == counts;
        });
    }
    // SmallTrunkNetwork's states in the database: the trunks' and the third matrix's.
    bool TickUntilSmallNetworkSettled() {
        return TickUntilSummary(1, 2, {10, 3, 0, 2, 0}) && rig_.supervision.TickUntil([&] {
            LayoutModelSource::IntercomRow row;
            std::string error;
            return recordsets_.FindIntercom(3, row, error) == LayoutModelSource::Lookup::Found &&
                   !row.comState.empty() && row.comState.compare(0, 2, "OK") != 0;
        });
    }
    CLayoutRecordsets& Model() { return recordsets_; }
    CGraphicLayouts& Layouts() { return rig_.layouts; }

    // The layout of the index read or made, as a view opening it finds it.
    CGraphicLayout& Open(int index) {
        std::string error;
        EXPECT_NE(Layouts().LoadGraphicalLayout(index, error), CGraphicLayouts::Opened::Failed)
            << error;
        return *Layouts().GetGraphicLayout(index);
    }

    // A frame showing the layout, and its graphical view.
    CVorlinScrollView* OpenView(int layoutIndex, CChildFrame** frameOut = nullptr) {
        auto filter = NewFilterOf(ViewKind::Alphas);
        filter->SetSelector(1, layoutIndex);
        CChildFrame* frame = rig_.OpenFrame(ViewKind::GraphicalUsage, filter.get());
        // The first frame of a program opens maximised, the others as they come: this one
        // fills the window, whichever it is.
        frame->showMaximized();
        QCoreApplication::processEvents();
        if (frameOut != nullptr) {
            *frameOut = frame;
        }
        EXPECT_NE(frame->GraphicalView(), nullptr);
        return frame->GraphicalView();
    }

    static void Mouse(CVorlinScrollView* view, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::KeyboardModifiers keys = Qt::NoModifier) {
        Qt::MouseButtons held = Qt::NoButton;
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseMove) {
            held = type == QEvent::MouseMove ? Qt::MouseButtons(button) : button;
        }
        QWidget* viewport = view->viewport();
        QMouseEvent event(type, QPointF(at), QPointF(viewport->mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, keys);
        QCoreApplication::sendEvent(viewport, &event);
    }
    static void Press(CVorlinScrollView* view, QPoint at, Qt::KeyboardModifiers keys = {}) {
        Mouse(view, QEvent::MouseButtonPress, at, Qt::LeftButton, keys);
    }
    static void Move(CVorlinScrollView* view, QPoint at, Qt::KeyboardModifiers keys = {}) {
        Mouse(view, QEvent::MouseMove, at, Qt::LeftButton, keys);
    }
    static void Release(CVorlinScrollView* view, QPoint at, Qt::KeyboardModifiers keys = {}) {
        Mouse(view, QEvent::MouseButtonRelease, at, Qt::LeftButton, keys);
    }
    static void Click(CVorlinScrollView* view, QPoint at, Qt::KeyboardModifiers keys = {}) {
        Press(view, at, keys);
        Release(view, at, keys);
    }

    // One item of a menu: its command (0 for none) and text.
    struct MenuItem {
        int id = 0;
        std::string text;
    };
    // A right click at the point, choosing the command from the menu that opens (none:
    // closing it); the menu's items, or nothing when no menu opened.
    static std::vector<MenuItem> RightClick(CVorlinScrollView* view, QPoint at, int choose = 0) {
        std::vector<MenuItem> items;
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) {
                return;
            }
            opened = true;
            QAction* chosen = nullptr;
            for (QAction* action : menu->actions()) {
                const int id = action->data().isValid() ? action->data().toInt() : 0;
                if (!action->isSeparator()) {
                    items.push_back({id, action->text().toStdString()});
                }
                if (choose != 0 && id == choose) {
                    chosen = action;
                }
            }
            if (chosen == nullptr) {
                menu->close();
                return;
            }
            menu->setActiveAction(chosen);
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QCoreApplication::sendEvent(menu, &enter);
        });
        Mouse(view, QEvent::MouseButtonRelease, at, Qt::RightButton);
        QCoreApplication::processEvents();
        return opened ? items : std::vector<MenuItem>{};
    }
    static bool HasItem(const std::vector<MenuItem>& items, int id) {
        for (const MenuItem& item : items) {
            if (item.id == id) {
                return true;
            }
        }
        return false;
    }

    // The view's picture as the screen shows it.
    static QImage Picture(CVorlinScrollView* view) {
        QCoreApplication::processEvents();
        return view->viewport()->grab().toImage();
    }

private:
    ViewsRig& rig_;
    CLayoutRecordsets recordsets_;
};

}  // namespace corvane::testing

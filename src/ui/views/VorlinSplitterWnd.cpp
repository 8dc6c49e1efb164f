#include "ui/views/VorlinSplitterWnd.h"

#include <QApplication>

namespace corvane {

CVorlinSplitterWnd::CVorlinSplitterWnd(Qt::Orientation orientation, QWidget* parent)
    : QSplitter(orientation, parent) {
    setChildrenCollapsible(false);
}

QWidget* CVorlinSplitterWnd::ReplaceView(int index, QWidget* view, QSize& size, QSize defaultSize) {
    // Unknown: never set (invalid) or 0 x 0.
    const auto unknown = [](QSize s) { return !s.isValid() || s.isNull(); };
    if (unknown(size)) {
        size = defaultSize;
    }
    QList<int> lengths = sizes();
    QWidget* old = widget(index);
    const bool wasActive = old == nullptr || old->isAncestorOf(QApplication::focusWidget()) ||
                           old == QApplication::focusWidget();
    QSizePolicy policy = view->sizePolicy();
    if (old != nullptr) {
        // The pane keeps its share of the room the splitter gains or loses.
        policy.setHorizontalStretch(old->sizePolicy().horizontalStretch());
        policy.setVerticalStretch(old->sizePolicy().verticalStretch());
        // The old view goes first: it may save what it holds (a layout) while it still can.
        old->hide();
        delete old;
    }
    view->setSizePolicy(policy);
    insertWidget(index, view);
    const int length = orientation() == Qt::Vertical ? size.height() : size.width();
    if (!unknown(size) && lengths.size() == count() && index < lengths.size()) {
        const int total = lengths[0] + (count() > 1 ? lengths[1] : 0);
        lengths[index] = length;
        if (count() == 2) {
            lengths[1 - index] = std::max(total - length, 0);
        }
        setSizes(lengths);
    }
    view->show();
    if (wasActive) {
        view->setFocus();
    }
    return view;
}

bool CVorlinSplitterWnd::RouteCommand(int id) {
    for (int i = 0; i < count(); ++i) {
        QWidget* pane = widget(i);
        if (auto* splitter = qobject_cast<CVorlinSplitterWnd*>(pane)) {
            if (splitter->RouteCommand(id)) {
                return true;
            }
        } else if (auto* target = dynamic_cast<CCommandTarget*>(pane);
                   target != nullptr && target->OnCommand(id)) {
            return true;
        }
    }
    return false;
}

std::optional<CommandUi> CVorlinSplitterWnd::RouteCommandUpdate(int id) const {
    for (int i = 0; i < count(); ++i) {
        QWidget* pane = widget(i);
        std::optional<CommandUi> ui;
        if (auto* splitter = qobject_cast<CVorlinSplitterWnd*>(pane)) {
            ui = splitter->RouteCommandUpdate(id);
        } else if (auto* target = dynamic_cast<CCommandTarget*>(pane)) {
            ui = target->OnUpdateCommand(id);
        }
        if (ui) {
            return ui;
        }
    }
    return std::nullopt;
}

}  // namespace corvane

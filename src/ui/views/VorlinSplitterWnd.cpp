#include "ui/views/VorlinSplitterWnd.h"

#include <QApplication>
#include <numeric>

namespace corvane {

CVorlinSplitterWnd::CVorlinSplitterWnd(Qt::Orientation orientation, QWidget* parent)
    : QSplitter(orientation, parent) {
    setChildrenCollapsible(false);
    // Once the operator moves a divider, the panes are theirs.
    connect(this, &QSplitter::splitterMoved, this, [this] { pending_.reset(); });
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
    const int length = std::max(orientation() == Qt::Vertical ? size.height() : size.width(), 0);
    if (lengths.size() == count() && index < lengths.size()) {
        // A new view in the last pane (or one whose size is not known) takes the old one's
        // room.
        setSizes(lengths);
        if (!unknown(size) && index < count() - 1) {
            ApplyLength(index, length);
            if (!isVisible()) {
                pending_ = {index, length};
            }
        }
    }
    view->show();
    if (wasActive) {
        view->setFocus();
    }
    return view;
}

void CVorlinSplitterWnd::ApplyLength(int index, int length) {
    QList<int> lengths = sizes();
    if (index < 0 || index >= lengths.size() - 1) {
        return;
    }
    const int total = std::accumulate(lengths.begin(), lengths.end(), 0);
    lengths[index] = length;
    lengths.back() = std::max(total - std::accumulate(lengths.begin(), lengths.end() - 1, 0), 0);
    setSizes(lengths);
}

void CVorlinSplitterWnd::ApplyPending() {
    if (!pending_ || !isVisible()) {
        return;
    }
    ApplyLength(pending_->first, pending_->second);
    // A splitter still too small for the length keeps asking for it as it grows.
    if (sizes().value(pending_->first) >= pending_->second) {
        pending_.reset();
    }
}

void CVorlinSplitterWnd::resizeEvent(QResizeEvent* event) {
    QSplitter::resizeEvent(event);
    ApplyPending();
}

void CVorlinSplitterWnd::showEvent(QShowEvent* event) {
    QSplitter::showEvent(event);
    ApplyPending();
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

#include "ui/VorlinStatusBar.h"

#include <QApplication>
#include <QCursor>
#include <QHelpEvent>
#include <QPainter>
#include <QStyleOptionFrame>

#include "platform/StringTable.h"
#include "presentation/HelpService.h"
#include "ui/VorlinDialog.h"

namespace corvane {
namespace {

constexpr int kMinimumHeight = 22;
constexpr int kIconSize = 16;
constexpr int kMargin = 2;

}  // namespace

CStatusPane::CStatusPane(int id, bool bordered, QWidget* parent)
    : QWidget(parent), id_(id), bordered_(bordered) {}

void CStatusPane::SetText(const QString& text) {
    if (text != text_) {
        text_ = text;
        update();
    }
}

void CStatusPane::SetBordered(bool bordered) {
    bordered_ = bordered;
    update();
}

void CStatusPane::SetIcon(const QIcon& icon) {
    icon_ = icon;
    update();
}

void CStatusPane::SetContentWidth(int width) {
    if (width != width_) {
        width_ = width;
        updateGeometry();
        update();
    }
}

QSize CStatusPane::sizeHint() const {
    return QSize(width_ + 2 * kMargin, std::max(kMinimumHeight - 4, fontMetrics().height()));
}

void CStatusPane::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (bordered_) {
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.frameShape = QFrame::Panel;
        frame.state |= QStyle::State_Sunken;
        frame.lineWidth = 1;
        style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
    }
    int x = kMargin;
    if (!icon_.isNull()) {
        icon_.paint(&painter, QRect(x, (height() - kIconSize) / 2, kIconSize, kIconSize));
        x += kIconSize + 2 * kMargin;
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(x, 0, width() - x, height()), Qt::AlignVCenter | Qt::AlignLeft, text_);
}

CVorlinStatusBar::CVorlinStatusBar(int barId, QWidget* parent) : QStatusBar(parent), barId_(barId) {
    setMinimumHeight(kMinimumHeight);
}

void CVorlinStatusBar::SetIndicators(const std::vector<int>& ids) {
    for (CStatusPane* pane : panes_) {
        if (pane != nullptr) {
            removeWidget(pane);
            delete pane;
        }
    }
    panes_.clear();
    ids_ = ids;
    for (size_t i = 0; i < ids.size(); ++i) {
        if (i == 0 && ids[i] == 0) {
            panes_.push_back(nullptr);
            continue;
        }
        auto* pane = new CStatusPane(ids[i], true, this);
        addPermanentWidget(pane);
        panes_.push_back(pane);
        const QString text = QString::fromStdString(LoadString(ids[i]));
        pane->SetText(text);
        pane->SetContentWidth(TextWidth(text));
    }
}

CStatusPane* CVorlinStatusBar::PaneAt(int index) const {
    return index >= 0 && index < PaneCount() ? panes_[static_cast<size_t>(index)] : nullptr;
}

void CVorlinStatusBar::SetPaneInfoFromText(int index, int id, unsigned style, const QString& text) {
    if (index < 0 || index >= PaneCount()) {
        return;
    }
    ids_[static_cast<size_t>(index)] = id;
    if (CStatusPane* pane = PaneAt(index)) {
        pane->SetContentWidth(TextWidth(text));
        pane->SetBordered((style & kNoBorders) == 0);
    }
}

void CVorlinStatusBar::SetPaneInfoFromString(int index, int id, unsigned style, int stringId) {
    SetPaneInfoFromText(index, id, style, QString::fromStdString(LoadString(stringId)));
}

bool CVorlinStatusBar::SetPaneTextSized(int index, const QString& text, bool growOnly) {
    CStatusPane* pane = PaneAt(index);
    if (pane == nullptr || pane->Text() == text) {
        return false;
    }
    const int width = TextWidth(text);
    pane->SetContentWidth(growOnly ? std::max(pane->ContentWidth(), width) : width);
    pane->SetText(text);
    return true;
}

void CVorlinStatusBar::SetPaneText(int index, const QString& text) {
    if (CStatusPane* pane = PaneAt(index)) {
        pane->SetText(text);
    } else if (index == 0) {
        showMessage(text);
    }
}

void CVorlinStatusBar::SetPaneWidth(int index, int width) {
    if (CStatusPane* pane = PaneAt(index)) {
        pane->SetContentWidth(width);
    }
}

void CVorlinStatusBar::SetPaneIcon(int index, const QIcon& icon) {
    if (CStatusPane* pane = PaneAt(index)) {
        pane->SetIcon(icon);
    }
}

QString CVorlinStatusBar::PaneText(int index) const {
    if (const CStatusPane* pane = PaneAt(index)) {
        return pane->Text();
    }
    return index == 0 ? currentMessage() : QString();
}

int CVorlinStatusBar::PaneWidth(int index) const {
    const CStatusPane* pane = PaneAt(index);
    return pane != nullptr ? pane->ContentWidth() : 0;
}

int CVorlinStatusBar::PaneId(int index) const {
    return index >= 0 && index < PaneCount() ? ids_[static_cast<size_t>(index)] : 0;
}

const CStatusPane* CVorlinStatusBar::Pane(int index) const {
    return PaneAt(index);
}

int CVorlinStatusBar::TextWidth(const QString& text) const {
    return fontMetrics().horizontalAdvance(text);
}

int CVorlinStatusBar::HelpHitTest(const QPoint& point, int listHelpKind) const {
    int hit = barId_;
    for (int i = 0; i < PaneCount(); ++i) {
        const CStatusPane* pane = PaneAt(i);
        if (pane != nullptr && pane->isVisible() && pane->geometry().contains(point)) {
            hit = PaneId(i);
            break;
        }
    }
    hit += listHelpKind * 65536;
    return hit != 0 ? (hit | kHelpHitBits) : 0;
}

bool CVorlinStatusBar::RequestHelpAt(const QPoint& point) const {
    const int id = HelpHitTest(point, listHelpKind_ ? listHelpKind_() : 0);
    CVorlinDialog::EndHelpMode();
    if (id == 0) {
        return false;
    }
    CVorlinDialog::RequestHelp(static_cast<uint32_t>(id), help::kContext);
    return true;
}

bool CVorlinStatusBar::RequestHelpUnderCursor(const QWidget* window) {
    const QPoint at = QCursor::pos();
    for (QWidget* w = QApplication::widgetAt(at); w != nullptr; w = w->parentWidget()) {
        if (const auto* bar = dynamic_cast<const CVorlinStatusBar*>(w)) {
            return bar->window() == window && bar->RequestHelpAt(bar->mapFromGlobal(at));
        }
    }
    return false;
}

bool CVorlinStatusBar::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::QueryWhatsThis:
            // Every point of the bar has help: help mode shows so over it.
            event->accept();
            return true;
        case QEvent::WhatsThis:
            RequestHelpAt(static_cast<QHelpEvent*>(event)->pos());
            event->accept();
            return true;
        default:
            return QStatusBar::event(event);
    }
}

}  // namespace corvane

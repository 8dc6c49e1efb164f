#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

#include "graphics/CaptionObj.h"
#include "graphics/GraphicLayout.h"
#include "graphics/IcomObj.h"
#include "graphics/TrunkSetObj.h"
#include "presentation/HelpService.h"
#include "ui/VorlinDialog.h"
#include "ui/views/VorlinScrollView.h"

namespace corvane {
namespace {

constexpr uint32_t kHelpHitBase = 0x80C50000;
// Tool tips tell at most this many characters of a caption.
constexpr int kMaxTipLength = 79;
constexpr int kTipArea = 10;

KeyFlags KeysOf(const QMouseEvent* event) {
    return {(event->modifiers() & Qt::ControlModifier) != 0,
            (event->modifiers() & Qt::ShiftModifier) != 0};
}

GraphicPoint ToGraphic(const QPoint& p) {
    return {p.x(), p.y()};
}

}  // namespace

void CVorlinScrollView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const CLayoutPointer::Effect effect =
        pointer_.Press(Layout(), ToGraphic(LogicalPoint(event->position().toPoint())),
                       KeysOf(event), IsEditing(), Options());
    if (effect.changed) {
        Refresh();
    }
}

void CVorlinScrollView::mouseMoveEvent(QMouseEvent* event) {
    if (!IsEditing()) {
        return;
    }
    const CLayoutPointer::Effect effect =
        pointer_.Move(Layout(), ToGraphic(LogicalPoint(event->position().toPoint())), Options());
    if (effect.moved) {
        SetModified(true);
        GrowTotalToExtent();
    }
    if (effect.changed) {
        Refresh();
    } else if (effect.band) {
        viewport()->update();
    }
}

void CVorlinScrollView::mouseReleaseEvent(QMouseEvent* event) {
    const GraphicPoint point = ToGraphic(LogicalPoint(event->position().toPoint()));
    if (event->button() == Qt::LeftButton) {
        const CLayoutPointer::Effect effect =
            pointer_.Release(IsEditing() ? Layout() : nullptr, point, KeysOf(event), Options());
        if (effect.changed) {
            Refresh();
        } else if (effect.band) {
            viewport()->update();
        }
        return;
    }
    if (event->button() != Qt::RightButton || (event->buttons() & Qt::LeftButton) != 0) {
        return;
    }
    CGraphicLayout* layout = Layout();
    if (pointer_.SelectAt(layout, point, {}, Options()).changed) {
        Refresh();
    }
    OpenContextMenu(pointer_.HitObject(layout), event->globalPosition().toPoint());
}

bool CVorlinScrollView::ShowCaptionTip(const QPoint& viewportPos, const QPoint& globalPos) {
    const CGraphicLayout* layout = Layout();
    if (layout == nullptr) {
        return false;
    }
    const GraphicOptions options = Options();
    const GraphicHit hit = layout->HitTestAll(ToGraphic(LogicalPoint(viewportPos)), options);
    // The hit object's own caption: a caption's key alone could be a box's or a set's.
    const CCaptionObj* caption = nullptr;
    if (const auto* intercom = GraphicCast<CIcomObj>(hit.object)) {
        caption = intercom->Caption();
    } else if (const auto* trunkSet = GraphicCast<CTrunkSetObj>(hit.object)) {
        caption = trunkSet->Caption();
    }
    if (caption == nullptr || caption->IsVisible(options)) {
        return false;
    }
    const QString text = QString::fromStdString(caption->GetText()).left(kMaxTipLength);
    QToolTip::showText(
        globalPos, text, viewport(),
        QRect(viewportPos - QPoint(kTipArea / 2, kTipArea / 2), QSize(kTipArea, kTipArea)));
    return true;
}

bool CVorlinScrollView::viewportEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::ToolTip: {
            const auto* help = static_cast<QHelpEvent*>(event);
            if (!ShowCaptionTip(help->pos(), help->globalPos())) {
                QToolTip::hideText();
            }
            return true;
        }
        case QEvent::WhatsThis: {
            const auto* help = static_cast<QHelpEvent*>(event);
            const CGraphicLayout* layout = Layout();
            const GraphicHit hit =
                layout != nullptr
                    ? layout->HitTestAll(ToGraphic(LogicalPoint(help->pos())), Options())
                    : GraphicHit{};
            const uint32_t id = hit.code == HitCode::Nothing
                                    ? static_cast<uint32_t>(kHelpContext)
                                    : kHelpHitBase + static_cast<uint32_t>(hit.code);
            CVorlinDialog::RequestHelp(id, help::kContextPopup);
            return true;
        }
        default:
            return QAbstractScrollArea::viewportEvent(event);
    }
}

}  // namespace corvane

#include "ui/views/QtGraphicPainter.h"

namespace corvane {
namespace {

// The rectangle a one-unit outline runs around so that it stays inside the half-open one.
QRect InsideOutline(const GraphicRect& r) {
    return QRect(r.left, r.top, r.Width() - 1, r.Height() - 1);
}

}  // namespace

CQtGraphicPainter::CQtGraphicPainter(QPainter& painter)
    : painter_(painter), metrics_(painter.font()) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

QColor CQtGraphicPainter::ToQColor(ColorRef color) {
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

void CQtGraphicPainter::Ellipse(const GraphicRect& rect, ColorRef outline, ColorRef fill) {
    if (rect.Width() < 1 || rect.Height() < 1) {
        return;
    }
    painter_.save();
    painter_.setPen(QPen(ToQColor(outline), 1));
    painter_.setBrush(ToQColor(fill));
    painter_.drawEllipse(InsideOutline(rect));
    painter_.restore();
}

void CQtGraphicPainter::Line(GraphicPoint from, GraphicPoint to, int width, ColorRef color,
                             LineStyle style) {
    painter_.save();
    if (style == LineStyle::Dotted) {
        QPen pen(ToQColor(color), 1, Qt::CustomDashLine, Qt::FlatCap);
        pen.setDashPattern({1, 1});
        painter_.setPen(pen);
    } else {
        painter_.setPen(
            QPen(ToQColor(color), std::max(width, 1), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    painter_.drawLine(QPoint(from.x, from.y), QPoint(to.x, to.y));
    painter_.restore();
}

GraphicSize CQtGraphicPainter::TextExtent(const std::string& text) {
    return {metrics_.horizontalAdvance(QString::fromStdString(text)), metrics_.height()};
}

void CQtGraphicPainter::Text(const GraphicRect& rect, const std::string& text, ColorRef textColor,
                             ColorRef background) {
    painter_.save();
    painter_.setPen(ToQColor(textColor));
    painter_.setBackgroundMode(Qt::OpaqueMode);
    painter_.setBackground(ToQColor(background));
    painter_.drawText(QRect(rect.left, rect.top, rect.Width(), rect.Height()),
                      Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip,
                      QString::fromStdString(text));
    painter_.restore();
}

void CQtGraphicPainter::Frame(const GraphicRect& rect, ColorRef color) {
    if (rect.Width() < 1 || rect.Height() < 1) {
        return;
    }
    painter_.save();
    painter_.setPen(QPen(ToQColor(color), 1));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(InsideOutline(rect));
    painter_.restore();
}

}  // namespace corvane

#include "ui/views/QtGraphicPainter.h"

#include <algorithm>
#include <vector>

namespace corvane {
namespace {

// The rectangle a one-unit outline runs around so that it stays inside the half-open one.
QRect InsideOutline(const GraphicRect& r) {
    return QRect(r.left, r.top, r.Width() - 1, r.Height() - 1);
}

// A one-unit pen draws the same pixels as a cosmetic one, which Qt draws faster.
QPen OneUnitPen(const QColor& color) {
    QPen pen(color, 1);
    pen.setCosmetic(true);
    return pen;
}

}  // namespace

const QImage& CCaptionStamps::Stamp(const std::string& text, QColor textColor, QColor background,
                                    const QFont& font, qreal pixelRatio) {
    if (font != font_ || pixelRatio != pixelRatio_) {
        font_ = font;
        pixelRatio_ = pixelRatio;
        stamps_.clear();
        bytes_ = 0;
    }
    const QRgb colours[] = {textColor.rgba(), background.rgba()};
    key_.assign(text);
    key_.append(reinterpret_cast<const char*>(colours), sizeof(colours));
    ++uses_;
    auto it = stamps_.find(key_);
    if (it == stamps_.end()) {
        const QFontMetrics metrics(font);
        QString shown = QString::fromStdString(text);
        const int width = Width(metrics, shown);
        if (width == kMaxWidth) {
            shown = metrics.elidedText(shown, Qt::ElideRight, width);
        }
        const QSize size(std::max(width, 1), std::max(metrics.height(), 1));
        QImage stamp(size * pixelRatio, QImage::Format_ARGB32_Premultiplied);
        stamp.setDevicePixelRatio(pixelRatio);
        stamp.fill(background);
        QPainter painter(&stamp);
        painter.setFont(font);
        painter.setPen(textColor);
        painter.drawText(QRect(QPoint(0, 0), size),
                         Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip, shown);
        painter.end();
        while (!stamps_.empty() &&
               (stamps_.size() >= kMaxStamps || bytes_ + stamp.sizeInBytes() > kMaxBytes)) {
            DropOlderHalf();
        }
        bytes_ += stamp.sizeInBytes();
        it = stamps_.emplace(key_, Entry{std::move(stamp), 0}).first;
    }
    it->second.lastUse = uses_;
    return it->second.image;
}

int CCaptionStamps::Width(const QFontMetrics& metrics, const QString& text) {
    return std::min(metrics.horizontalAdvance(text), kMaxWidth);
}

void CCaptionStamps::DropOlderHalf() {
    std::vector<uint64_t> uses;
    uses.reserve(stamps_.size());
    for (const auto& [key, entry] : stamps_) {
        uses.push_back(entry.lastUse);
    }
    // The newest of the older half; with one stamp, that one.
    const auto newestDropped =
        uses.begin() + static_cast<std::ptrdiff_t>((uses.size() + 1) / 2 - 1);
    std::nth_element(uses.begin(), newestDropped, uses.end());
    const uint64_t limit = *newestDropped;
    std::erase_if(stamps_, [&](const auto& stamp) {
        if (stamp.second.lastUse > limit) {
            return false;
        }
        bytes_ -= stamp.second.image.sizeInBytes();
        return true;
    });
}

CQtGraphicPainter::CQtGraphicPainter(QPainter& painter, CCaptionStamps& stamps)
    : painter_(painter), stamps_(stamps), metrics_(painter.font()) {
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, false);
    raster_ = CImageRaster::For(painter_);
}

CQtGraphicPainter::~CQtGraphicPainter() {
    painter_.restore();
}

QColor CQtGraphicPainter::ToQColor(ColorRef color) {
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

void CQtGraphicPainter::Ellipse(const GraphicRect& rect, ColorRef outline, ColorRef fill) {
    if (rect.Width() < 1 || rect.Height() < 1) {
        return;
    }
    painter_.setPen(OneUnitPen(ToQColor(outline)));
    painter_.setBrush(ToQColor(fill));
    painter_.drawEllipse(InsideOutline(rect));
}

void CQtGraphicPainter::Line(GraphicPoint from, GraphicPoint to, int width, ColorRef color,
                             LineStyle style) {
    const bool dotted = style == LineStyle::Dotted;
    if ((dotted || width <= 1) && raster_) {
        raster_->Line({from.x, from.y}, {to.x, to.y}, ToQColor(color).rgb(), dotted);
        return;
    }
    if (dotted) {
        QPen pen = OneUnitPen(ToQColor(color));
        pen.setStyle(Qt::CustomDashLine);
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern({1, 1});
        painter_.setPen(pen);
    } else if (width <= 1) {
        painter_.setPen(OneUnitPen(ToQColor(color)));
    } else {
        painter_.setPen(QPen(ToQColor(color), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    painter_.drawLine(QPoint(from.x, from.y), QPoint(to.x, to.y));
}

GraphicSize CQtGraphicPainter::TextExtent(const std::string& text) {
    return {CCaptionStamps::Width(metrics_, QString::fromStdString(text)), metrics_.height()};
}

void CQtGraphicPainter::Text(const GraphicRect& rect, const std::string& text, ColorRef textColor,
                             ColorRef background) {
    const QImage& stamp = stamps_.Stamp(text, ToQColor(textColor), ToQColor(background),
                                        painter_.font(), painter_.device()->devicePixelRatioF());
    const QSize size = stamp.deviceIndependentSize().toSize();
    painter_.drawImage(QPoint(rect.left + (rect.Width() - size.width()) / 2,
                              rect.top + (rect.Height() - size.height()) / 2),
                       stamp);
}

void CQtGraphicPainter::Frame(const GraphicRect& rect, ColorRef color) {
    if (rect.Width() < 1 || rect.Height() < 1) {
        return;
    }
    if (raster_) {
        raster_->Frame(QRect(rect.left, rect.top, rect.Width(), rect.Height()),
                       ToQColor(color).rgb());
        return;
    }
    painter_.setPen(OneUnitPen(ToQColor(color)));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(InsideOutline(rect));
}

}  // namespace corvane

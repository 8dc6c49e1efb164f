#pragma once

#include <QHeaderView>
#include <QPixmap>

namespace corvane {

// The column header of the program's lists. The sorted column shows, right of its text, the
// program's arrow: bitmap 140 (pointing up) while it sorts ascending, 141 (pointing down)
// while it sorts descending. The sort state is the header's own sort indicator.
class CVorlinHeaderCtrl : public QHeaderView {
    Q_OBJECT

public:
    explicit CVorlinHeaderCtrl(QWidget* parent = nullptr);

    // The arrow the section shows now; an empty pixmap when it shows none.
    const QPixmap& SortArrow(int logicalIndex) const;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    QPixmap ascending_;
    QPixmap descending_;
};

}  // namespace corvane

#pragma once

#include <QSize>
#include <QSplitter>
#include <optional>

#include "ui/views/CommandTarget.h"

namespace corvane {

// The splitter of a child frame: it replaces the view in a pane when the frame switches
// kinds, and offers every command to all its panes.
class CVorlinSplitterWnd : public QSplitter {
    Q_OBJECT

public:
    CVorlinSplitterWnd(Qt::Orientation orientation, QWidget* parent);

    // Puts the view in the pane at index in place of the one there, which is destroyed
    // first. size: the kind's stored pane size; when it is unknown (never set, or 0 x 0) the
    // default is copied into it and used (and when that is unknown too, the splitter shares
    // its room as it likes). The new view keeps the old one's stretch in the splitter.
    // Along the splitter only the size's length counts (height for rows, width for columns),
    // and only for a pane before the last: the last pane takes what the others leave.
    // The new view takes the focus when the old one had it.
    QWidget* ReplaceView(int index, QWidget* view, QSize& size, QSize defaultSize);

    // The command goes to each pane in turn, nested splitters included, until one handles
    // it; false when none did.
    bool RouteCommand(int id);
    std::optional<CommandUi> RouteCommandUpdate(int id) const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Every pane but the last takes its length, the last the rest.
    void ApplyLength(int index, int length);
    void ApplyPending();

    // A length asked for before the splitter had its room: applied once it has it, so that
    // the first layout does not share a frame's starting size out in proportion.
    std::optional<std::pair<int, int>> pending_;
};

}  // namespace corvane

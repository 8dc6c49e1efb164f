#pragma once

#include <QIcon>
#include <QTimer>
#include <cstdint>
#include <optional>
#include <vector>

#include "document/ViewHintBus.h"
#include "presentation/ViewId.h"
#include "ui/VorlinTreeCtrl.h"
#include "ui/views/ChildFrame.h"
#include "ui/views/CommandTarget.h"
#include "ui/views/ViewContext.h"

namespace corvane {

struct NavigationItem;

// The left pane of every child frame: a tree of every view the operator can open (the
// intercoms with their alphas, requests and trunks; all alphas, requests and trunks; the
// trunk conflicts, the alarms and the saved graphical layouts). Selecting an item switches the
// frame to its view, a right click opens it in a new frame; the layout items carry New, Delete
// and Rename. The tree follows the intercoms of the database and the alarm indication through
// the update hints.
class CAllTreeView final : public CVorlinTreeCtrl,
                           public IViewHintReceiver,
                           public INavigationTree,
                           public CCommandTarget {
    Q_OBJECT

public:
    static constexpr int kItemHeight = 24;
    // Item data: the view id, and the image's place in the shared image list.
    static constexpr int kIdRole = Qt::UserRole;
    static constexpr int kImageRole = Qt::UserRole + 1;

    CAllTreeView(const ViewContext& context, CChildFrame& frame, QWidget* parent);
    ~CAllTreeView() override;

    // Once: builds the items and selects "All Requests", which opens the request view unless
    // the frame is to open on another view at once.
    void OnInitialUpdate(bool openSelected = true);
    bool IsInitialised() const { return initialised_; }
    void OnUpdate(IViewHintReceiver* sender, ViewUpdateHint hint,
                  const HintPayload& payload) override;
    // With AutoSynchronizeTreeView, selects the item of the kind and the filter's first two
    // selectors, else of the kind and first selector, without switching the frame.
    void SelectViewItem(ViewKind kind, const CVorlinFilterData* filter) override;

    // Depth first: the start item, its children, then its following siblings; none when no
    // item has the id.
    QTreeWidgetItem* FindItem(QTreeWidgetItem* start, ViewId id) const;
    using CVorlinTreeCtrl::FindItem;
    static ViewId IdOf(const QTreeWidgetItem* item);
    QTreeWidgetItem* RootItem() const { return root_; }
    QTreeWidgetItem* IntercomsItem() const { return intercoms_; }
    QTreeWidgetItem* AlarmsItem() const { return alarms_; }
    QTreeWidgetItem* GraphicalUsageItem() const { return graphical_; }

    // The layout commands, on the selected item.
    void AddSavedView();
    void DeleteSavedView();
    void StartRename();
    // The end of a label edit: the typed text (empty when the edit was cancelled) becomes the
    // layout's name when the name may be used and its file can be renamed.
    void RenameSavedView(QTreeWidgetItem* item, const QString& typed);

    bool OnCommand(int id) override;
    std::optional<CommandUi> OnUpdateCommand(int id) const override;

    // The popup help id of the item under a point of the viewport, or the tree's context.
    uint32_t HelpHitAt(const QPoint& viewportPos) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    // The item with its children, at a place among the parent's children (-1: the end).
    QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, const NavigationItem& item, int at = -1);
    // Among the parent's children in text order.
    QTreeWidgetItem* AddSortedItem(QTreeWidgetItem* parent, const NavigationItem& item);
    // Whether a point of the viewport is on the item's icon or text.
    bool IsOnLabel(const QTreeWidgetItem* item, const QPoint& viewportPos) const;
    void SetImage(QTreeWidgetItem* item, int image);
    void OnCurrentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void SwitchFrameTo(ViewId id);
    void SyncIntercoms();
    void OnLayoutHint(ViewUpdateHint hint, int index);
    QTreeWidgetItem* FindLayoutItem(int index) const;
    // Deletes an item; the frame follows to "Graphical Usage" when it showed the item.
    void DeleteLayoutItem(QTreeWidgetItem* item);
    // The layout index of the selected item, or -1 when it is no layout.
    int SelectedLayoutIndex() const;
    bool IsSavedLayoutSelected() const;
    void SetBold(QTreeWidgetItem* item, bool bold);
    void SaveWidth();
    void OnLabelEditClosed();

    const ViewContext context_;
    CChildFrame& frame_;
    // The shared image list as icons, made once: thousands of items share them.
    std::vector<QIcon> icons_;
    QTreeWidgetItem* root_ = nullptr;
    QTreeWidgetItem* intercoms_ = nullptr;
    QTreeWidgetItem* alarms_ = nullptr;
    QTreeWidgetItem* graphical_ = nullptr;
    bool initialised_ = false;
    // Set while the tree selects an item by itself: the frame does not follow.
    bool programmatic_ = false;
    // The text of a label edit, taken when its editor closes.
    QString pendingLabel_;
    ViewId editedId_ = 0;
    // The width is saved once resizing has paused, not at every step of a drag.
    QTimer widthTimer_;
};

}  // namespace corvane

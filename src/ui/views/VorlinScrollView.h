#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/ViewHintBus.h"
#include "graphics/LayoutModelSource.h"
#include "graphics/LayoutPointer.h"
#include "log/DiagLogSource.h"
#include "ui/views/CommandTarget.h"
#include "ui/views/QtGraphicPainter.h"
#include "ui/views/ViewContext.h"

class QMenu;

namespace corvane {

class CGraphicLayout;
class CGraphicLayouts;
class CVorlinFilterData;
enum class ViewKind : int;
struct AppSettings;
struct LayoutEditResult;

// The graphical trunk-usage picture of one layout: the intercom boxes the operator placed and
// the trunk sets between them, with counts in the display colours, refreshed from the Intercoms
// and TrunkSummary tables when the hints say they changed. The operator selects, drags, shows
// and hides objects while AllowEditOperations is on and the view's Allow changes is set, opens
// the list views of an intercom or a pair from the context menus, and saves the layout.
// Drawing goes to an image first and then to the screen. The layout itself belongs to the
// program's layouts (ViewContext::layouts) and is looked up by its index at every use.
class CVorlinScrollView final : public QAbstractScrollArea,
                                public IViewHintReceiver,
                                public CCommandTarget {
    Q_OBJECT

public:
    static constexpr int kHelpContext = 0x200C5;
    // The scroll total before a layout gives more.
    static constexpr int kInitialTotal = 50;

    // Commands of the context menus.
    static constexpr int kShowHiddenIntercoms = 32804;
    static constexpr int kShowTrunkCaptions = 32856;
    static constexpr int kHideTrunkCaptions = 32857;
    static constexpr int kViewTrunks = 32788;
    static constexpr int kViewRequests = 32787;
    static constexpr int kViewSummary = 32790;
    static constexpr int kAllOtherVisible = 32837;
    static constexpr int kHideIntercom = 32838;
    static constexpr int kShowIntercomCaption = 32840;
    static constexpr int kHideIntercomCaption = 32841;
    static constexpr int kViewPairTrunks = 32842;
    static constexpr int kViewPairRequests = 32843;
    static constexpr int kHideTrunkSet = 32845;
    static constexpr int kShowTrunkCaption = 32846;
    static constexpr int kHideTrunkCaption = 32847;
    // 33000 + an intercom's number: show it (background menu) or its set (intercom menu).
    static constexpr int kIntercomCommandBase = 33000;

    CVorlinScrollView(const ViewContext& context, QWidget* parent);
    ~CVorlinScrollView() override;

    // The layout shown, and the name its Save writes under; the frame sets both before the
    // initial update.
    void SetLayoutIndex(int index);
    int LayoutIndex() const { return layoutIndex_; }
    int SavedIndex() const { return savedIndex_; }
    // None while the layout does not exist (a deleted one, or an index without a name).
    CGraphicLayout* Layout() const;

    // Once, when the frame has placed it: the recordsets, the layout from its file and the
    // captions and counts from the database.
    void OnInitialUpdate();
    bool IsInitialised() const { return initialised_; }
    void OnUpdate(IViewHintReceiver* sender, ViewUpdateHint hint,
                  const HintPayload& payload) override;

    // Save, Save As, Allow changes, Undo changes, Select all.
    bool OnCommand(int id) override;
    std::optional<CommandUi> OnUpdateCommand(int id) const override;

    // AllowEditOperations on and Allow changes set.
    bool IsEditing() const;
    bool AllowsChanges() const { return allowChanges_; }
    // "Graphical Trunk Usage - <name>", or without the name for the default layout, and " *"
    // while the layout has unsaved changes.
    static QString FrameTitle(CGraphicLayouts& layouts, int index);
    // The scrolled area: never smaller than it was, grown to the layout's extent.
    QSize TotalSize() const { return total_; }
    // The part of the picture in the logical rectangle (the scroll position added), as the
    // screen gets it.
    void Render(QPainter& painter, const QRect& logical) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    AppSettings Settings() const;
    GraphicOptions Options() const;
    QPoint LogicalPoint(const QPoint& viewportPos) const;
    // The picture changed: repaint here and tell the other views of the layout.
    void Refresh();
    // Stores the layout's modified flag; a change retitles every view's frame.
    void SetModified(bool modified);
    void UpdateFrameTitle();
    // Reads the layout when it needs it; a missing file is written empty.
    bool LoadLayout(int index);
    void GrowTotalToExtent();
    void UpdateScrollBars();
    // Applies what an edit did: modified flag, repaint, the first database error.
    void TakeEdit(const LayoutEditResult& result);
    void Report(const std::vector<LayoutModelError>& errors);
    // Writes the layout under its saved name: the operator's Save, or (automatic) the
    // program's own, as when the view goes.
    void WriteLayout(bool automatic);
    void SaveLayoutAs();
    void UndoChanges();

    // The context menus and their commands (VorlinScrollViewMenus.cpp).
    void OpenContextMenu(const GraphicHit& hit, const QPoint& globalPos);
    void FillBackgroundMenu(QMenu& menu);
    void FillIntercomMenu(QMenu& menu, int number);
    void FillTrunkSetMenu(QMenu& menu, int32_t key);
    // The intercoms in name order; a database error is reported, what was read is kept.
    std::vector<LayoutModelSource::IntercomEntry> IntercomsByName();
    void RunBackgroundCommand(int id);
    void RunIntercomCommand(int id, int number);
    // key: the pair key of the set.
    void RunTrunkSetCommand(int id, int32_t key);
    // Once the menu's event is over: the switch replaces this view.
    void SwitchFrame(ViewKind kind, std::unique_ptr<CVorlinFilterData> filter);
    // The tool tip of a box or set whose caption is hidden.
    bool ShowCaptionTip(const QPoint& viewportPos, const QPoint& globalPos);

    const ViewContext context_;
    CDiagLogSource log_{"GraphicalView", "Graphical Trunk Usage View", 0};
    // The recordsets on the document's database, or a source that finds nothing.
    std::unique_ptr<LayoutModelSource> model_;
    CLayoutPointer pointer_;
    int layoutIndex_ = 0;
    int savedIndex_ = 0;
    bool allowChanges_ = false;
    bool initialised_ = false;
    bool leaving_ = false;
    // Save As: this view's leaving writes the layout under the new name whatever the setting.
    bool saveAsPending_ = false;
    QSize total_{kInitialTotal, kInitialTotal};
    QImage buffer_;
    mutable CCaptionStamps stamps_;
};

}  // namespace corvane

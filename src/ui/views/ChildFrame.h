#pragma once

#include <QMdiSubWindow>
#include <QSize>
#include <array>
#include <memory>
#include <optional>

#include "presentation/ViewKind.h"
#include "store/ListRecordsets.h"
#include "ui/views/CommandTarget.h"
#include "ui/views/ViewContext.h"

namespace corvane {

class CVorlinFilterData;
class CVorlinFormView;
class CVorlinListView;
class CVorlinScrollView;
class CVorlinSplitterWnd;
class CVorlinStatusBar;

// A pane that lists every view of the frame and selects the item of a kind and filter.
class INavigationTree {
public:
    virtual ~INavigationTree() = default;
    virtual void SelectViewItem(ViewKind kind, const CVorlinFilterData* filter) = 0;
};

// The multiple-document child window: the navigation tree on the left and, on the right, the
// filter form of one kind of data over its list (or the graphical picture), with two info
// bars below that show the list's counts. SetViewKind switches the frame from one kind to
// another, keeping the panes whose class does not change.
class CChildFrame : public QMdiSubWindow, public CCommandTarget {
    Q_OBJECT

public:
    static constexpr int kDefaultFormHeight = 178;
    static constexpr int kDefaultTreeWidth = 190;
    static constexpr const char* kBarStateFormat = "Preferences\\ToolBars\\View%d\\";

    // A new frame; its tree selects "All Requests", which opens the request view.
    explicit CChildFrame(const ViewContext& context, QWidget* parent = nullptr);
    // A new frame opened on a kind with a filter (as SetViewKind): the tree's "All Requests"
    // is selected without being opened, so that only the kind's rows are read.
    CChildFrame(const ViewContext& context, ViewKind kind, const CVorlinFilterData* filter,
                QWidget* parent = nullptr);
    ~CChildFrame() override;

    // The frame a widget is in, or none.
    static CChildFrame* Of(const QWidget* widget);

    ViewKind Kind() const { return kind_; }
    // filter: none, or the filter the new kind's form takes (its selectors and changed byte);
    // for the graphical kind its first selector is the layout index.
    void SetViewKind(ViewKind kind, const CVorlinFilterData* filter);
    // The same once the current event is over, for a pane the switch may replace.
    void SwitchViewKindLater(ViewKind kind, std::unique_ptr<CVorlinFilterData> filter);

    QWidget* TreeView() const { return tree_; }
    CVorlinFormView* FormView() const { return form_; }
    CVorlinListView* ListView() const { return list_; }
    CVorlinScrollView* GraphicalView() const { return graphical_; }
    CListRecordset* ListRecordset() const { return recordset_.get(); }
    CVorlinStatusBar& InfoBar(int index) const { return *infoBars_[index]; }
    CVorlinSplitterWnd& InnerSplitter() const { return *inner_; }

    // Hides both info bars, stores how many the form offers and shows those the saved bar
    // state shows.
    void ReloadInfoBars();
    // The info bars' panes show the list's ten texts.
    void UpdateInfoBars();

    // The frame's own commands first, then every pane's.
    bool RouteCommand(int id);
    std::optional<CommandUi> RouteCommandUpdate(int id) const;
    bool OnCommand(int id) override;
    std::optional<CommandUi> OnUpdateCommand(int id) const override;

    // F6 and Shift+F6: the tree, the form, the list, and round again.
    void ActivateNextPane(bool forward);
    // The last child frame stays: close it only while another is open.
    bool CanClose() const;

signals:
    void KindChanged(ViewKind kind);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct PaneSizes {
        // 0 x 0 until known (a default QSize is -1 x -1, which would pass for a size).
        QSize form{0, 0};
        QSize list{0, 0};
    };
    static std::array<PaneSizes, 9>& KindPaneSizes();
    static PaneSizes& DefaultPaneSizes();
    void CreateClient();
    void StorePaneSizes();
    void ToggleInfoBar(int barId);
    void SaveBarState();
    QString BarStatePrefix() const;

    const ViewContext context_;
    ViewKind kind_ = ViewKind::None;
    CVorlinSplitterWnd* outer_ = nullptr;
    CVorlinSplitterWnd* inner_ = nullptr;
    std::array<CVorlinStatusBar*, 2> infoBars_{};
    QWidget* tree_ = nullptr;
    CVorlinFormView* form_ = nullptr;
    CVorlinListView* list_ = nullptr;
    CVorlinScrollView* graphical_ = nullptr;
    std::unique_ptr<CListRecordset> recordset_;
    ViewKind recordsetKind_ = ViewKind::None;
};

}  // namespace corvane

#pragma once

#include <QTableView>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "document/ViewHintBus.h"
#include "presentation/DocumentNames.h"
#include "presentation/ViewKind.h"
#include "store/ListQueries.h"
#include "store/ListRequestFinder.h"
#include "ui/views/CommandTarget.h"
#include "ui/views/ListTableModel.h"
#include "ui/views/ViewContext.h"

class QMenu;

namespace corvane {

class CVorlinFilterData;
struct CVorlinSortData;

// The base of every list pane: the rows of the kind's list recordset, which the child frame
// owns and hands over, shown by a model that reads only the rows on screen. It keeps column
// widths and order per kind in the profile, hides columns, sorts by header click through the
// sort hint, keeps the selection across requeries, shades alternate lines and offers ten
// info-bar texts. The kinds add their query, filter, totals, column effects and commands.
class CVorlinListView : public QTableView,
                        public IViewHintReceiver,
                        public CCommandTarget,
                        public IListRows {
    Q_OBJECT

public:
    CVorlinListView(const ViewContext& context, ViewKind kind, QWidget* parent);
    ~CVorlinListView() override;

    ViewKind Kind() const { return kind_; }
    // Keeps the recordset when it is of the kind's class.
    void SetRecordset(CListRecordset* recordset);
    CListRecordset* GetRecordset() const { return recordset_; }
    virtual uint32_t GetHelpId() const;
    // Texts 1 to 10 of the frame's info bars; empty unless the kind says otherwise.
    virtual QString GetInfoText(int number) const;

    // Once, after the frame connected the panes: opens the query, loads the column layout,
    // applies the kind's sort state and handles the opening hint.
    virtual void OnInitialUpdate();
    bool IsInitialised() const { return initialised_; }
    void OnUpdate(IViewHintReceiver* sender, ViewUpdateHint hint,
                  const HintPayload& payload) override;
    // The update handler, then the sending form's frame title.
    void UpdateWithForm(IViewHintReceiver* sender, ViewUpdateHint hint, const HintPayload& payload);

    // A header click: the same column toggles the direction, another sorts ascending, a
    // negative one clears the sort.
    void SetSortColumn(int column);
    int SortColumn() const { return sortColumn_; }
    bool SortAscending() const { return ascending_; }
    void ShowColumn(int column, bool hide);
    bool IsColumnHidden(int column) const;
    void LoadColumnLayout();
    void SaveColumnLayout();

    // Requeries and selects again the rows that were selected, by their keys.
    void RequeryKeepingSelection();

    CListTableModel& Model() const { return *model_; }
    const CListColumnPositions& Positions() const { return positions_; }
    // Selected rows, top to bottom.
    std::vector<int> SelectedRows() const;

    // IListRows
    int FindSelectedRow(int from) const override;
    int SelectedCount() const override;
    std::string CellText(int row, int column) const override;

    // The kind's context menu for the selected rows; none when they offer none.
    virtual std::unique_ptr<QMenu> CreateContextMenu();

    // Select all (the edit command) selects every row.
    bool OnCommand(int id) override;
    std::optional<CommandUi> OnUpdateCommand(int id) const override;

signals:
    // The totals or counts changed: the frame shows the info texts again.
    void InfoTextsChanged();

protected:
    // --- What the kinds decide. ---
    virtual bool AcceptsRecordset(const CListRecordset& recordset) const = 0;
    virtual ListQuery Query() const = 0;
    // The recordset's sort text for a display column and direction: the column number (or
    // the column the kind sorts it by) and the key column.
    virtual std::string SortText(int column, bool ascending) const;
    // The filter payload: the recordset's filter (and the kind's totals).
    virtual void ApplyFilter(const CVorlinFilterData& filter) {}
    // Bits with effects on columns or the frame, after a requery.
    virtual void ApplyColumnEffects(ViewUpdateHint hint) {}
    // Bits that act before the kind's repaint gate (the alarm list's frame icon).
    virtual void BeforeGate(ViewUpdateHint hint) {}
    // Re-reads the kind's totals after a repaint.
    virtual void ReadTotals() {}
    virtual bool KeepsSelectionOnRequery() const { return true; }
    // Right click (doubleClick false) or double click on the list: the kind's menu is shown,
    // or its default command runs.
    virtual void OnContextMenu(const QPoint& globalPos, bool doubleClick);
    // A command of the kind's context menu.
    virtual void OnMenuCommand(int id) {}

    // A menu item that runs OnMenuCommand(id).
    QAction* AddMenuCommand(QMenu& menu, int id, const QString& text);
    // Switches this view's frame to another kind with a filter, once the current event is
    // over (the switch may replace this view).
    void SwitchFrame(ViewKind kind, std::unique_ptr<CVorlinFilterData> filter);
    // The number in a recorded column of a row (its intercom, trunk or id); INT_MAX when the
    // cell holds none.
    int RowNumber(int row, size_t positionItem) const;
    // Each kind shares its sort state and pane size among its views.
    struct KindState {
        int sortColumn = -1;
        bool ascending = true;
    };
    static KindState& SharedState(ViewKind kind);

    // A screen reader hears of the current cell and the selection by the numbers of the
    // list's own accessible table, which holds the rows on screen only.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

    const ViewContext context_;
    const CDocumentNames names_;
    CListColumnPositions positions_;

private:
    void OnSectionClicked(int column);
    void OnHandleDoubleClicked(int column);
    // Fits columns to their header and the rows the list reads first, plus the extra room,
    // without the room of the sort arrow.
    void FitColumns(const std::vector<int>& columns);
    // The columns fitted to their header alone are fitted again once the rows a fit measures
    // show text in them.
    void FitColumnsFittedToHeaderOnly();
    // Whether any row on screen shows text in the column.
    bool RowsShowText(int column) const;
    void ApplySort(const CVorlinSortData& sort);
    int HelpHitAt(const QPoint& viewportPos) const;

    const ViewKind kind_;
    CListTableModel* model_;
    CListRecordset* recordset_ = nullptr;
    bool initialised_ = false;
    bool opening_ = false;  // in the first update
    // The sort and filter texts of the rows last read during the first update.
    std::pair<std::string, std::string> rowsRead_;
    std::vector<int> hiddenWidths_;  // -1 while the column is shown
    // Columns without a saved width fitted while no row they were fitted to showed text in
    // them (the list had none, or their cells were empty), and not sized by the operator
    // since: their widths are never saved.
    std::vector<bool> fittedToHeaderOnly_;
    bool sizing_ = false;  // the view itself sets a width
    std::vector<int> savedOrder_;
    int sortColumn_ = -1;
    bool ascending_ = true;
};

}  // namespace corvane

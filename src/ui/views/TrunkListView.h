#pragma once

#include <memory>

#include "model/ListRowKeys.h"
#include "presentation/TrunkListTotals.h"
#include "ui/views/VorlinListView.h"

class QMenu;

namespace corvane {

// The trunks: their ends, state, test results and switches, with the counts per state, per
// test result and out of service in the info bars, and the operator's commands for testing
// and maintenance. The test columns show only with an audio analyzer, the out-of-service
// column only when the controller reports that state.
class CTrunkListView final : public CVorlinListView {
    Q_OBJECT

public:
    // Display columns.
    static constexpr int kColumnOutOfService = 2;
    static constexpr int kTestColumns[] = {9, 10, 11, 18, 19, 20};

    CTrunkListView(const ViewContext& context, QWidget* parent);
    ~CTrunkListView() override;

    QString GetInfoText(int number) const override;

    // The context menu for the selected rows; none without one.
    std::unique_ptr<QMenu> CreateContextMenu() override;
    // A command of the context menu, on the selected rows.
    void OnMenuCommand(int id) override;

protected:
    bool AcceptsRecordset(const CListRecordset& recordset) const override;
    ListQuery Query() const override;
    void ApplyFilter(const CVorlinFilterData& filter) override;
    void ApplyColumnEffects(ViewUpdateHint hint) override;
    void ReadTotals() override;

private:
    SelectedTrunkRow ReadRow(int row) const;
    std::string CellOf(int row, size_t positionItem) const;
    void TestTrunkNow(const SelectedTrunkRow& row);
    // Asks an OK / Cancel question about a trunk; true for OK.
    bool ConfirmTest(int stringId, int trunk) const;
    void ViewRequests(int trunk);

    // Whether the frame shows the info bar (a list outside a frame shows them all).
    bool IsBarShown(CTrunkListTotals::Bar bar) const;

    // Read when the info bars ask for their texts.
    mutable CTrunkListTotals totals_;
};

}  // namespace corvane

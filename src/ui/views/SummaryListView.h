#pragma once

#include <memory>

#include "store/TotalsRecordsets.h"
#include "ui/views/VorlinListView.h"

class QMenu;

namespace corvane {

// The trunk summary: for one intercom its trunks to each other intercom, or for every
// intercom its own totals, counted by state, with the sums in the info bars and the commands
// that open the views of a row's intercom.
class CSummaryListView final : public CVorlinListView {
    Q_OBJECT

public:
    // "# Out-Of-Service", shown only while the controller has the out-of-service state.
    static constexpr int kOutOfServiceColumn = 6;

    CSummaryListView(const ViewContext& context, QWidget* parent);
    ~CSummaryListView() override;

    QString GetInfoText(int number) const override;
    // The menu of the selected row, none when no row is selected.
    std::unique_ptr<QMenu> CreateContextMenu() override;

protected:
    bool AcceptsRecordset(const CListRecordset& recordset) const override;
    ListQuery Query() const override;
    void ApplyFilter(const CVorlinFilterData& filter) override;
    void ApplyColumnEffects(ViewUpdateHint hint) override;
    void ReadTotals() override;
    void OnMenuCommand(int id) override;

private:
    bool HasOutOfServiceState() const;
    // The selected row's intercom, INT_MAX when none is selected.
    int SelectedIntercom() const;

    std::unique_ptr<CSummaryStatusRS> totals_;
    int divisor_ = 1;
};

}  // namespace corvane

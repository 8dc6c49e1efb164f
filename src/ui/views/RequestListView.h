#pragma once

#include <QPointer>
#include <memory>

#include "store/ListRequestFinder.h"
#include "store/TotalsRecordsets.h"
#include "ui/views/VorlinListView.h"

class QMenu;

namespace corvane {

// The requests, queued, allocated, active and finished, with their two ends and trunks, the
// totals per state, and the commands that show the requests of either end.
class CRequestListView final : public CVorlinListView {
    Q_OBJECT

public:
    CRequestListView(const ViewContext& context, QWidget* parent);
    ~CRequestListView() override;

    QString GetInfoText(int number) const override;
    // The menu of the selected request, none when no end of it has an alpha.
    std::unique_ptr<QMenu> CreateContextMenu() override;

protected:
    bool AcceptsRecordset(const CListRecordset& recordset) const override;
    ListQuery Query() const override;
    void ApplyFilter(const CVorlinFilterData& filter) override;
    void ReadTotals() override;
    void OnMenuCommand(int id) override;

private:
    std::unique_ptr<CRequestStatusRS> totals_;
    // The request the menu was built for.
    FoundRequest menuRequest_;
};

}  // namespace corvane

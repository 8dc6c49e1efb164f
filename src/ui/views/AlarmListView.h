#pragma once

#include <memory>

#include "store/TotalsRecordsets.h"
#include "ui/views/VorlinListView.h"

class QMenu;

namespace corvane {

// The alarms with their state (the state cell coloured by state and acknowledgement), device,
// notification and times, the totals per state, and the commands that acknowledge alarms and
// cancel their notifications. A new alarm marks the frame's icon until the alarms are seen.
class CAlarmListView final : public CVorlinListView {
    Q_OBJECT

public:
    CAlarmListView(const ViewContext& context, QWidget* parent);
    ~CAlarmListView() override;

    QString GetInfoText(int number) const override;
    // The menu of the selected alarms, none when no alarm is selected.
    std::unique_ptr<QMenu> CreateContextMenu() override;

protected:
    bool AcceptsRecordset(const CListRecordset& recordset) const override;
    ListQuery Query() const override;
    void ApplyFilter(const CVorlinFilterData& filter) override;
    void BeforeGate(ViewUpdateHint hint) override;
    void ReadTotals() override;
    void OnMenuCommand(int id) override;

private:
    bool HasSelectedAlarm() const;
    void Acknowledge();
    void CancelNotifications();
    std::string Cell(int row, size_t positionItem) const;

    std::unique_ptr<CAlarmStatusRS> totals_;
};

}  // namespace corvane

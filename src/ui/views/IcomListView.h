#pragma once

#include "ui/views/VorlinListView.h"

namespace corvane {

// The intercoms: their connections, addresses, status and alarm switches, with the commands
// that open a related view of an intercom and switch its alarms and notifications.
class CIcomListView final : public CVorlinListView {
    Q_OBJECT

public:
    static constexpr int kMenuSummary = 32790;
    static constexpr int kMenuAlphas = 32786;
    static constexpr int kMenuRequests = 32787;
    static constexpr int kMenuTrunks = 32788;

    CIcomListView(const ViewContext& context, QWidget* parent);

    QString GetInfoText(int number) const override;
    std::unique_ptr<QMenu> CreateContextMenu() override;

protected:
    bool AcceptsRecordset(const CListRecordset& recordset) const override;
    ListQuery Query() const override;
    std::string SortText(int column, bool ascending) const override;
    void OnMenuCommand(int id) override;
};

}  // namespace corvane

#pragma once

#include <memory>

#include "ui/views/VorlinListView.h"

class QMenu;

namespace corvane {

class CRequestFilterData;

// The pairs of trunks defined on the same port, with the command that shows the requests on
// a row's trunk.
class CDupTrunkListView final : public CVorlinListView {
    Q_OBJECT

public:
    CDupTrunkListView(const ViewContext& context, QWidget* parent);

    QString GetInfoText(int number) const override;
    // The menu of the selected conflict, none unless both its trunks can be read.
    std::unique_ptr<QMenu> CreateContextMenu() override;

protected:
    bool AcceptsRecordset(const CListRecordset& recordset) const override;
    ListQuery Query() const override;
    void ApplyFilter(const CVorlinFilterData& filter) override;
    // The rows have no key: a requery starts without a selection.
    bool KeepsSelectionOnRequery() const override { return false; }
    void OnMenuCommand(int id) override;

private:
    // The requests on the selected row's trunk; none unless both its trunks can be read.
    std::unique_ptr<CRequestFilterData> SelectedConflictFilter() const;
};

}  // namespace corvane

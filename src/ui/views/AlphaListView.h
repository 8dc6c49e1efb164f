#pragma once

#include <memory>

#include "ui/views/VorlinListView.h"

class QMenu;

namespace corvane {

// The alphas of the intercoms' ports and assignments, with the commands that open the views
// of an alpha's intercom or the requests of its assignment.
class CAlphaListView final : public CVorlinListView {
    Q_OBJECT

public:
    CAlphaListView(const ViewContext& context, QWidget* parent);

    QString GetInfoText(int number) const override;
    // The menu of the selected alpha, none when no alpha is selected.
    std::unique_ptr<QMenu> CreateContextMenu() override;

protected:
    bool AcceptsRecordset(const CListRecordset& recordset) const override;
    ListQuery Query() const override;
    void ApplyFilter(const CVorlinFilterData& filter) override;
    void OnMenuCommand(int id) override;

private:
    // The selected row's intercom, INT_MAX when none is selected.
    int SelectedIntercom() const;
};

}  // namespace corvane

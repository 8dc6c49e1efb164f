#include "ui/views/DupTrunkListView.h"

#include <QMenu>

#include "presentation/FilterWhereClauses.h"
#include "presentation/ListInfoTexts.h"
#include "presentation/ListMenuRules.h"

namespace corvane {

CDupTrunkListView::CDupTrunkListView(const ViewContext& context, QWidget* parent)
    : CVorlinListView(context, ViewKind::TrunkConflicts, parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
}

bool CDupTrunkListView::AcceptsRecordset(const CListRecordset& recordset) const {
    return dynamic_cast<const CDupTrunkListRecordset*>(&recordset) != nullptr;
}

ListQuery CDupTrunkListView::Query() const {
    return DupTrunkListQuery();
}

void CDupTrunkListView::ApplyFilter(const CVorlinFilterData& filter) {
    BuildDupTrunkFilter(GetRecordset(), &filter);
}

QString CDupTrunkListView::GetInfoText(int number) const {
    return QString::fromStdString(DupTrunkInfoText(number, Model().rowCount()));
}

std::unique_ptr<CRequestFilterData> CDupTrunkListView::SelectedConflictFilter() const {
    const int row = FindSelectedRow(0);
    if (row < 0) {
        return nullptr;
    }
    return ConflictRequestsFilter(RowNumber(row, listpos::kDupTrunk),
                                  RowNumber(row, listpos::kDupConflictingTrunk));
}

std::unique_ptr<QMenu> CDupTrunkListView::CreateContextMenu() {
    if (SelectedConflictFilter() == nullptr) {
        return nullptr;
    }
    // The intercom menu, of which a conflict row has only the requests of its trunk.
    auto menu = std::make_unique<QMenu>();
    menu->addAction(tr("View trunk &summary for this intercom"))->setEnabled(false);
    menu->addAction(tr("View &alphas for this intercom"))->setEnabled(false);
    menu->setDefaultAction(
        AddMenuCommand(*menu, listmenu::kViewRequests, tr("View &requests for this trunk")));
    menu->addAction(tr("View &trunks for this intercom"))->setEnabled(false);
    menu->addSeparator();
    menu->addMenu(tr("&Alarms"))->setEnabled(false);
    menu->addMenu(tr("&Notifications"))->setEnabled(false);
    menu->addSeparator();
    menu->addAction(tr("Select &All"))->setEnabled(false);
    return menu;
}

void CDupTrunkListView::OnMenuCommand(int id) {
    if (id != listmenu::kViewRequests) {
        return;
    }
    if (std::unique_ptr<CRequestFilterData> filter = SelectedConflictFilter()) {
        SwitchFrame(ViewKind::Requests, std::move(filter));
    }
}

}  // namespace corvane

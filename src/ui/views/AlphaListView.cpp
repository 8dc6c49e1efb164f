#include "ui/views/AlphaListView.h"

#include <QMenu>

#include "presentation/FilterWhereClauses.h"
#include "presentation/ListInfoTexts.h"
#include "presentation/ListMenuRules.h"

namespace corvane {

CAlphaListView::CAlphaListView(const ViewContext& context, QWidget* parent)
    : CVorlinListView(context, ViewKind::Alphas, parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
}

bool CAlphaListView::AcceptsRecordset(const CListRecordset& recordset) const {
    return dynamic_cast<const CAlphaListRecordset*>(&recordset) != nullptr;
}

ListQuery CAlphaListView::Query() const {
    return AlphaListQuery();
}

void CAlphaListView::ApplyFilter(const CVorlinFilterData& filter) {
    if (const auto* alphas = dynamic_cast<const CAlphaFilterData*>(&filter)) {
        BuildAlphaFilter(GetRecordset(), alphas);
    }
}

QString CAlphaListView::GetInfoText(int number) const {
    return QString::fromStdString(AlphaInfoText(number, Model().rowCount()));
}

int CAlphaListView::SelectedIntercom() const {
    const int row = FindSelectedRow(0);
    return row < 0 ? INT_MAX : RowNumber(row, listpos::kAlphaIcomNumber);
}

std::unique_ptr<QMenu> CAlphaListView::CreateContextMenu() {
    if (SelectedIntercom() == INT_MAX) {
        return nullptr;
    }
    auto menu = std::make_unique<QMenu>();
    menu->setDefaultAction(
        AddMenuCommand(*menu, listmenu::kViewSummary, tr("View trunk &summary for this intercom")));
    AddMenuCommand(*menu, listmenu::kViewRequests, tr("View &requests involving this intercom"));
    AddMenuCommand(*menu, listmenu::kViewTrunks, tr("View &trunks for this intercom"));
    menu->addSeparator();
    AddMenuCommand(*menu, listmenu::kViewAssignmentRequests,
                   tr("View requests involving this &assignment"));
    return menu;
}

void CAlphaListView::OnMenuCommand(int id) {
    const int intercom = SelectedIntercom();
    if (intercom == INT_MAX) {
        return;
    }
    if (id == listmenu::kViewAssignmentRequests) {
        const int row = FindSelectedRow(0);
        const int column = positions_.Position(ListQueryKind::Alphas, listpos::kAlphaFunction);
        const std::string code = Model().CellText(row, Model().ColumnOfField(column));
        SwitchFrame(ViewKind::Requests, AssignmentRequestsFilter(
                                            intercom, code, RowNumber(row, listpos::kAlphaNumber)));
    } else if (auto view = IntercomViewSwitch(id, intercom)) {
        SwitchFrame(view->kind, std::move(view->filter));
    }
}

}  // namespace corvane

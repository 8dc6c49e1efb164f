#include "ui/views/SummaryListView.h"

#include <QMenu>

#include "document/VorlinDoc.h"
#include "link/Quillex.h"
#include "presentation/FilterWhereClauses.h"
#include "presentation/ListInfoTexts.h"
#include "presentation/ListMenuRules.h"
#include "ui/views/ChildFrame.h"
#include "ui/views/ListTotals.h"
#include "ui/views/VorlinFormView.h"

namespace corvane {

CSummaryListView::CSummaryListView(const ViewContext& context, QWidget* parent)
    : CVorlinListView(context, ViewKind::TrunkSummary, parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    totals_ = OpenListTotals<CSummaryStatusRS>(context_.doc);
}

CSummaryListView::~CSummaryListView() = default;

bool CSummaryListView::AcceptsRecordset(const CListRecordset& recordset) const {
    return dynamic_cast<const CSummaryListRecordset*>(&recordset) != nullptr;
}

ListQuery CSummaryListView::Query() const {
    return SummaryListQuery();
}

bool CSummaryListView::HasOutOfServiceState() const {
    const CQuillex* controller = context_.doc.Controller();
    return controller != nullptr && controller->HasOutOfServiceCapability();
}

void CSummaryListView::ApplyFilter(const CVorlinFilterData& filter) {
    divisor_ = SummaryDivisor(filter.Selector(1));
    BuildSummaryFilter(GetRecordset(), &filter);
    if (totals_ != nullptr) {
        totals_->BuildQuery(GetRecordset()->m_strFilter);
    }
}

void CSummaryListView::ApplyColumnEffects(ViewUpdateHint hint) {
    if (hint & hint::kControllerCapabilities) {
        ShowColumn(kOutOfServiceColumn, !HasOutOfServiceState());
    }
}

void CSummaryListView::ReadTotals() {
    if (totals_ != nullptr) {
        totals_->Refresh();
    }
}

QString CSummaryListView::GetInfoText(int number) const {
    std::optional<SummaryTotals> totals;
    if (totals_ != nullptr && totals_->IsOpen()) {
        totals = SummaryTotals{totals_->GetIntercomCount(),  totals_->GetTotalTrunks(),
                               totals_->GetTotalAllocated(), totals_->GetTotalInUse(),
                               totals_->GetTotalMaint(),     totals_->GetTotalOOS()};
    }
    return QString::fromStdString(
        SummaryInfoText(number, totals, divisor_, HasOutOfServiceState()));
}

int CSummaryListView::SelectedIntercom() const {
    const int row = FindSelectedRow(0);
    return row < 0 ? INT_MAX : RowNumber(row, listpos::kSummaryIcomNumber);
}

std::unique_ptr<QMenu> CSummaryListView::CreateContextMenu() {
    if (SelectedIntercom() == INT_MAX) {
        return nullptr;
    }
    auto menu = std::make_unique<QMenu>();
    menu->setDefaultAction(
        AddMenuCommand(*menu, listmenu::kViewSummary, tr("View trunk &summary for this intercom")));
    AddMenuCommand(*menu, listmenu::kViewAlphas, tr("View &alphas for this intercom"));
    AddMenuCommand(*menu, listmenu::kViewRequests, tr("View &requests involving this intercom"));
    AddMenuCommand(*menu, listmenu::kViewTrunks, tr("View &trunks for this intercom"));
    return menu;
}

void CSummaryListView::OnMenuCommand(int id) {
    const int intercom = SelectedIntercom();
    if (intercom == INT_MAX) {
        return;
    }
    if (id == listmenu::kViewSummary) {
        // The same frame shows the summary of the row's intercom.
        CChildFrame* frame = CChildFrame::Of(this);
        CVorlinFormView* form = frame != nullptr ? frame->FormView() : nullptr;
        const auto* current = form != nullptr
                                  ? dynamic_cast<const CSummaryFilterData*>(form->GetFilterData())
                                  : nullptr;
        if (current != nullptr) {
            CSummaryFilterData filter = IntercomSummaryFilter(*current, intercom);
            form->ApplyFilter(&filter);
            form->UpdateFrameTitle();
        }
    } else if (auto view = IntercomViewSwitch(id, intercom)) {
        SwitchFrame(view->kind, std::move(view->filter));
    }
}

}  // namespace corvane

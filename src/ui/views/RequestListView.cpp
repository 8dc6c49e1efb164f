#include "ui/views/RequestListView.h"

#include <QMenu>

#include "document/VorlinDoc.h"
#include "presentation/FilterWhereClauses.h"
#include "presentation/ListInfoTexts.h"
#include "presentation/ListMenuRules.h"
#include "store/VorlinDatabase.h"
#include "ui/views/ChildFrame.h"
#include "ui/views/ListTotals.h"
#include "ui/views/VorlinFormView.h"

namespace corvane {

CRequestListView::CRequestListView(const ViewContext& context, QWidget* parent)
    : CVorlinListView(context, ViewKind::Requests, parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    totals_ = OpenListTotals<CRequestStatusRS>(context_.doc);
}

CRequestListView::~CRequestListView() = default;

bool CRequestListView::AcceptsRecordset(const CListRecordset& recordset) const {
    return dynamic_cast<const CRequestListRecordset*>(&recordset) != nullptr;
}

ListQuery CRequestListView::Query() const {
    return RequestListQuery();
}

void CRequestListView::ApplyFilter(const CVorlinFilterData& filter) {
    const auto* requests = dynamic_cast<const CRequestFilterData*>(&filter);
    if (requests == nullptr) {
        return;
    }
    BuildRequestFilter(GetRecordset(), requests, context_.doc.Names());
    if (totals_ != nullptr) {
        totals_->BuildQuery(GetRecordset()->m_strFilter);
    }
}

void CRequestListView::ReadTotals() {
    if (totals_ != nullptr) {
        totals_->ReadTotals();
    }
}

QString CRequestListView::GetInfoText(int number) const {
    std::optional<RequestTotals> totals;
    if (totals_ != nullptr) {
        totals = RequestTotals{totals_->GetGrandTotal(), totals_->GetQueued(), totals_->GetActive(),
                               totals_->GetAllocated()};
    }
    return QString::fromStdString(RequestInfoText(number, totals));
}

std::unique_ptr<QMenu> CRequestListView::CreateContextMenu() {
    CVorlinDatabase* db = context_.doc.Database();
    int position = 0;
    if (db == nullptr || !db->IsOpen() ||
        !FindRequest(*this, position, Positions(), db->Requests(), menuRequest_)) {
        return nullptr;
    }
    const std::vector<RequestMenuItem> items = RequestMenuItems(menuRequest_);
    if (items.empty()) {
        return nullptr;
    }
    auto menu = std::make_unique<QMenu>();
    for (const RequestMenuItem& item : items) {
        // An alpha may hold "&", which is no mnemonic here.
        AddMenuCommand(*menu, item.id,
                       QString::fromStdString(item.caption).replace('&', QStringLiteral("&&")));
    }
    return menu;
}

void CRequestListView::OnMenuCommand(int id) {
    CChildFrame* frame = CChildFrame::Of(this);
    CVorlinFormView* form = frame != nullptr ? frame->FormView() : nullptr;
    const auto* current =
        form != nullptr ? dynamic_cast<const CRequestFilterData*>(form->GetFilterData()) : nullptr;
    if (current == nullptr) {
        return;
    }
    for (const RequestMenuItem& item : RequestMenuItems(menuRequest_)) {
        if (item.id == id) {
            CRequestFilterData filter = RequestEndFilter(*current, menuRequest_.ends[item.end]);
            form->ApplyFilter(&filter);
            form->UpdateFrameTitle();
            return;
        }
    }
}

}  // namespace corvane

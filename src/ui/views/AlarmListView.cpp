#include "ui/views/AlarmListView.h"

#include <QMenu>

#include "document/VorlinDoc.h"
#include "presentation/AlarmListRules.h"
#include "presentation/FilterWhereClauses.h"
#include "presentation/ListInfoTexts.h"
#include "presentation/ListMenuRules.h"
#include "ui/AppResources.h"
#include "ui/views/ChildFrame.h"
#include "ui/views/ListTotals.h"

namespace corvane {
namespace {

QColor ToQColor(ColorRef c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

}  // namespace

CAlarmListView::CAlarmListView(const ViewContext& context, QWidget* parent)
    : CVorlinListView(context, ViewKind::Alarms, parent) {
    const ListQuery& query = AlarmListQuery();
    Model().SetAlarmDeviceFields(query.positions[listpos::kAlarmDeviceType],
                                 query.positions[listpos::kAlarmContext]);
    Model().SetCellColorRule([this](int row,
                                    int column) -> std::optional<CListTableModel::CellColors> {
        const int state = positions_.Position(ListQueryKind::Alarms, listpos::kAlarmState);
        if (Model().FieldOf(column) != state) {
            return std::nullopt;
        }
        const auto colors =
            AlarmStateColors(Model().CellText(row, column), Cell(row, listpos::kAlarmAcknowledged),
                             context_.doc.Names(), context_.colors);
        if (!colors) {
            return std::nullopt;
        }
        return CListTableModel::CellColors{ToQColor(colors->background), ToQColor(colors->text)};
    });
    totals_ = OpenListTotals<CAlarmStatusRS>(context_.doc);
}

CAlarmListView::~CAlarmListView() = default;

bool CAlarmListView::AcceptsRecordset(const CListRecordset& recordset) const {
    return dynamic_cast<const CAlarmListRecordset*>(&recordset) != nullptr;
}

ListQuery CAlarmListView::Query() const {
    return AlarmListQuery();
}

std::string CAlarmListView::Cell(int row, size_t positionItem) const {
    const int field = positions_.Position(ListQueryKind::Alarms, positionItem);
    return field == CListColumnPositions::kUnknown
               ? std::string()
               : Model().CellText(row, Model().ColumnOfField(field));
}

void CAlarmListView::ApplyFilter(const CVorlinFilterData& filter) {
    const auto* alarms = dynamic_cast<const CAlarmFilterData*>(&filter);
    if (alarms == nullptr) {
        return;
    }
    BuildAlarmFilter(GetRecordset(), alarms, context_.doc.Names());
    if (totals_ != nullptr) {
        totals_->BuildQuery(GetRecordset()->m_strFilter);
    }
}

void CAlarmListView::BeforeGate(ViewUpdateHint hint) {
    const std::optional<int> icon = AlarmFrameIcon(hint);
    CChildFrame* frame = CChildFrame::Of(this);
    if (icon && frame != nullptr) {
        frame->setWindowIcon(context_.resources.Icon(*icon));
    }
}

void CAlarmListView::ReadTotals() {
    if (totals_ != nullptr) {
        totals_->ReadTotals();
    }
}

QString CAlarmListView::GetInfoText(int number) const {
    std::optional<AlarmTotals> totals;
    if (totals_ != nullptr) {
        totals = AlarmTotals{totals_->GetGrandTotal(), totals_->GetActive(), totals_->GetResolved(),
                             totals_->GetStale(), totals_->GetUnresolved()};
    }
    return QString::fromStdString(AlarmInfoText(number, totals));
}

bool CAlarmListView::HasSelectedAlarm() const {
    const int row = FindSelectedRow(0);
    return row >= 0 && RowNumber(row, listpos::kAlarmId) != INT_MAX;
}

std::unique_ptr<QMenu> CAlarmListView::CreateContextMenu() {
    if (!HasSelectedAlarm()) {
        return nullptr;
    }
    auto menu = std::make_unique<QMenu>();
    menu->setDefaultAction(AddMenuCommand(*menu, listmenu::kAcknowledge, tr("&Acknowledge")));
    AddMenuCommand(*menu, listmenu::kCancelNotification, tr("&Cancel notification"));
    menu->addSeparator();
    menu->addAction(tr("Select &All"), this, [this] { selectAll(); });
    return menu;
}

void CAlarmListView::OnMenuCommand(int id) {
    if (id == listmenu::kAcknowledge) {
        Acknowledge();
    } else if (id == listmenu::kCancelNotification) {
        CancelNotifications();
    }
}

void CAlarmListView::Acknowledge() {
    const WallTime now = std::chrono::system_clock::now();
    for (const int row : SelectedRows()) {
        const int alarm = RowNumber(row, listpos::kAlarmId);
        if (alarm != INT_MAX && NeedsAcknowledge(Cell(row, listpos::kAlarmAcknowledged))) {
            context_.doc.AcknowledgeAlarm(alarm, now);
        }
    }
}

void CAlarmListView::CancelNotifications() {
    const WallTime now = std::chrono::system_clock::now();
    for (const int row : SelectedRows()) {
        const int alarm = RowNumber(row, listpos::kAlarmId);
        if (alarm != INT_MAX &&
            HasPendingNotification(Cell(row, listpos::kAlarmNotification), context_.doc.Names())) {
            context_.doc.CancelAlarmNotification(alarm, kCancelledNotification, now);
        }
    }
}

}  // namespace corvane

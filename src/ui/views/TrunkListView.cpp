#include "ui/views/TrunkListView.h"

#include <QMenu>

#include "document/VorlinDoc.h"
#include "link/Quillex.h"
#include "platform/Format.h"
#include "platform/StringTable.h"
#include "platform/UiBridge.h"
#include "presentation/FilterData.h"
#include "presentation/FilterWhereClauses.h"
#include "presentation/TrunkListMenu.h"
#include "settings/AppSettings.h"
#include "store/DaoException.h"
#include "store/VorlinDatabase.h"
#include "ui/VorlinStatusBar.h"
#include "ui/views/ChildFrame.h"

namespace corvane {
namespace {

constexpr int kStateInUse = 2;

void AddItems(QMenu& menu, const TrunkMenu& items,
              const std::function<QAction*(QMenu&, int, const QString&)>& addCommand) {
    for (const TrunkMenuItem& item : items) {
        switch (item.type) {
            case TrunkMenuItem::Type::Command:
                addCommand(menu, item.id, QString::fromStdString(item.text));
                break;
            case TrunkMenuItem::Type::Separator:
                menu.addSeparator();
                break;
            case TrunkMenuItem::Type::Submenu:
                AddItems(*menu.addMenu(QString::fromStdString(item.text)), item.items, addCommand);
                break;
        }
    }
}

CDaoDatabase* OpenDatabase(CVorlinDoc& doc) {
    CVorlinDatabase* db = doc.Database();
    return db != nullptr && db->IsOpen() ? &db->Database() : nullptr;
}

}  // namespace

CTrunkListView::CTrunkListView(const ViewContext& context, QWidget* parent)
    : CVorlinListView(context, ViewKind::Trunks, parent), totals_(OpenDatabase(context.doc)) {}

CTrunkListView::~CTrunkListView() = default;

bool CTrunkListView::AcceptsRecordset(const CListRecordset& recordset) const {
    return dynamic_cast<const CTrunkListRecordset*>(&recordset) != nullptr;
}

ListQuery CTrunkListView::Query() const {
    return TrunkListQuery();
}

void CTrunkListView::ApplyFilter(const CVorlinFilterData& filter) {
    const auto* trunks = dynamic_cast<const CTrunkFilterData*>(&filter);
    if (trunks == nullptr || GetRecordset() == nullptr) {
        return;
    }
    BuildTrunkFilter(GetRecordset(), trunks, context_.doc.Names());
    totals_.SetFilter(GetRecordset()->m_strFilter);
}

void CTrunkListView::ApplyColumnEffects(ViewUpdateHint hint) {
    if (hint & hint::kConfigurationApplied) {
        const bool analyzer = context_.doc.IsAnalyzerConfigured();
        for (const int column : kTestColumns) {
            ShowColumn(column, !analyzer);
        }
    }
    if (hint & hint::kControllerCapabilities) {
        const CQuillex* controller = context_.doc.Controller();
        ShowColumn(kColumnOutOfService,
                   controller == nullptr || !controller->HasOutOfServiceCapability());
    }
}

void CTrunkListView::ReadTotals() {
    // Read when the info bars take their texts, and only for the bars shown.
    totals_.Invalidate();
}

bool CTrunkListView::IsBarShown(CTrunkListTotals::Bar bar) const {
    const CChildFrame* frame = CChildFrame::Of(this);
    return frame == nullptr || !frame->InfoBar(bar).isHidden();
}

QString CTrunkListView::GetInfoText(int number) const {
    const CTrunkListTotals::Bar bar = CTrunkListTotals::BarOf(number);
    if (IsBarShown(bar)) {
        try {
            totals_.Read(bar);
        } catch (const CDaoException& e) {
            ReportDaoException(e, "Error\nDescription: %s");
        }
    }
    const CQuillex* controller = context_.doc.Controller();
    return QString::fromStdString(
        totals_.InfoText(number, controller != nullptr && controller->HasOutOfServiceCapability()));
}

std::string CTrunkListView::CellOf(int row, size_t positionItem) const {
    const int field = Positions().Position(ListQueryKind::Trunks, positionItem);
    return field == CListColumnPositions::kUnknown
               ? std::string()
               : Model().CellText(row, Model().ColumnOfField(field));
}

SelectedTrunkRow CTrunkListView::ReadRow(int row) const {
    return ParseSelectedTrunkRow(
        context_.doc.Names(), CellOf(row, listpos::kTrunkNumber), CellOf(row, listpos::kTrunkState),
        CellOf(row, listpos::kTrunkOutOfService), CellOf(row, listpos::kTrunkTestStatus));
}

std::unique_ptr<QMenu> CTrunkListView::CreateContextMenu() {
    const int first = FindSelectedRow(0);
    if (first < 0) {
        return nullptr;
    }
    TrunkMenuState state;
    state.first = ReadRow(first);
    if (state.first.trunk == INT_MAX) {
        return nullptr;
    }
    const CQuillex* controller = context_.doc.Controller();
    state.analyzer = context_.doc.IsAnalyzerConfigured();
    state.selected = SelectedCount();
    state.outOfServiceSupported = controller != nullptr && controller->HasOutOfServiceCapability();
    state.testingPaused = context_.doc.TestingPaused();
    const TrunkMenu items = BuildTrunkMenu(state);
    if (items.empty()) {
        return nullptr;
    }
    // Owned by the caller alone: a command may replace this view while the menu lives.
    auto menu = std::make_unique<QMenu>();
    const int defaultId = TrunkMenuDefault(items);
    AddItems(*menu, items, [this, defaultId](QMenu& into, int id, const QString& text) {
        QAction* action = AddMenuCommand(into, id, text);
        if (id == defaultId) {
            into.setDefaultAction(action);
        }
        return action;
    });
    return menu;
}

void CTrunkListView::OnMenuCommand(int id) {
    const std::vector<int> rows = SelectedRows();
    switch (id) {
        case trunkcmd::kTestNow:
            if (!rows.empty()) {
                TestTrunkNow(ReadRow(rows.front()));
            }
            return;
        case trunkcmd::kViewRequests:
            if (!rows.empty()) {
                ViewRequests(ReadRow(rows.front()).trunk);
            }
            return;
        case trunkcmd::kPauseTesting:
        case trunkcmd::kResumeTesting:
            context_.doc.SetTestingPaused(id == trunkcmd::kPauseTesting);
            return;
        default:
            break;
    }
    CVorlinDoc& doc = context_.doc;
    for (const int row : rows) {
        const SelectedTrunkRow trunk = ReadRow(row);
        if (!TrunkCommandActsOn(id, trunk)) {
            continue;
        }
        switch (id) {
            case trunkcmd::kQueueForTesting:
                doc.QueueTrunkTest(true, trunk.trunk, false, false);
                break;
            case trunkcmd::kSetMaintenance:
                doc.RequestSetMaintenance(trunk.trunk, true);
                break;
            case trunkcmd::kClearMaintenance:
                doc.RequestClearMaintenance(trunk.trunk);
                break;
            case trunkcmd::kCancelPendingTest:
                doc.QueueTrunkTest(false, trunk.trunk, false, false);
                break;
            case trunkcmd::kClearTestResults:
                doc.RequestClearTestResults(trunk.trunk);
                break;
            case trunkcmd::kEnableAutoTest:
            case trunkcmd::kDisableAutoTest:
            case trunkcmd::kEnableAlarms:
            case trunkcmd::kDisableAlarms:
            case trunkcmd::kEnableNotifications:
            case trunkcmd::kDisableNotifications:
                doc.SetTrunkOption(trunk.trunk, id);
                break;
            default:
                return;
        }
    }
}

bool CTrunkListView::ConfirmTest(int stringId, int trunk) const {
    const std::string text = InsertArgs(LoadString(stringId), {std::to_string(trunk)});
    return Ui().MessageBox(text, LoadString(ids::kAppCaption),
                           mb::kOkCancel | mb::kIconExclamation | mb::kDefButton2) == answer::kOk;
}

void CTrunkListView::TestTrunkNow(const SelectedTrunkRow& row) {
    if (row.trunk == INT_MAX) {
        return;
    }
    // Testing an in-use trunk moves its assignments to another trunk.
    if (row.state == kStateInUse && context_.settings.Snapshot().WarnBeforeTestingInUseTrunks &&
        !ConfirmTest(ids::kWarnTestInUseTrunk, row.trunk)) {
        return;
    }
    if (!context_.doc.AreTrunkIntercomsCommunicating(row.trunk) &&
        !ConfirmTest(ids::kWarnTestNotCommunicating, row.trunk)) {
        return;
    }
    context_.doc.QueueTrunkTest(true, row.trunk, true, true);
}

void CTrunkListView::ViewRequests(int trunk) {
    if (trunk == INT_MAX) {
        return;
    }
    auto filter = std::make_unique<CRequestFilterData>();
    filter->SetTrunk(trunk);
    SwitchFrame(ViewKind::Requests, std::move(filter));
}

}  // namespace corvane

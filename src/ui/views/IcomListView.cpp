#include "ui/views/IcomListView.h"

#include <QMenu>

#include "document/VorlinDoc.h"
#include "link/Quillex.h"

namespace corvane {

CIcomListView::CIcomListView(const ViewContext& context, QWidget* parent)
    : CVorlinListView(context, ViewKind::Intercoms, parent) {}

bool CIcomListView::AcceptsRecordset(const CListRecordset& recordset) const {
    return dynamic_cast<const CIcomListRecordset*>(&recordset) != nullptr;
}

ListQuery CIcomListView::Query() const {
    const CQuillex* controller = context_.doc.Controller();
    return IntercomListQuery(controller != nullptr && controller->HasNetworkInfoCapability(),
                             controller != nullptr && controller->HasExtendedIntercomCapability());
}

std::string CIcomListView::SortText(int column, bool ascending) const {
    // The serial port cell is shown only on serial lines; it sorts by the port's number.
    if (Model().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString() ==
        QLatin1String("Serial Port")) {
        return ListSortText(*GetRecordset(), "SerialPort", ascending);
    }
    return CVorlinListView::SortText(column, ascending);
}

QString CIcomListView::GetInfoText(int number) const {
    return number == 1 ? QString("%1 Intercoms").arg(Model().rowCount()) : QString();
}

std::unique_ptr<QMenu> CIcomListView::CreateContextMenu() {
    const int row = FindSelectedRow(0);
    if (row < 0 || RowNumber(row, listpos::kIcomNumber) == INT_MAX) {
        return nullptr;
    }
    // No parent: a command may switch the frame and take this view with it.
    auto menu = std::make_unique<QMenu>();
    if (SelectedCount() == 1) {
        QAction* summary =
            AddMenuCommand(*menu, kMenuSummary, tr("View trunk &summary for this intercom"));
        menu->setDefaultAction(summary);
        AddMenuCommand(*menu, kMenuAlphas, tr("View &alphas for this intercom"));
        AddMenuCommand(*menu, kMenuRequests, tr("View &requests involving this intercom"));
        AddMenuCommand(*menu, kMenuTrunks, tr("View &trunks for this intercom"));
        menu->addSeparator();
    }
    QMenu* alarms = menu->addMenu(tr("&Alarms"));
    AddMenuCommand(*alarms, CVorlinDoc::kCmdEnableAlarms, tr("&Enable"));
    AddMenuCommand(*alarms, CVorlinDoc::kCmdDisableAlarms, tr("&Disable"));
    QMenu* notifications = menu->addMenu(tr("&Notifications"));
    AddMenuCommand(*notifications, CVorlinDoc::kCmdEnableNotifications, tr("&Enable"));
    AddMenuCommand(*notifications, CVorlinDoc::kCmdDisableNotifications, tr("&Disable"));
    menu->addSeparator();
    menu->addAction(tr("Select &All"), this, [this] { selectAll(); });
    return menu;
}

void CIcomListView::OnMenuCommand(int id) {
    const int row = FindSelectedRow(0);
    const int intercom = row < 0 ? INT_MAX : RowNumber(row, listpos::kIcomNumber);
    switch (id) {
        case kMenuSummary: {
            auto filter = std::make_unique<CSummaryFilterData>();
            filter->SetIntercom(intercom);
            SwitchFrame(ViewKind::TrunkSummary, std::move(filter));
            break;
        }
        case kMenuAlphas: {
            auto filter = std::make_unique<CAlphaFilterData>();
            filter->SetIntercom(intercom);
            SwitchFrame(ViewKind::Alphas, std::move(filter));
            break;
        }
        case kMenuRequests: {
            auto filter = std::make_unique<CRequestFilterData>();
            filter->SetIntercom1(intercom);
            SwitchFrame(ViewKind::Requests, std::move(filter));
            break;
        }
        case kMenuTrunks: {
            auto filter = std::make_unique<CTrunkFilterData>();
            filter->SetIntercom(intercom);
            SwitchFrame(ViewKind::Trunks, std::move(filter));
            break;
        }
        case CVorlinDoc::kCmdEnableAlarms:
        case CVorlinDoc::kCmdDisableAlarms:
        case CVorlinDoc::kCmdEnableNotifications:
        case CVorlinDoc::kCmdDisableNotifications:
            for (const int selected : SelectedRows()) {
                context_.doc.SetIntercomAlarmOption(RowNumber(selected, listpos::kIcomNumber), id);
            }
            break;
        default:
            break;
    }
}

}  // namespace corvane

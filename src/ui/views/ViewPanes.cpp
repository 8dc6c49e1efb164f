#include "ui/views/ViewPanes.h"

#include "ui/views/AlarmFormView.h"
#include "ui/views/AlarmListView.h"
#include "ui/views/AlphaFormView.h"
#include "ui/views/AlphaListView.h"
#include "ui/views/DupTrunkFormView.h"
#include "ui/views/DupTrunkListView.h"
#include "ui/views/IcomFormView.h"
#include "ui/views/IcomListView.h"
#include "ui/views/RequestFormView.h"
#include "ui/views/RequestListView.h"
#include "ui/views/SummaryFormView.h"
#include "ui/views/SummaryListView.h"
#include "ui/views/TrunkFormView.h"
#include "ui/views/TrunkListView.h"

namespace corvane {

CVorlinFormView* CreateFormView(ViewKind kind, const ViewContext& context, QWidget* parent) {
    switch (kind) {
        case ViewKind::Intercoms:
            return new CIcomFormView(context, parent);
        case ViewKind::Requests:
            return new CRequestFormView(context, parent);
        case ViewKind::Alphas:
            return new CAlphaFormView(context, parent);
        case ViewKind::Alarms:
            return new CAlarmFormView(context, parent);
        case ViewKind::TrunkConflicts:
            return new CDupTrunkFormView(context, parent);
        case ViewKind::TrunkSummary:
            return new CSummaryFormView(context, parent);
        case ViewKind::Trunks:
            return new CTrunkFormView(context, parent);
        default:
            return nullptr;
    }
}

CVorlinListView* CreateListView(ViewKind kind, const ViewContext& context, QWidget* parent) {
    switch (kind) {
        case ViewKind::Intercoms:
            return new CIcomListView(context, parent);
        case ViewKind::Requests:
            return new CRequestListView(context, parent);
        case ViewKind::Alphas:
            return new CAlphaListView(context, parent);
        case ViewKind::Alarms:
            return new CAlarmListView(context, parent);
        case ViewKind::TrunkConflicts:
            return new CDupTrunkListView(context, parent);
        case ViewKind::TrunkSummary:
            return new CSummaryListView(context, parent);
        case ViewKind::Trunks:
            return new CTrunkListView(context, parent);
        default:
            return nullptr;
    }
}

std::unique_ptr<CListRecordset> CreateListRecordset(ViewKind kind, CDaoDatabase& db) {
    switch (kind) {
        case ViewKind::Intercoms:
            return std::make_unique<CIcomListRecordset>(db);
        case ViewKind::Trunks:
            return std::make_unique<CTrunkListRecordset>(db);
        case ViewKind::Requests:
            return std::make_unique<CRequestListRecordset>(db);
        case ViewKind::Alphas:
            return std::make_unique<CAlphaListRecordset>(db);
        case ViewKind::Alarms:
            return std::make_unique<CAlarmListRecordset>(db);
        case ViewKind::TrunkConflicts:
            return std::make_unique<CDupTrunkListRecordset>(db);
        case ViewKind::TrunkSummary:
            return std::make_unique<CSummaryListRecordset>(db);
        default:
            return nullptr;
    }
}

}  // namespace corvane

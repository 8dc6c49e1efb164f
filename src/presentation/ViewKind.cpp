#include "presentation/ViewKind.h"

namespace corvane {

ViewKind ViewKindOf(int number) {
    return number >= 1 && number <= 8 ? static_cast<ViewKind>(number) : ViewKind::None;
}

bool IsListViewKind(ViewKind kind) {
    return kind >= ViewKind::Intercoms && kind <= ViewKind::TrunkSummary;
}

std::optional<ListKind> ListKindOf(ViewKind kind) {
    switch (kind) {
        case ViewKind::Intercoms:
            return ListKind::Intercoms;
        case ViewKind::Trunks:
            return ListKind::Trunks;
        case ViewKind::Requests:
            return ListKind::Requests;
        case ViewKind::Alphas:
            return ListKind::Alphas;
        case ViewKind::Alarms:
            return ListKind::Alarms;
        case ViewKind::TrunkConflicts:
            return ListKind::TrunkConflicts;
        case ViewKind::TrunkSummary:
            return ListKind::TrunkSummary;
        default:
            return std::nullopt;
    }
}

std::optional<FilterKind> FilterKindOf(ViewKind kind) {
    switch (kind) {
        case ViewKind::Intercoms:
            return FilterKind::Intercoms;
        case ViewKind::Trunks:
            return FilterKind::Trunks;
        case ViewKind::Requests:
            return FilterKind::Requests;
        case ViewKind::Alphas:
            return FilterKind::Alphas;
        case ViewKind::Alarms:
            return FilterKind::Alarms;
        case ViewKind::TrunkConflicts:
            return FilterKind::DupTrunks;
        case ViewKind::TrunkSummary:
            return FilterKind::Summary;
        default:
            return std::nullopt;
    }
}

std::optional<ListQueryKind> ListQueryKindOf(ViewKind kind) {
    switch (kind) {
        case ViewKind::Intercoms:
            return ListQueryKind::Intercoms;
        case ViewKind::Trunks:
            return ListQueryKind::Trunks;
        case ViewKind::Requests:
            return ListQueryKind::Requests;
        case ViewKind::Alphas:
            return ListQueryKind::Alphas;
        case ViewKind::Alarms:
            return ListQueryKind::Alarms;
        case ViewKind::TrunkConflicts:
            return ListQueryKind::DupTrunks;
        case ViewKind::TrunkSummary:
            return ListQueryKind::Summary;
        default:
            return std::nullopt;
    }
}

ViewKind ViewKindOf(FilterKind kind) {
    switch (kind) {
        case FilterKind::Intercoms:
            return ViewKind::Intercoms;
        case FilterKind::Trunks:
            return ViewKind::Trunks;
        case FilterKind::Requests:
            return ViewKind::Requests;
        case FilterKind::Alphas:
            return ViewKind::Alphas;
        case FilterKind::Alarms:
            return ViewKind::Alarms;
        case FilterKind::DupTrunks:
            return ViewKind::TrunkConflicts;
        case FilterKind::Summary:
            return ViewKind::TrunkSummary;
    }
    return ViewKind::None;
}

const ViewKindTraits& TraitsOf(ViewKind kind) {
    static const ViewKindTraits traits[] = {
        {108, "DefaultFormHeight", 0, "DefaultColumnWidths", "DefaultColumnOrder"},
        {107, "IcomFormHeight", 0x200C1, "IcomListColumnWidths", "IcomListColumnOrder"},
        {106, "TrunkFormHeight", 0x200C0, "TrunkListColumnWidths", "TrunkListColumnOrder"},
        {105, "RequestFormHeight", 0x200BF, "RequestListColumnWidths", "RequestListColumnOrder"},
        {104, "AlphaFormHeight", 0x200BE, "AlphaListColumnWidths", "AlphaListColumnOrder"},
        {110, "AlarmFormHeight", 0x200C2, "AlarmListColumnWidths", "AlarmListColumnOrder"},
        {108, "DupTrunkFormHeight", 0x200C3, "DupTrunkListColumnWidths", "DupTrunkListColumnOrder"},
        {111, "SummaryFormHeight", 0x200C4, "SummaryListColumnWidths", "SummaryListColumnOrder"},
        {112, "GraphicalFormHeight", 0, "DefaultColumnWidths", "DefaultColumnOrder"},
    };
    return traits[ViewKindNumber(kind)];
}

std::unique_ptr<CVorlinFilterData> NewFilterOf(ViewKind kind) {
    switch (kind) {
        case ViewKind::Intercoms:
            return std::make_unique<CIcomFilterData>();
        case ViewKind::Trunks:
            return std::make_unique<CTrunkFilterData>();
        case ViewKind::Requests:
            return std::make_unique<CRequestFilterData>();
        case ViewKind::Alphas:
            return std::make_unique<CAlphaFilterData>();
        case ViewKind::Alarms:
            return std::make_unique<CAlarmFilterData>();
        case ViewKind::TrunkConflicts:
            return std::make_unique<CDupTrunkFilterData>();
        case ViewKind::TrunkSummary:
            return std::make_unique<CSummaryFilterData>();
        default:
            return nullptr;
    }
}

}  // namespace corvane

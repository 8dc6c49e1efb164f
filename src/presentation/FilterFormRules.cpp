#include "presentation/FilterFormRules.h"

#include "platform/Format.h"
#include "store/FunctionCodes.h"

namespace corvane {

int SelectorOfChoice(int itemData, bool functionTypeBox) {
    // Function type 0 is "PP"; that box says "any" with its own entry.
    if (functionTypeBox) {
        return IsValidFunctionType(itemData) ? itemData : CVorlinFilterData::kAny;
    }
    return itemData == 0 ? CVorlinFilterData::kAny : itemData;
}

int RequestStatesAfterClick(int stateMask) {
    return (stateMask & 0xF) == 0 ? requeststate::kActive : stateMask;
}

int AlarmStatesAfterClick(int stateMask) {
    return (stateMask & 0xF) == 0 ? alarmstate::kActive : stateMask;
}

bool AlarmComboReachesList(const CAlarmFilterData& filter, bool trunkBox) {
    return filter.ShowsCategory(trunkBox ? alarmcategory::kTrunkTestFailure
                                         : alarmcategory::kIntercomCommunication);
}

std::string AnalyzerAlarmsCaption(const std::string& analyzerName) {
    return InsertArgs(" Show %1 alarms", {analyzerName});
}

void ShowAnalyzerAlarms(CAlarmFilterData& filter, bool analyzerConfigured) {
    filter.ShowCategory(alarmcategory::kAudioAnalyzer, analyzerConfigured);
    filter.ShowCategory(alarmcategory::kTrunkTestFailure, analyzerConfigured);
    filter.SetTrunk(CVorlinFilterData::kAny);
}

}  // namespace corvane

#include "model/ChoiceLists.h"

#include "model/ModelNumbers.h"
#include "platform/StringTable.h"

namespace corvane {

ChoiceList AlarmSetupKindChoices(const CNameTables& names, int configuredAnalyzer) {
    ChoiceList choices;
    for (int kind = 0; kind < setupkind::kCount; ++kind) {
        const bool shown =
            kind != setupkind::kTrunkTestErrors &&
            (kind != setupkind::kTrunkTestFailures || configuredAnalyzer != analyzer::kNone) &&
            (kind != setupkind::kTonexa || configuredAnalyzer == analyzer::kTonexa) &&
            (kind != setupkind::kRT2M || configuredAnalyzer == analyzer::kRT2M);
        if (shown) {
            choices.push_back({names.alarmSetupKinds[kind], kind});
        }
    }
    return choices;
}

ChoiceList AnalyzerChoices(const CNameTables& names) {
    ChoiceList choices;
    for (int type = 0; type < analyzer::kCount; ++type) {
        choices.push_back({names.analyzerNames[type], type});
    }
    return choices;
}

ChoiceList FunctionTypeChoices() {
    ChoiceList choices{{LoadString(ids::kAllFunctionTypes), kNone}};
    for (int type = 0; type < kFunctionTypeCount; ++type) {
        if (type != kIntercomFunctionType) {
            choices.push_back({FunctionTypeCode(type), type});
        }
    }
    return choices;
}

int FindChoiceByData(const ChoiceList& choices, int data) {
    for (size_t i = 0; i < choices.size(); ++i) {
        if (choices[i].data == data) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int SelectChoiceByData(const ChoiceList& choices, int data) {
    const int found = FindChoiceByData(choices, data);
    return found >= 0 || choices.empty() ? found : 0;
}

}  // namespace corvane

#include <cstdint>

#include "model/VorlinModel.h"
#include "platform/Format.h"
#include "platform/StringTable.h"
#include "settings/AnalyzerName.h"
#include "settings/AppSettings.h"

namespace corvane {
namespace {

// Display prefixes by function type 0-8; type 7 (the intercom itself) has none.
constexpr const char* kShortPrefixes[kFunctionTypeCount] = {"N0", "PL", "IF", "SL", "RY",
                                                            "IS", "UR", "??", "IL"};
constexpr const char* kLongPrefixes[kFunctionTypeCount] = {"N", "P", "F", "S", "R",
                                                           "I", "U", "?", "B"};

}  // namespace

CVorlinModel::IntercomTexts CVorlinModel::GetIntercomTexts(int intercom) const {
    const CIntercomData* data = IntercomAt(intercom);
    if (data == nullptr) {
        return {};
    }
    auto lock = LockIntercoms();
    return {data->ConnType(), data->IPAddress1(), data->IPAddress2(), data->Name(),
            data->CommStatus()};
}

std::string CVorlinModel::GetIntercomName(int intercom) const {
    if (const CIntercomData* data = IntercomAt(intercom)) {
        auto lock = LockIntercoms();
        if (!data->Name().empty()) {
            return data->Name();
        }
    }
    // The system's formats: the 0 flag beside a precision changes nothing, as in C.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat"
    return intercom < 100 ? StrFormat("MX%02.2d", intercom) : StrFormat("M%03.3d", intercom);
#pragma GCC diagnostic pop
}

bool CVorlinModel::IsIntercomCommunicating(int intercom) const {
    const CIntercomData* data = IntercomAt(intercom);
    if (data == nullptr) {
        return false;
    }
    auto lock = LockIntercoms();
    return data->IsCommunicating();
}

std::string CVorlinModel::GetAlphaDisplayName(int functionType, int number) {
    const auto n = static_cast<unsigned>(number);
    const bool known = IsFunctionType(functionType);
    if (n < 100) {
        return StrFormat("%s%2.2u", known ? kShortPrefixes[functionType] : "??", n);
    }
    if (n < 1000) {
        return StrFormat("%s%3.3u", known ? kLongPrefixes[functionType] : "?", n);
    }
    return "????";
}

bool CVorlinModel::GetTrunkEndIntercoms(int trunk, int& end1, int& end2) const {
    const CTrunkData* data = TrunkAt(trunk);
    if (data == nullptr) {
        return false;
    }
    end1 = data->End1Intercom();
    end2 = data->End2Intercom();
    return true;
}

bool CVorlinModel::AreTrunkIntercomsCommunicating(int trunk) const {
    int end1 = kNone;
    int end2 = kNone;
    return GetTrunkEndIntercoms(trunk, end1, end2) && IsIntercomCommunicating(end1) &&
           IsIntercomCommunicating(end2);
}

int CVorlinModel::GetAnalyzerType(const std::string& name) const {
    for (int type = 0; type < analyzer::kCount; ++type) {
        if (names_.analyzerNames[type] == name) {
            return type;
        }
    }
    return analyzer::kNone;
}

bool CVorlinModel::IsAnalyzerConfigured() const {
    return GetAnalyzerType(settings_.Snapshot().AudioAnalyzer) != analyzer::kNone;
}

std::string CVorlinModel::GetAnalyzerDisplayName() const {
    return AnalyzerDisplayName(settings_.Snapshot().AudioAnalyzer);
}

int CVorlinModel::GetAnalyzerDeviceType(int analyzerType) {
    switch (analyzerType) {
        case analyzer::kTonexa:
            return devicetype::kTonexa;
        case analyzer::kRT2M:
            return devicetype::kRT2M;
        default:
            return devicetype::kNoDevice;
    }
}

int CVorlinModel::GetAlarmSetupKind(const std::string& deviceTypeName,
                                    const std::string& categoryName) const {
    const auto& types = names_.deviceTypes;
    if (deviceTypeName == types[devicetype::kQuillex]) {
        return setupkind::kQuillex;
    }
    if (deviceTypeName == types[devicetype::kTonexa]) {
        return setupkind::kTonexa;
    }
    if (deviceTypeName == types[devicetype::kIntercom]) {
        return setupkind::kIntercom;
    }
    if (deviceTypeName == types[devicetype::kTrunk]) {
        if (categoryName == names_.alarmCategories[alarmcat::kTestFailure]) {
            return setupkind::kTrunkTestFailures;
        }
        if (categoryName == names_.alarmCategories[alarmcat::kTestError]) {
            return setupkind::kTrunkTestErrors;
        }
        return kNone;
    }
    if (deviceTypeName == types[devicetype::kRequest]) {
        return setupkind::kRequestBusy;
    }
    if (deviceTypeName == types[devicetype::kRT2M]) {
        return setupkind::kRT2M;
    }
    return kNone;
}

}  // namespace corvane

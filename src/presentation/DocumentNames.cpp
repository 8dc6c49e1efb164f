#include "presentation/DocumentNames.h"

#include "document/VorlinDoc.h"
#include "model/ModelNumbers.h"
#include "store/VorlinDatabase.h"

namespace corvane {

std::string CDocumentNames::IntercomName(int intercom) const {
    return IsIntercomNumber(intercom) ? doc_.GetIntercomName(intercom) : std::string();
}

bool CDocumentNames::IsValidFunctionType(int type) const {
    return corvane::IsValidFunctionType(type, 0);
}

std::string CDocumentNames::FunctionTypeCode(int type) const {
    return corvane::FunctionTypeCode(type);
}

std::string CDocumentNames::AssignmentAlpha(int intercom, int assignment) const {
    CVorlinDatabase* db = doc_.Database();
    if (db == nullptr || !db->IsOpen() || !IsIntercomNumber(intercom) || assignment < 0) {
        return {};
    }
    return db->GetAlphaText(intercom, assignment >> 16, assignment & 0xFFFF);
}

const CNameTables& CDocumentNames::Names() const {
    return doc_.Names();
}

}  // namespace corvane

#pragma once

#include "presentation/FilterData.h"
#include "presentation/ListCellText.h"

namespace corvane {

class CVorlinDoc;

// The document's names as the filter titles and the list cells look them up.
class CDocumentNames final : public FilterNameSource, public IListCellNames {
public:
    explicit CDocumentNames(const CVorlinDoc& doc) : doc_(doc) {}

    // Empty for INT_MAX and numbers outside the model; a nameless intercom has the name the
    // model gives it.
    std::string IntercomName(int intercom) const override;
    bool IsValidFunctionType(int type) const override;
    std::string FunctionTypeCode(int type) const override;
    std::string AssignmentAlpha(int intercom, int assignment) const override;
    const CNameTables& Names() const override;

private:
    const CVorlinDoc& doc_;
};

}  // namespace corvane

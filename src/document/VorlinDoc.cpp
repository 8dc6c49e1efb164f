#include "document/VorlinDoc.h"

#include <utility>

#include "document/DocumentPreferences.h"
#include "document/DocumentWorkers.h"

namespace corvane {

CVorlinDoc::CVorlinDoc(SharedSettings& settings, const IClock& clock, DocumentParts parts)
    : CVorlinModel(settings, clock),
      parts_(std::move(parts)),
      workers_(std::make_unique<DocumentWorkers>()),
      preferences_(std::make_unique<CDocumentPreferences>(*this, settings)) {}

CVorlinDoc::~CVorlinDoc() {
    StopWorkers();
    // The database and the passes go before the model they refer to.
    workers_.reset();
}

}  // namespace corvane

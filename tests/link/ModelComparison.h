#pragma once

#include <string>
#include <vector>

#include "document/VorlinDoc.h"
#include "fakes/FakeControllerModel.h"

namespace corvane::testing {

// Where the document's model differs from the fake controller's network, one line each
// (empty when they agree): intercoms with their texts and numbers, trunks with definitions,
// states, out-of-service and usage, alpha lists (the document's alpha queue applied in order)
// and queued requests. The capabilities say which values the controller reports.
std::vector<std::string> ModelDifferences(const FakeNetwork& network, CVorlinDoc& doc,
                                          size_t limit = 20);

}  // namespace corvane::testing

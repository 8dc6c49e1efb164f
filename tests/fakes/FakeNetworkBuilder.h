#pragma once

#include <cstdint>
#include <random>

#include "fakes/FakeControllerModel.h"

namespace corvane::testing {

// A trunking network of the given size for the fake controller: named matrices with alpha
// lists of 4-character texts, trunks between them in every state, queued requests at some
// matrices and a maintenance port. The same seed gives the same network.
FakeNetwork BuildFakeNetwork(int matrices, int trunks, uint32_t seed = 1);

// Moves up to count random trunks (the undefined ones stay as they are) to idle, allocated or
// in use, as calls come and go.
void ChangeRandomTrunks(FakeControllerModel& model, std::mt19937& random, int count);

}  // namespace corvane::testing

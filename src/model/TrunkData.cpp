#include "model/TrunkData.h"

namespace corvane {

CTrunkData::CTrunkData() {
    for (auto& usage : usage_) {
        usage.owner_ = this;
    }
}

}  // namespace corvane

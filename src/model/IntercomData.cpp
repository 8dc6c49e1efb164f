#include "model/IntercomData.h"

namespace corvane {

CIntercomData::CIntercomData() {
    for (auto& request : requests_) {
        request.owner_ = this;
    }
    for (auto& counts : summary_) {
        counts.owner_ = this;
    }
}

}  // namespace corvane

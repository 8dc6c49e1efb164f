#pragma once

#include <cstdint>
#include <string>

namespace corvane {

namespace alphaop {
inline constexpr int kStore = 0;       // add or replace the alpha
inline constexpr int kDelete = 1;      // the controller sent an empty one
inline constexpr int kDeleteFrom = 2;  // this intercom's alphas of this type from this number on
}  // namespace alphaop

// One queued alpha update for the alpha write-back.
struct CAlpha {
    int32_t intercom = 0;
    int32_t functionType = 0;  // 0-6 or 8
    int32_t number = 0;
    std::string text;
    int32_t operation = alphaop::kStore;
};

}  // namespace corvane

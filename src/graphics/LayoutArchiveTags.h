#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "graphics/GraphicObj.h"

namespace corvane::archivetag {

// The words that open an object reference. Classes and objects share one numbering from 1;
// index 0 means none.
inline constexpr uint16_t kNull = 0x0000;
inline constexpr uint16_t kBigIndex = 0x7FFF;  // a 32-bit index follows
inline constexpr uint16_t kClassBit = 0x8000;  // a new object of a class already read
inline constexpr uint16_t kNewClass = 0xFFFF;  // schema, name length and name follow
inline constexpr uint32_t kBigClassBit = 0x80000000;
inline constexpr uint16_t kSchema = 0;
// Longer class names are no class of any archive.
inline constexpr uint16_t kMaxClassName = 64;

inline std::string_view ClassName(GraphicClass c) {
    switch (c) {
        case GraphicClass::IcomObj:
            return "CIcomObj";
        case GraphicClass::TrunkSetObj:
            return "CTrunkSetObj";
        case GraphicClass::IcomCaption:
            return "CIcomCaption";
        case GraphicClass::TrunkSetCaption:
            return "CTrunkSetCaption";
    }
    return {};
}

inline std::optional<GraphicClass> ClassNamed(std::string_view name) {
    for (GraphicClass c : {GraphicClass::IcomObj, GraphicClass::TrunkSetObj,
                           GraphicClass::IcomCaption, GraphicClass::TrunkSetCaption}) {
        if (ClassName(c) == name) {
            return c;
        }
    }
    return std::nullopt;
}

}  // namespace corvane::archivetag

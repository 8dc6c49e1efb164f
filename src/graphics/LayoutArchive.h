#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace corvane {

class CGraphicLayout;

// A layout holds at most 256 intercoms and a trunk set per pair; these bounds leave room
// and keep a damaged file from taking unbounded memory or stack.
inline constexpr size_t kMaxLayoutObjects = size_t{1} << 18;
// Objects written inside the fields of others: a chain through all 256 intercoms is about
// 513 deep.
inline constexpr size_t kMaxLayoutNesting = 1024;
// Captions are intercom names and trunk counts, a few dozen characters; of a longer text in a
// file only the first characters are kept, and the file is read on after it.
inline constexpr size_t kMaxCaptionTextLength = 256;

// The bytes of a layout file: the lists intercoms, trunk sets, intercom captions and
// trunk-set captions as one object archive, without header or trailer. The selection is
// not stored. Fails only for a layout linked deeper than a file may be.
bool WriteLayoutArchive(const CGraphicLayout& layout, std::string& bytes, std::string& error);

// Empties the layout's lists and reads the four lists from the bytes. Objects come out
// deselected, captions to be fitted to their texts at the next drawing and their texts cut to
// kMaxCaptionTextLength characters. A file that is not such an archive, or whose objects do
// not hang together, leaves the layout empty and says why in error.
bool ReadLayoutArchive(std::span<const uint8_t> bytes, CGraphicLayout& layout, std::string& error);

}  // namespace corvane

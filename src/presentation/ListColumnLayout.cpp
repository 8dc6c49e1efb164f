#include "presentation/ListColumnLayout.h"

#include <algorithm>
#include <cstdint>

#include "platform/ProfileStore.h"

namespace corvane {
namespace {

constexpr const char* kSection = "Preferences";
// The saved width of a column that has none of its own.
constexpr int kSavedNoWidth = 0xFFFF;

}  // namespace

std::vector<int> SoundColumnOrder(const std::vector<int>& order, int columns) {
    std::vector<bool> taken(static_cast<size_t>(std::max(columns, 0)), false);
    std::vector<int> sound;
    for (const int c : order) {
        if (c >= 0 && c < columns && !taken[c]) {
            taken[c] = true;
            sound.push_back(c);
        }
    }
    for (int c = 0; c < columns; ++c) {
        if (!taken[c]) {
            sound.push_back(c);
        }
    }
    return sound;
}

ListColumnLayout LoadListColumnLayout(const CProfileStore& profile, const std::string& widthsKey,
                                      const std::string& orderKey, int columns) {
    ListColumnLayout layout;
    std::vector<uint8_t> bytes;
    profile.GetProfileBinary(kSection, widthsKey, bytes);
    for (int c = 0; c < columns; ++c) {
        const size_t at = 2 * static_cast<size_t>(c);
        const int width = at + 1 < bytes.size() ? bytes[at] << 8 | bytes[at + 1] : kSavedNoWidth;
        layout.widths.push_back(width == kSavedNoWidth ? ListColumnLayout::kNoWidth : width);
    }
    bytes.clear();
    profile.GetProfileBinary(kSection, orderKey, bytes);
    std::vector<int> saved;
    for (size_t at = 0; at + 3 < bytes.size(); at += 4) {
        const uint32_t v = bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                           static_cast<uint32_t>(bytes[at + 3]) << 24;
        saved.push_back(static_cast<int32_t>(v));
    }
    layout.order = SoundColumnOrder(saved, columns);
    return layout;
}

bool SaveListColumnLayout(CProfileStore& profile, const std::string& widthsKey,
                          const std::string& orderKey, const ListColumnLayout& layout) {
    if (layout.widths.empty()) {
        return true;
    }
    std::vector<uint8_t> widths;
    for (const int w : layout.widths) {
        const int clamped =
            w == ListColumnLayout::kNoWidth ? kSavedNoWidth : std::clamp(w, 0, kSavedNoWidth - 1);
        widths.push_back(static_cast<uint8_t>(clamped >> 8));
        widths.push_back(static_cast<uint8_t>(clamped));
    }
    std::vector<uint8_t> order;
    for (const int c : layout.order) {
        const auto v = static_cast<uint32_t>(c);
        for (int shift = 0; shift < 32; shift += 8) {
            order.push_back(static_cast<uint8_t>(v >> shift));
        }
    }
    CProfileStore::Batch batch(profile);
    const bool w = profile.WriteProfileBinary(kSection, widthsKey, widths);
    const bool o = profile.WriteProfileBinary(kSection, orderKey, order);
    return batch.Close() && w && o;
}

std::vector<int> MergeColumnOrder(const std::vector<int>& saved, const std::vector<int>& shown,
                                  const std::vector<bool>& hidden) {
    const int columns = static_cast<int>(hidden.size());
    std::vector<int> merged = SoundColumnOrder(saved, columns);
    auto next = shown.begin();
    for (int& place : merged) {
        if (hidden[place]) {
            continue;
        }
        while (next != shown.end() && (*next < 0 || *next >= columns || hidden[*next])) {
            ++next;
        }
        if (next != shown.end()) {
            place = *next++;
        }
    }
    return SoundColumnOrder(merged, columns);
}

std::vector<int> OrderWithColumnShown(const std::vector<int>& screen, const std::vector<int>& saved,
                                      const std::vector<bool>& hidden, int column) {
    const int columns = static_cast<int>(hidden.size());
    int before = 0;
    for (const int c : SoundColumnOrder(saved, columns)) {
        if (c == column) {
            break;
        }
        before += hidden[c] ? 0 : 1;
    }
    std::vector<int> order;
    bool placed = before == 0;
    if (placed) {
        order.push_back(column);
    }
    int shownSoFar = 0;
    for (const int c : SoundColumnOrder(screen, columns)) {
        if (c == column) {
            continue;
        }
        order.push_back(c);
        if (!hidden[c] && ++shownSoFar == before && !placed) {
            order.push_back(column);
            placed = true;
        }
    }
    if (!placed) {
        order.push_back(column);
    }
    return order;
}

}  // namespace corvane

#pragma once

#include <optional>
#include <string>

namespace corvane {

// An integer typed into a page: the number, or the message that refuses it ("Please enter an
// integer." for text that is no number, "Please enter an integer between %d and %d." for
// one outside the range). A leading minus may be "-" or the locales' U+2212.
struct PrefIntCheck {
    std::optional<int> value;
    std::string message;
};

PrefIntCheck CheckPrefInt(const std::string& text, int low, int high);

// Shows a refusal the way the pages' data exchange does.
void ShowPrefRefusal(const std::string& message);

}  // namespace corvane

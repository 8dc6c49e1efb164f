#include "preferences/PrefValidation.h"

#include <cerrno>
#include <cstdlib>

#include "platform/Format.h"
#include "platform/StringTable.h"
#include "platform/UiBridge.h"
#include "preferences/PrefHostAddress.h"

namespace corvane {

namespace {

// The minus sign of several locales (U+2212), which their number edits show and take.
constexpr const char* kMinusSign = "\xE2\x88\x92";

}  // namespace

PrefIntCheck CheckPrefInt(const std::string& text, int low, int high) {
    std::string trimmed = TrimBlanks(text);
    if (trimmed.rfind(kMinusSign, 0) == 0) {
        trimmed.replace(0, std::char_traits<char>::length(kMinusSign), "-");
    }
    PrefIntCheck check;
    char* end = nullptr;
    errno = 0;
    const long long number = trimmed.empty() ? 0 : std::strtoll(trimmed.c_str(), &end, 10);
    if (trimmed.empty() || end == nullptr || *end != '\0' || errno == ERANGE) {
        check.message = "Please enter an integer.";
        return check;
    }
    if (number < low || number > high) {
        check.message = StrFormat("Please enter an integer between %d and %d.", low, high);
        return check;
    }
    check.value = static_cast<int>(number);
    return check;
}

void ShowPrefRefusal(const std::string& message) {
    Ui().MessageBox(message, LoadString(ids::kAppCaption), mb::kOk | mb::kIconExclamation);
}

}  // namespace corvane

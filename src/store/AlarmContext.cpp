#include "store/AlarmContext.h"

#include "platform/Format.h"

namespace corvane {
namespace {

int AlphaWidth(int alphaSize) {
    return alphaSize == 6 || alphaSize == 8 ? alphaSize : 4;
}

// The same as formatting with "%W.Ws".
std::string Field(const std::string& text, int width) {
    return StrFormat("%*.*s", width, width, text.c_str());
}

// Width from the length: at least 8 * 4 + 3 (or its 2- and 1-alpha forms) gives 8, and so on.
int WidthFromLength(size_t length, size_t alphas, size_t extra) {
    for (const int w : {8, 6, 4}) {
        if (length >= alphas * w + extra) {
            return w;
        }
    }
    return 0;
}

}  // namespace

std::string GetAlphaFormat(int alphaSize) {
    switch (AlphaWidth(alphaSize)) {
        case 6:
            return "%6.6s";
        case 8:
            return "%8.8s";
        default:
            return "%4.4s";
    }
}

std::string FormatContextOneAlpha(int alphaSize, const std::string& alpha) {
    return Field(alpha, AlphaWidth(alphaSize));
}

std::string FormatContextTwoAlphas(int alphaSize, const std::string& alpha1,
                                   const std::string& alpha2) {
    const int w = AlphaWidth(alphaSize);
    return Field(alpha1, w) + Field(alpha2, w);
}

std::string FormatContextFiveFields(int alphaSize, const std::string& alpha1,
                                    const std::string& alpha2, const std::string& alpha3,
                                    const std::string& flags, const std::string& alpha4) {
    const int w = AlphaWidth(alphaSize);
    return Field(alpha1, w) + Field(alpha2, w) + Field(alpha3, w) + Field(flags, 3) +
           Field(alpha4, w);
}

bool ParseContextFiveFields(const std::string& context, std::string& alpha1, std::string& alpha2,
                            std::string& alpha3, std::string& flags, std::string& alpha4) {
    const size_t w = WidthFromLength(context.size(), 4, 3);
    if (w == 0) {
        return false;
    }
    alpha1 = context.substr(0, w);
    alpha2 = context.substr(w, w);
    alpha3 = context.substr(2 * w, w);
    flags = context.substr(3 * w, 3);
    alpha4 = context.substr(3 * w + 3, w);
    return true;
}

bool ParseContextTwoAlphas(const std::string& context, std::string& alpha1, std::string& alpha2) {
    const size_t w = WidthFromLength(context.size(), 2, 0);
    if (w == 0) {
        return false;
    }
    alpha1 = context.substr(0, w);
    alpha2 = context.substr(w, w);
    return true;
}

bool ParseContextOneAlpha(const std::string& context, std::string& alpha) {
    const size_t w = WidthFromLength(context.size(), 1, 0);
    if (w == 0) {
        return false;
    }
    const std::string field = context.substr(0, w);
    const size_t first = field.find_first_not_of(' ');
    alpha = first == std::string::npos
                ? std::string()
                : field.substr(first, field.find_last_not_of(' ') - first + 1);
    return true;
}

}  // namespace corvane

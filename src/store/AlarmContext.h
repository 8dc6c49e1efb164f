#pragma once

#include <string>

namespace corvane {

// The Context text of an alarm: fixed-width alpha fields naming the devices involved.
// alphaSize is the "AlphaSize" setting: 6 and 8 give those widths, anything else 4.

// "%4.4s", "%6.6s" or "%8.8s": an alpha cut to the width and right-aligned in it.
std::string GetAlphaFormat(int alphaSize);

std::string FormatContextOneAlpha(int alphaSize, const std::string& alpha);
std::string FormatContextTwoAlphas(int alphaSize, const std::string& alpha1,
                                   const std::string& alpha2);
// Three alphas, the 3-character talk/listen flags ("T/-"), one alpha.
std::string FormatContextFiveFields(int alphaSize, const std::string& alpha1,
                                    const std::string& alpha2, const std::string& alpha3,
                                    const std::string& flags, const std::string& alpha4);

// The readers take the width from the stored text's length, since the setting may have
// changed since it was written. False (outputs untouched) when the text is too short.
bool ParseContextFiveFields(const std::string& context, std::string& alpha1, std::string& alpha2,
                            std::string& alpha3, std::string& flags, std::string& alpha4);
bool ParseContextTwoAlphas(const std::string& context, std::string& alpha1, std::string& alpha2);
// The one alpha comes back without its padding.
bool ParseContextOneAlpha(const std::string& context, std::string& alpha);

}  // namespace corvane

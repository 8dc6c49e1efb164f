#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

// Longest body line on the wire; longer lines are broken.
inline constexpr size_t kSMTPLineWidth = 76;

// Line ends become CR LF (a bare LF or CR too).
std::string NormalizeLineEnds(std::string_view text);

// Quoted-printable (RFC 2045) of text whose lines end in CR LF: bytes of 0x80 and above,
// "=", control characters other than tab, and blanks at a line's end become "=XX"; soft line
// breaks keep every line within the line width.
std::string EncodeQuotedPrintable(std::string_view text);

// Breaks every line longer than the line width into pieces of that width.
std::string BreakLongLines(std::string_view text);

// Doubles the "." that starts a line, so that no line of the data ends the data early.
std::string StuffDots(std::string_view text);

// The body as it goes between DATA's header and the closing ".": line ends normalised,
// quoted-printable when asked, long lines broken, dots stuffed.
std::string FrameBody(std::string_view body, bool quotedPrintable);

}  // namespace corvane

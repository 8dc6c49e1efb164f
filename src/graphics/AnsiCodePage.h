#pragma once

#include <string>
#include <string_view>

namespace corvane {

// Layout files hold their texts in the ANSI code page of the machines that wrote them,
// Windows-1252; the program holds texts in UTF-8.

// Every byte has a character (the five unassigned ones keep their C1 control codes).
std::string AnsiToUtf8(std::string_view ansi);
// A character the code page lacks, and each byte of a broken UTF-8 sequence, become '?'.
std::string Utf8ToAnsi(std::string_view utf8);
// UTF-16 code units as ANSI; a lone surrogate becomes '?'.
std::string Utf16ToAnsi(std::u16string_view utf16);

}  // namespace corvane

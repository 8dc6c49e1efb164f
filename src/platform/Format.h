#pragma once

#include <cstdarg>
#include <initializer_list>
#include <string>
#include <string_view>

namespace corvane {

// printf-style formatting into a string; the system's formats keep their C meaning.
std::string StrFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string StrFormatV(const char* format, va_list args);

// Fills message-style inserts "%1" .. "%9" with the given texts; "%%" gives "%".
std::string InsertArgs(std::string_view text, std::initializer_list<std::string_view> args);

}  // namespace corvane

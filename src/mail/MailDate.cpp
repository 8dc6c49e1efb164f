#include "mail/MailDate.h"

#include <cstdlib>

#include "platform/Format.h"

namespace corvane {
namespace {

constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

const char* Name(const char* const* names, int count, int index) {
    return index >= 0 && index < count ? names[index] : "???";
}

}  // namespace

std::string FormatMailDate(const std::tm& local, long utcOffsetSeconds) {
    const long minutes = std::labs(utcOffsetSeconds) / 60;
    return StrFormat("%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld", Name(kDays, 7, local.tm_wday),
                     local.tm_mday, Name(kMonths, 12, local.tm_mon), local.tm_year + 1900,
                     local.tm_hour, local.tm_min, local.tm_sec, utcOffsetSeconds < 0 ? '-' : '+',
                     minutes / 60, minutes % 60);
}

std::string FormatMailDate(WallTime time) {
    const std::time_t t = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    localtime_r(&t, &local);
    return FormatMailDate(local, local.tm_gmtoff);
}

}  // namespace corvane

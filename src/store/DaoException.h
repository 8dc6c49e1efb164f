#pragma once

#include <stdexcept>
#include <string>

namespace corvane {

// The one database failure of the store: the engine's description and its result code.
class CDaoException : public std::runtime_error {
public:
    CDaoException(const std::string& description, int code);

    const std::string& Description() const { return description_; }
    // An SQLite (extended) result code.
    int Code() const { return code_; }

private:
    std::string description_;
    int code_;
};

// The one database error box: fills the caller's format (ending in "\nDescription: %s") with
// the engine's description and shows it with the stop icon.
void ReportDaoException(const CDaoException& e, const std::string& format);

}  // namespace corvane

#include "store/DaoException.h"

#include "platform/UiBridge.h"

namespace corvane {
namespace {

constexpr const char* kNoErrorInformation =
    "No error information available.\n\nThe diagnostic log may tell more about what went "
    "wrong.";

}  // namespace

CDaoException::CDaoException(const std::string& description, int code)
    : std::runtime_error(description), description_(description), code_(code) {}

void ReportDaoException(const CDaoException& e, const std::string& format) {
    Ui().ReportDatabaseError(format,
                             e.Description().empty() ? kNoErrorInformation : e.Description());
}

}  // namespace corvane

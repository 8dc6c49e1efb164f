#include "store/DaoException.h"

#include "platform/UiBridge.h"

namespace corvane {
namespace {

constexpr const char* kNoErrorInformation =
    "No error information available.\n\nIf you have not successfully run Corvane on this\n"
    "computer before, it may be possible that you need to\ninstall V3.5 of the Microsoft DAO "
    "Database engine drivers.\n\nPlease see the Application Requirements section of the\n"
    "Release Notes for more information.";

}  // namespace

CDaoException::CDaoException(const std::string& description, int code)
    : std::runtime_error(description), description_(description), code_(code) {}

void ReportDaoException(const CDaoException& e, const std::string& format) {
    Ui().ReportDatabaseError(format,
                             e.Description().empty() ? kNoErrorInformation : e.Description());
}

}  // namespace corvane

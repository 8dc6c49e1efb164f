#include "store/ListControlSetup.h"

#include <cctype>

#include "store/DaoException.h"

namespace corvane {
namespace {

std::string Unquoted(const std::string& name) {
    if (name.size() >= 2 && name.front() == '\'' && name.back() == '\'') {
        return name.substr(1, name.size() - 2);
    }
    return name;
}

std::string Trimmed(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) {
        ++begin;
    }
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) {
        --end;
    }
    return text.substr(begin, end - begin);
}

}  // namespace

bool IsHiddenListField(const std::string& fieldName) {
    const std::string name = Unquoted(fieldName);
    return !name.empty() && name.front() == '_';
}

std::string ListColumnTitle(const std::string& fieldName) {
    return Trimmed(Unquoted(fieldName));
}

bool InitListCtrl(CDaoRecordset& rs, int listWidth, ListControlSetup& setup) {
    setup = {};
    try {
        const int fields = rs.GetFieldCount();
        const int width = fields > 0 ? (listWidth - 20) / fields : 0;
        for (int field = 0; field < fields; ++field) {
            const std::string name = rs.GetFieldName(field);
            if (IsHiddenListField(name)) {
                continue;
            }
            setup.columns.push_back({ListColumnTitle(name), field, width});
        }
        if (rs.IsBOF() && rs.IsEOF()) {
            setup.itemCount = 0;
        } else {
            // The count is complete only once the last row has been reached.
            rs.MoveLast();
            rs.MoveFirst();
            setup.itemCount = rs.GetRecordCount();
        }
        return true;
    } catch (const CDaoException& e) {
        setup.itemCount = 0;
        ReportDaoException(e, "Error, initializing CListCtrl\nDescription: %s");
        return false;
    }
}

}  // namespace corvane

#include "store/ListRequestFinder.h"

#include <cctype>

#include "model/ListRowKeys.h"
#include "store/DaoException.h"
#include "store/FunctionCodes.h"

namespace corvane {
namespace {

std::string TrimmedEnd(std::string text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.pop_back();
    }
    return text;
}

RequestEndPort EndPort(const DaoInt16& intercom, const DaoText& function, const DaoInt16& number) {
    RequestEndPort port;
    if (!intercom.IsNull()) {
        port.intercom = intercom.Value();
    }
    const int type = FunctionTypeOfCode(std::string_view(function.Value()));
    if (type >= 0) {
        port.functionType = type;
    }
    if (!number.IsNull()) {
        port.number = number.Value();
    }
    return port;
}

}  // namespace

bool FindRequest(const IListRows& list, int& position, const CListColumnPositions& positions,
                 CRequestsRS& requests, FoundRequest& found) {
    found = {};
    found.selectedCount = list.SelectedCount();
    const int row = list.FindSelectedRow(position < 0 ? 0 : position);
    if (row < 0) {
        return false;
    }
    position = row + 1;
    const auto cell = [&](size_t item) {
        const int column = positions.Position(ListQueryKind::Requests, item);
        return column == CListColumnPositions::kUnknown ? std::string()
                                                        : list.CellText(row, column);
    };
    const int id = ParseListKey(cell(listpos::kRequestId));
    if (id == INT_MAX) {
        return false;
    }
    found.requestId = id;
    const size_t icoms[2] = {listpos::kRequestIcom1, listpos::kRequestIcom2};
    const size_t alphas[2] = {listpos::kRequestAlpha1, listpos::kRequestAlpha2};
    for (int end = 0; end < 2; ++end) {
        const std::string alpha = TrimmedEnd(cell(alphas[end]));
        if (!alpha.empty()) {
            found.captions[end] = "View requests involving " + cell(icoms[end]) + ":" + alpha;
        }
    }
    try {
        if (requests.Seek(id)) {
            found.ends[0] = EndPort(requests.m_End1IntercomIndex, requests.m_End1Function,
                                    requests.m_End1Number);
            found.ends[1] = EndPort(requests.m_End2IntercomIndex, requests.m_End2Function,
                                    requests.m_End2Number);
        }
    } catch (const CDaoException& e) {
        ReportDaoException(e, "Error, finding request ID\nDescription: %s");
        return false;
    }
    return true;
}

}  // namespace corvane

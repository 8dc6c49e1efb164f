#include "link/AlphaMessages.h"

#include <algorithm>

#include "model/Alpha.h"
#include "platform/Format.h"

namespace corvane {

const std::array<AlphaListKind, 8>& AlphaListKinds() {
    static const std::array<AlphaListKind, 8> kinds = {{
        {0, 0, "Point-To-Point"},
        {1, 16, "Party Lines"},
        {2, 32, "IFBs"},
        {3, 48, "Special Lists"},
        {4, 64, "Relays"},
        {5, 80, "ISOs"},
        {6, 96, "UPL Resources"},
        {8, 128, "IFB Special Lists"},
    }};
    return kinds;
}

bool IsAlphaListKind(int kind) {
    return kind >= 0 && kind <= 8 && kind != kMatrixNamesKind;
}

QuillexRequest RequestAlphasRequest(const AlphaPageQuery& q) {
    std::string line;
    int typeByte = 112;
    if (q.kind == kMatrixNamesKind) {
        line = StrFormat("Sending Matrix Names Query Message, Matrix = %d", q.matrix);
    } else {
        const auto& kinds = AlphaListKinds();
        const auto it = std::find_if(kinds.begin(), kinds.end(),
                                     [&](const AlphaListKind& k) { return k.kind == q.kind; });
        typeByte = it != kinds.end() ? it->typeByte : 0;
        line = StrFormat("Sending Request Alphas (%s) Message, Matrix = %d",
                         it != kinds.end() ? it->logName : "?", q.matrix);
    }
    return MakeRequest(QuillexMessageCode::kRequestAlphas, std::move(line))
        .Byte(q.matrix)
        .Word(static_cast<unsigned>(typeByte) << 8 | (static_cast<unsigned>(q.startIndex) & 0xFFF))
        .Byte(q.sizeCode * 16)
        .Byte(q.alphasPerPage);
}

Decoded<AlphaPage> DecodeAlphasReply(const AlphaPageQuery& q, ReplyBytes payload) {
    if (payload.size() < 2 || q.alphaSize <= 0 || q.alphasPerPage <= 0) {
        return Decoded<AlphaPage>::Refused(LengthFailure(kMatrixAlphasReplyName));
    }
    AlphaPage page;
    page.count = static_cast<int>(WordAt(payload, 0));
    const bool listKind = q.kind != kMatrixNamesKind;
    if (page.count < q.startIndex) {
        // The list shrank between two pages: there is nothing more to read.
        if (payload.size() != 2) {
            return Decoded<AlphaPage>::Refused(LengthFailure(kMatrixAlphasReplyName));
        }
        page.shrank = true;
        page.trimToCount = listKind;
        return page;
    }
    const int expected = std::min(q.alphasPerPage, page.count - q.startIndex);
    const size_t size = static_cast<size_t>(q.alphaSize);
    if (payload.size() != 2 + static_cast<size_t>(expected) * size) {
        return Decoded<AlphaPage>::Refused(LengthFailure(kMatrixAlphasReplyName));
    }
    page.trimToCount = q.startIndex == 0 && listKind;
    for (int i = 0; i < expected; ++i) {
        const int number = q.startIndex + i;
        if (!listKind && number != q.matrix) {
            continue;
        }
        const uint8_t* bytes = payload.data() + 2 + static_cast<size_t>(i) * size;
        const size_t length = std::find(bytes, bytes + size, 0) - bytes;
        AlphaEntry entry;
        entry.number = number;
        entry.text.assign(reinterpret_cast<const char*>(bytes), length);
        entry.operation = bytes[0] == 0 ? alphaop::kDelete : alphaop::kStore;
        page.entries.push_back(std::move(entry));
    }
    page.nextStart =
        page.count < q.startIndex + q.alphasPerPage ? 0 : q.startIndex + q.alphasPerPage;
    if (page.nextStart > 0xFFF) {
        page.nextStart = 0;  // beyond what the request's 12-bit start index can ask for
    }
    return page;
}

std::optional<int> HandleAlphasReply(const AlphaPageQuery& q, ReplyBytes payload,
                                     IQuillexModel& model, const CDiagLogSource& log) {
    log.Printf(3, "%s", kMatrixAlphasReplyName);
    const Decoded<AlphaPage> page = DecodeAlphasReply(q, payload);
    if (!page) {
        log.Printf(2, "%s", page.Failure().c_str());
        return std::nullopt;
    }
    if (page->shrank) {
        log.Printf(2, "%s: Count %d below start index %d", kMatrixAlphasReplyName, page->count,
                   q.startIndex);
    }
    if (page->trimToCount) {
        model.AddAlpha(q.matrix, q.kind, page->count, "", alphaop::kDeleteFrom, false);
    }
    for (const AlphaEntry& e : page->entries) {
        model.AddAlpha(q.matrix, q.kind, e.number, e.text, e.operation, false);
    }
    return page->nextStart;
}

}  // namespace corvane

#pragma once

#include <array>
#include <string>
#include <vector>

#include "link/QuillexRequest.h"
#include "link/ReplyDecode.h"
#include "log/DiagLogSource.h"
#include "model/QuillexModel.h"

namespace corvane {

// Request Alphas: the alpha lists of a matrix, page by page, and the matrix names.

inline constexpr const char* kMatrixAlphasReplyName = "Matrix Alphas Query Reply";
inline constexpr int kMatrixNamesKind = 7;

struct AlphaListKind {
    int kind;
    int typeByte;         // lands in bits 12-15 of the request's word
    const char* logName;  // as the sending line names the list
};
// The eight alpha lists in the order of their change bits: kinds 0-6 and 8.
const std::array<AlphaListKind, 8>& AlphaListKinds();
// Kinds 0-6 and 8 (the names, kind 7, are not a list of their own).
bool IsAlphaListKind(int kind);

// What the Request Alphas under way asked for.
struct AlphaPageQuery {
    int matrix = 0;
    int kind = 0;  // 0-8
    int startIndex = 0;
    int alphaSize = 4;
    int sizeCode = 0;
    int alphasPerPage = 128;
};

// Matrix, word (type byte x 256 ORed with the start index), size code x 16, alphas per page.
// Kind 7 logs as the names query.
QuillexRequest RequestAlphasRequest(const AlphaPageQuery& query);

struct AlphaEntry {
    int number = 0;
    std::string text;   // up to the first zero byte
    int operation = 0;  // alphaop:: store, or delete when the first byte is 0
};

struct AlphaPage {
    int count = 0;  // the list's length as the controller has it now
    // The model drops its alphas of this list numbered count and above.
    bool trimToCount = false;
    std::vector<AlphaEntry> entries;
    // 0 when the list is complete.
    int nextStart = 0;
    // The count fell below the page asked for: the list ended early.
    bool shrank = false;
};

// Payload: a 16-bit count c, then min(alphas per page, c - start) alphas of the alpha size.
Decoded<AlphaPage> DecodeAlphasReply(const AlphaPageQuery& query, ReplyBytes payload);

// Decodes and passes the page to the model; returns the next start index, or none when the
// reply is refused (already logged).
std::optional<int> HandleAlphasReply(const AlphaPageQuery& query, ReplyBytes payload,
                                     IQuillexModel& model, const CDiagLogSource& log);

}  // namespace corvane

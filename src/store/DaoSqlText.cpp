#include "store/DaoSqlText.h"

#include <cctype>
#include <vector>

namespace corvane {
namespace {

struct Clause {
    size_t at = std::string_view::npos;  // where its keyword starts
    size_t body = 0;                     // where its text starts
};

bool IsWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

bool WordAt(std::string_view sql, size_t at, std::string_view word) {
    if (at + word.size() > sql.size() || (at > 0 && IsWordChar(sql[at - 1]))) {
        return false;
    }
    for (size_t i = 0; i < word.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(sql[at + i])) != word[i]) {
            return false;
        }
    }
    return at + word.size() == sql.size() || !IsWordChar(sql[at + word.size()]);
}

// After a keyword such as "ORDER", the following "BY".
size_t AfterBy(std::string_view sql, size_t at) {
    while (at < sql.size() && std::isspace(static_cast<unsigned char>(sql[at]))) {
        ++at;
    }
    return WordAt(sql, at, "BY") ? at + 2 : std::string_view::npos;
}

// The top-level clauses of the last SELECT: outside quotes, brackets and parentheses.
struct TopLevel {
    Clause where, group, having, order, limit;
};

TopLevel Scan(std::string_view sql) {
    TopLevel top;
    int depth = 0;
    for (size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (c == '\'' || c == '"' || c == '`' || c == '[') {
            const char close = c == '[' ? ']' : c;
            for (++i; i < sql.size(); ++i) {
                if (sql[i] == close) {
                    if (close != ']' && i + 1 < sql.size() && sql[i + 1] == close) {
                        ++i;  // a doubled quote stays inside
                        continue;
                    }
                    break;
                }
            }
            continue;
        }
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            --depth;
        }
        if (depth != 0 || !std::isalpha(static_cast<unsigned char>(c))) {
            continue;
        }
        if (WordAt(sql, i, "WHERE")) {
            top.where = {i, i + 5};
        } else if (WordAt(sql, i, "GROUP")) {
            if (const size_t by = AfterBy(sql, i + 5); by != std::string_view::npos) {
                top.group = {i, by};
            }
        } else if (WordAt(sql, i, "HAVING")) {
            top.having = {i, i + 6};
        } else if (WordAt(sql, i, "ORDER")) {
            if (const size_t by = AfterBy(sql, i + 5); by != std::string_view::npos) {
                top.order = {i, by};
            }
        } else if (WordAt(sql, i, "LIMIT")) {
            top.limit = {i, i + 5};
        } else if (WordAt(sql, i, "UNION") || WordAt(sql, i, "EXCEPT") ||
                   WordAt(sql, i, "INTERSECT")) {
            top = {};  // only the last SELECT of a compound takes the filter
        }
        while (i + 1 < sql.size() && IsWordChar(sql[i + 1])) {
            ++i;
        }
    }
    return top;
}

size_t FirstOf(std::initializer_list<size_t> positions, size_t fallback) {
    size_t best = fallback;
    for (const size_t p : positions) {
        if (p != std::string_view::npos && p < best) {
            best = p;
        }
    }
    return best;
}

std::string_view TrimEnd(std::string_view s) {
    while (!s.empty() && (std::isspace(static_cast<unsigned char>(s.back())) || s.back() == ';')) {
        s.remove_suffix(1);
    }
    return s;
}

std::string QuotedAliasesAsIdentifiers(std::string_view sort) {
    std::string out;
    for (size_t i = 0; i < sort.size(); ++i) {
        if (sort[i] != '\'') {
            out += sort[i];
            continue;
        }
        std::string alias;
        for (++i; i < sort.size(); ++i) {
            if (sort[i] == '\'') {
                if (i + 1 < sort.size() && sort[i + 1] == '\'') {
                    alias += '\'';
                    ++i;
                    continue;
                }
                break;
            }
            alias += sort[i];
        }
        out += '"';
        for (const char c : alias) {
            out += c;
            if (c == '"') {
                out += '"';
            }
        }
        out += '"';
    }
    return out;
}

}  // namespace

std::string ApplyFilterAndSort(std::string_view sqlIn, std::string_view filter,
                               std::string_view sort) {
    const std::string_view sql = TrimEnd(sqlIn);
    if (filter.empty() && sort.empty()) {
        return std::string(sql);
    }
    const TopLevel top = Scan(sql);
    const size_t end = sql.size();
    const size_t limitAt = FirstOf({top.limit.at}, end);
    const size_t orderAt = FirstOf({top.order.at}, limitAt);
    const size_t afterWhere =
        FirstOf({top.group.at, top.having.at, top.order.at, top.limit.at}, end);

    std::string out;
    if (filter.empty()) {
        out.append(sql.substr(0, orderAt));
    } else if (top.where.at != std::string_view::npos) {
        out.append(sql.substr(0, top.where.body));
        out += " (";
        out.append(sql.substr(top.where.body, afterWhere - top.where.body));
        out += ") AND (";
        out.append(filter);
        out += ") ";
        out.append(sql.substr(afterWhere, orderAt - afterWhere));
    } else {
        out.append(sql.substr(0, afterWhere));
        out += " WHERE (";
        out.append(filter);
        out += ") ";
        out.append(sql.substr(afterWhere, orderAt - afterWhere));
    }
    if (!sort.empty()) {
        out += " ORDER BY ";
        out += QuotedAliasesAsIdentifiers(sort);
        out += ' ';
    } else {
        out.append(sql.substr(orderAt, limitAt - orderAt));
    }
    out.append(sql.substr(limitAt));
    return out;
}

}  // namespace corvane

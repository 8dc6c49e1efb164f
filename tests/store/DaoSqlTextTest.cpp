#include "store/DaoSqlText.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(DaoSqlTextTest, FilterAndSortGoIntoTheQuery) {
    struct Case {
        const char* sql;
        const char* filter;
        const char* sort;
        const char* expected;
    };
    const Case cases[] = {
        {"SELECT a FROM t", "", "", "SELECT a FROM t"},
        {"SELECT a FROM t;", "b = 1", "", "SELECT a FROM t WHERE (b = 1) "},
        {"SELECT a FROM t WHERE x < y", "b = 1", "", "SELECT a FROM t WHERE ( x < y) AND (b = 1) "},
        {"SELECT a FROM t WHERE x < y ORDER BY a", "b = 1", "2 DESC, k",
         "SELECT a FROM t WHERE ( x < y ) AND (b = 1)  ORDER BY 2 DESC, k "},
        {"SELECT a FROM t ORDER BY a LIMIT 3", "", "b", "SELECT a FROM t  ORDER BY b LIMIT 3"},
        {"SELECT a, count(*) FROM t GROUP BY a", "b = 1", "",
         "SELECT a, count(*) FROM t  WHERE (b = 1) GROUP BY a"},
        // WHERE inside parentheses, quotes or brackets is not the query's own.
        {"SELECT a FROM (SELECT a FROM t WHERE c) AS s", "b", "",
         "SELECT a FROM (SELECT a FROM t WHERE c) AS s WHERE (b) "},
        {"SELECT 'WHERE' AS [ORDER BY] FROM t", "b", "",
         "SELECT 'WHERE' AS [ORDER BY] FROM t WHERE (b) "},
        // A quoted alias sorts on its column, not on a constant text.
        {"SELECT x AS 'Icom #' FROM t", "", "'Icom #' ASC, 'it''s'",
         "SELECT x AS 'Icom #' FROM t ORDER BY \"Icom #\" ASC, \"it's\" "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ApplyFilterAndSort(c.sql, c.filter, c.sort), c.expected) << c.sql;
    }
}

}  // namespace
}  // namespace corvane

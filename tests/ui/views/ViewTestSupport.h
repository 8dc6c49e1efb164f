#pragma once

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QWidget>
#include <initializer_list>
#include <string>
#include <vector>

#include "ViewsRig.h"
#include "store/DaoRecordset.h"
#include "ui/VorlinDialog.h"
#include "ui/VorlinStatusBar.h"
#include "ui/views/ListTableModel.h"

namespace corvane::testing {

// The control of a form with this control id; none when the form has none.
template <typename W>
W* ControlOf(const QWidget* form, int id) {
    for (W* w : form->findChildren<W*>()) {
        if (CVorlinDialog::ControlId(w) == id) {
            return w;
        }
    }
    return nullptr;
}

// The list column with this title, -1 when there is none.
inline int ColumnTitled(const CListTableModel& model, const QString& title) {
    for (int c = 0; c < model.columnCount(); ++c) {
        if (model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() == title) {
            return c;
        }
    }
    return -1;
}

// The row whose first cell shows this number (its id, trunk or intercom), -1 when none does.
inline int RowOfNumber(const CListTableModel& model, long long number) {
    for (int row = 0; row < model.rowCount(); ++row) {
        if (model.CellText(row, 0) == std::to_string(number)) {
            return row;
        }
    }
    return -1;
}

// Selects the rows of these numbers, and only those.
inline void SelectRowsOfNumbers(QAbstractItemView& list, const CListTableModel& model,
                                std::initializer_list<long long> numbers) {
    list.clearSelection();
    for (const long long number : numbers) {
        list.selectionModel()->select(model.index(RowOfNumber(model, number), 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

// The first column of every row a query returns, as text.
inline std::vector<std::string> QueryColumn(ViewsRig& rig, const std::string& sql) {
    CDaoRecordset rs(rig.doc->Database()->Database());
    rs.Open(DaoOpenType::Dynaset, sql);
    std::vector<std::string> values;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        values.push_back(rs.GetFieldValue(0).ToText());
    }
    return values;
}

// The fields of a text joined by "|".
inline std::vector<std::string> SplitFields(const std::string& text) {
    std::vector<std::string> fields;
    for (size_t from = 0;;) {
        const size_t bar = text.find('|', from);
        fields.push_back(text.substr(from, bar == std::string::npos ? bar : bar - from));
        if (bar == std::string::npos) {
            return fields;
        }
        from = bar + 1;
    }
}

inline long QueryCount(ViewsRig& rig, const std::string& sql) {
    CDaoRecordset rs(rig.doc->Database()->Database());
    rs.Open(DaoOpenType::Dynaset, sql);
    return static_cast<long>(rs.GetFieldValue(0).AsInteger());
}

}  // namespace corvane::testing

#include "store/ComboFillers.h"

#include <cctype>
#include <climits>

#include "model/VorlinModel.h"
#include "platform/Format.h"
#include "store/DaoException.h"
#include "store/FunctionCodes.h"
#include "store/StoreInterfaces.h"

namespace corvane {
namespace {

constexpr const char* kPortComboError = "Error, initializing port combobox\nDescription: %s";

std::string PortEntry(const std::string& alpha, int functionType, int number) {
    return alpha + " - [" + CVorlinModel::GetAlphaDisplayName(functionType, number) + "]";
}

int AsInt(const DaoValue& v) {
    return static_cast<int>(v.AsInteger());
}

}  // namespace

std::string GetRecordsetIntercomName(const CIntercomsRS& rs) {
    const std::string& name = rs.m_IntercomName.Value();
    for (const char c : name) {
        if (!std::isspace(static_cast<unsigned char>(c))) {
            return name;
        }
    }
    return {};
}

ChoiceList FillIntercomCombo(CDaoDatabase& db, bool withAny, bool showNameless) {
    ChoiceList items;
    try {
        CIntercomsRS rs(db);
        rs.Open();
        for (; !rs.IsEOF(); rs.MoveNext()) {
            const int intercom = rs.m_IntercomIndex.Value();
            std::string name = GetRecordsetIntercomName(rs);
            if (name.empty() && !showNameless) {
                continue;
            }
            items.push_back({std::move(name), intercom});
        }
    } catch (const CDaoException& e) {
        items.clear();
        ReportDaoException(e, "Error, initializing intercom combobox\nDescription: %s");
    }
    items.insert(items.begin(), {withAny ? "All intercoms" : "None", INT_MAX});
    return items;
}

ChoiceList FillAlphaCombo(CDaoDatabase& db, int intercom, int functionType, int selection,
                          int& selected) {
    ChoiceList items;
    try {
        CDaoRecordset rs(db);
        const bool oneType = IsValidFunctionType(functionType);
        if (oneType) {
            rs.Open(DaoOpenType::Dynaset,
                    "SELECT Number, Alpha FROM AllNames WHERE IntercomIndex = ? AND Function = ? "
                    "ORDER BY Number ASC",
                    {intercom, std::string(kFunctionCodes[functionType])});
        } else {
            rs.Open(DaoOpenType::Dynaset,
                    "SELECT Number, Alpha, Function FROM AllNames WHERE IntercomIndex = ? ORDER BY "
                    "Number ASC",
                    {intercom});
        }
        for (; !rs.IsEOF(); rs.MoveNext()) {
            const int number = AsInt(rs.GetFieldValue(0));
            int type = functionType;
            if (!oneType) {
                type = FunctionTypeOfCode(std::string_view(rs.GetFieldValue(2).AsText()));
                if (type < 0) {
                    type = 0;
                }
            }
            items.push_back({PortEntry(rs.GetFieldValue(1).ToText(), type, number),
                             (type << 16) | (number & 0xFFFF)});
        }
    } catch (const CDaoException& e) {
        items.clear();
        ReportDaoException(e, kPortComboError);
    }
    items.insert(items.begin(), {"All", INT_MAX});
    selected = SelectChoiceByData(items, selection);
    return items;
}

ChoiceList FillPortCombo(CDaoDatabase& db, int intercom, bool withAny) {
    ChoiceList items;
    if (intercom >= 0 && intercom < kModelIntercoms) {
        try {
            CDaoRecordset rs(db);
            rs.Open(DaoOpenType::Dynaset,
                    "SELECT Number, Alpha FROM PortNames WHERE IntercomIndex = ? ORDER BY Number "
                    "ASC",
                    {intercom});
            for (; !rs.IsEOF(); rs.MoveNext()) {
                const int number = AsInt(rs.GetFieldValue(0));
                items.push_back({PortEntry(rs.GetFieldValue(1).ToText(), 0, number), number});
            }
        } catch (const CDaoException& e) {
            items.clear();
            ReportDaoException(e, kPortComboError);
        }
    }
    items.insert(items.begin(), {withAny ? "All ports" : "None", INT_MAX});
    return items;
}

ChoiceList FillTrunkCombo(CDaoDatabase& db) {
    ChoiceList items;
    try {
        // Only the numbers: the forms refill their trunk boxes on every tick that adds a trunk.
        CDaoRecordset rs(db);
        rs.Open(DaoOpenType::Dynaset, "SELECT TrunkIndex FROM Trunks ORDER BY TrunkIndex");
        for (; !rs.IsEOF(); rs.MoveNext()) {
            const int trunk = AsInt(rs.GetFieldValue(0));
            items.push_back({StrFormat("Trunk %d", trunk), trunk});
        }
    } catch (const CDaoException& e) {
        items.clear();
        ReportDaoException(e, kPortComboError);
    }
    items.insert(items.begin(), {"All trunks", INT_MAX});
    return items;
}

}  // namespace corvane

#pragma once

#include <string>

#include "model/ChoiceLists.h"
#include "store/DaoDatabase.h"
#include "store/TableRecordsets.h"

namespace corvane {

// The entries of the form views' combo boxes, read from the database. A database failure
// is reported with the filler's text; the list then holds its top entry alone.

// Every intercom with its name and IntercomIndex as data (nameless ones, with an empty name,
// only when showNameless is set), below "All intercoms" (withAny) or "None", data INT_MAX.
ChoiceList FillIntercomCombo(CDaoDatabase& db, bool withAny, bool showNameless);

// "All" (data INT_MAX), then the alphas of one intercom, of one function type or, for a
// type that is not a port type, of all: "alpha - [display name]" with data type << 16 |
// number. selected: the index of the entry whose data is selection, else 0.
ChoiceList FillAlphaCombo(CDaoDatabase& db, int intercom, int functionType, int selection,
                          int& selected);

// "All ports" (withAny) or "None", data INT_MAX, then for an intercom below 257 its PP
// ports: "alpha - [display name]" with the number as data.
ChoiceList FillPortCombo(CDaoDatabase& db, int intercom, bool withAny);

// "All trunks" (data INT_MAX), then "Trunk %d" with the number as data for every trunk.
ChoiceList FillTrunkCombo(CDaoDatabase& db);

// The current row's IntercomName; empty when it holds only blanks.
std::string GetRecordsetIntercomName(const CIntercomsRS& rs);

}  // namespace corvane

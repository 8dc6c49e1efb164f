#include "ui/views/ListTableModel.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "fakes/LogCapture.h"
#include "fakes/TempDir.h"
#include "log/DiagLogSource.h"
#include "store/DaoDatabase.h"
#include "store/ListRecordsets.h"

namespace corvane {
namespace {

// Names whose intercom lookup fails, as a broken name table would.
class FailingNames final : public IListCellNames {
public:
    std::string IntercomName(int) const override { throw std::out_of_range("no such intercom"); }
    const CNameTables& Names() const override { return tables; }
    CNameTables tables;
};

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// The view paints inside data(): a failure of one cell shows it empty, the others as they are,
// and each list logs the first failure only.
TEST(ListTableModel, ACellThatCannotBeShownIsEmptyAndLoggedOncePerList) {
    testing::LogCapture log("ListView", 0);
    testing::TempDir dir;
    const CDiagLogSource dbLog;
    CDaoDatabase db(dbLog);
    db.Create(dir / "cells.mdb");
    db.Execute("CREATE TABLE Devices (ID INTEGER, Kind TEXT, Device TEXT, Context TEXT)");
    const FailingNames names;
    for (int id = 1; id <= 3; ++id) {
        db.Execute("INSERT INTO Devices VALUES (?1, ?2, char(1) || 'a5', '')",
                   {DaoValue(id), DaoValue(names.tables.deviceTypes[devicetype::kIntercom])});
    }
    CListRecordset rs(db);
    rs.Open(DaoOpenType::Dynaset,
            "SELECT ID, Kind AS 'Device Type', Device AS 'Device Info', Context AS '_Context' "
            "FROM Devices ORDER BY ID");
    for (int list = 0; list < 2; ++list) {
        CListTableModel model(names, nullptr);
        model.SetRecordset(&rs, {{"ID", 0}, {"Device Type", 1}, {"Device Info", 2}});
        model.SetAlarmDeviceFields(1, 3);
        ASSERT_EQ(model.rowCount(), 3);
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(model.data(model.index(row, 2), Qt::DisplayRole).toString(), "");
            EXPECT_EQ(model.data(model.index(row, 0), Qt::DisplayRole).toString(),
                      QString::number(row + 1));
        }
    }
    EXPECT_EQ(Count(log.Text(), "no such intercom"), 2u) << log.Text();
}

}  // namespace
}  // namespace corvane

#pragma once

#include <memory>
#include <string>

#include "document/VorlinDoc.h"
#include "fakes/TrunkBetween.h"
#include "store/ModelWriteBack.h"
#include "store/StoreFixture.h"

namespace corvane::testing {

// An endpoint of a request or a usage.
inline EndpointAddress Port(int intercom, int type, int number, bool talk, bool inactive) {
    EndpointAddress a;
    a.intercom = static_cast<uint16_t>(intercom);
    a.functionType = static_cast<uint8_t>(type);
    a.number = static_cast<uint16_t>(number);
    a.talk = talk ? 1 : 0;
    a.inactive = inactive ? 1 : 0;
    return a;
}

// A real document and a real database file with the write-back between them; Tick runs the
// passes as the supervision tick does.
class WriteBackTest : public StoreTest {
protected:
    WriteBackTest()
        : store(OpenStore()),
          doc(std::make_unique<CVorlinDoc>(settings, clock)),
          writeBack(*doc, *store, settings),
          raw(DbPath()) {}

    ViewUpdateHint Tick() {
        ViewUpdateHint hint = 0;
        if (doc->TakeDirty(ModelCollection::Intercoms)) {
            writeBack.UpdateIntercomsInDatabase(hint);
        }
        if (doc->TakeDirty(ModelCollection::Trunks)) {
            writeBack.UpdateTrunksInDatabase(hint);
        }
        if (doc->TakeDirty(ModelCollection::Alphas)) {
            writeBack.UpdateAlphasInDatabase(hint);
        }
        if (doc->TakeDirty(ModelCollection::Alarms)) {
            writeBack.UpdateAlarmsInDatabase(hint);
        }
        return hint;
    }

    // Trunks 1..n defined between intercoms 1 and 2 and written.
    void DefineTrunks(int n) {
        for (int t = 1; t <= n; ++t) {
            doc->SetTrunkDefinition(testing::TrunkBetween(t, 1, t, 2, t), true);
        }
        Tick();
    }
    std::string TrunkState(int trunk) {
        return raw.One("SELECT State FROM Trunks WHERE TrunkIndex = " + std::to_string(trunk));
    }

    std::unique_ptr<CVorlinDatabase> store;
    std::unique_ptr<CVorlinDoc> doc;
    CModelWriteBack writeBack;
    RawDb raw;
};

}  // namespace corvane::testing

#include "store/VorlinDatabase.h"

#include "platform/ProfileStore.h"
#include "settings/AppSettings.h"

namespace corvane {

CVorlinDatabase::CVorlinDatabase(CProfileStore& profile, const SharedSettings& settings,
                                 const IClock& clock, const CDiagLogSource& log, std::string path)
    : profile_(profile),
      settings_(settings),
      clock_(clock),
      path_(std::move(path)),
      log_(log),
      db_(std::make_unique<CDaoDatabase>(log_)) {}

CVorlinDatabase::~CVorlinDatabase() {
    CloseDatabase();
}

bool CVorlinDatabase::IsOpen() const {
    return db_ && db_->IsOpen() && requestUpdates_ != nullptr;
}

void CVorlinDatabase::CloseDatabase() {
    dbStatus_.reset();
    trunkStateNames_.reset();
    testResults_.reset();
    requestStateNames_.reset();
    alarmStateNames_.reset();
    notifyStateNames_.reset();
    intercoms_.reset();
    summary_.reset();
    trunks_.reset();
    trunkStates_.reset();
    alphas_.reset();
    alarms_.reset();
    pendingNotifications_.reset();
    requests_.reset();
    requestUpdates_.reset();
    if (db_) {
        db_->Close();
    }
}

}  // namespace corvane

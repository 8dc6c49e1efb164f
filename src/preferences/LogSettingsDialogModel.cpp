#include "preferences/LogSettingsDialogModel.h"

#include "log/DiagLogFile.h"
#include "log/DiagLogSource.h"
#include "platform/ProfileStore.h"

namespace corvane {

CLogSettingsModel::CLogSettingsModel(CDiagLogFile& file) : file_(file) {
    CDiagLogSource::ForEach([this](CDiagLogSource& source) {
        rows_.push_back({&source, source.Name(), source.Description(), source.Level()});
    });
}

std::string CLogSettingsModel::Directory() const {
    return file_.Directory();
}

int CLogSettingsModel::DaysToKeep() const {
    return file_.DaysToKeep();
}

int CLogSettingsModel::MaxSizeKb() const {
    return file_.MaxSizeKb();
}

bool CLogSettingsModel::Enabled() const {
    return file_.IsEnabled();
}

int CLogSettingsModel::DefaultLevelOf(const LogSettingsRow& row) const {
    CDiagLogSource::ListLock lock;
    return CDiagLogSource::IsRegistered(row.source) ? row.source->DefaultLevel() : 0;
}

void CLogSettingsModel::SetAllToDefault() {
    for (LogSettingsRow& row : rows_) {
        row.level = DefaultLevelOf(row);
    }
}

void CLogSettingsModel::Apply(int days, int sizeKb, bool enabled, bool remember) {
    file_.SetFileSettings(sizeKb, days, true);
    if (enabled) {
        file_.Start();
        file_.PurgeOldFiles();
    } else {
        file_.Stop();
    }
    // One save of the profile for all remembered levels.
    CProfileStore::Batch batch(Profile());
    CDiagLogSource::ListLock lock;
    for (const LogSettingsRow& row : rows_) {
        if (!CDiagLogSource::IsRegistered(row.source)) {
            continue;
        }
        row.source->SetLevel(row.level);
        if (remember) {
            row.source->SaveLevel();
        }
    }
}

}  // namespace corvane

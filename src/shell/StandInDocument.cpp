#include "shell/StandInDocument.h"

#include "platform/FileSystem.h"
#include "platform/ProfileStore.h"
#include "platform/StringTable.h"
#include "shell/AppSettings.h"
#include "shell/ColorSettings.h"

namespace corvane {

const char* const CStandInDocument::kDataFolders[6] = {
    "../views",
    "../Logs",
    "../database",
    "../database/archives",
    "../database/archives/alarms",
    "../database/archives/requests",
};

CStandInDocument::CStandInDocument(SharedSettings& settings, ColorSettings& colors,
                                   CProfileStore& profile)
    : settings_(settings), colors_(colors), profile_(profile) {}

bool CStandInDocument::OnNewDocument() {
    // Load and save at once, so that every key exists with its default after the first start.
    for (const auto& problem : settings_.Load(profile_)) {
        log_.Printf(0, "Settings: %s", problem.c_str());
    }
    colors_.Load(profile_);
    if (!settings_.Save(profile_) || !colors_.Save(profile_)) {
        log_.Printf(0, "Settings could not be saved to %s", profile_.Path().c_str());
    }
    for (const char* folder : kDataFolders) {
        std::string error;
        if (!MakeDirectories(folder, 0755, error)) {
            log_.Printf(0, "Could not create %s: %s", folder, error.c_str());
        }
    }
    log_.Printf(0, "Stand-in document ready: no database, controller or test instrument");
    ready_ = true;
    return true;
}

void CStandInDocument::OnSupervisionTick() {
    if (++ticks_ == 1) {
        log_.Printf(0, "First supervision tick");
    }
}

std::string CStandInDocument::GetAnalyzerDisplayName() const {
    return AnalyzerDisplayName(settings_.Snapshot().AudioAnalyzer);
}

void CStandInDocument::UpdateAllViews(uint32_t hint) {
    log_.Printf(3, "Update all views, hint 0x%x", hint);
}

void CStandInDocument::OnCloseDocument() {
    ready_ = false;
    log_.Printf(0, "Document closed after %llu ticks; no workers to stop",
                static_cast<unsigned long long>(ticks_));
}

std::string AnalyzerDisplayName(const std::string& setting) {
    for (int i = 1; i < 3; ++i) {
        if (setting == LoadString(ids::kAnalyzerNameFirst + i)) {
            return setting;
        }
    }
    return LoadString(ids::kNoAudioAnalyzer);
}

}  // namespace corvane

#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "settings/ColorSettings.h"

namespace corvane {

class CNotifyAgent;
class CProfileStore;
class CQuillex;
class CTrunkTester;
class CVorlinDatabase;
class CVorlinDoc;
class IMailQueue;

// The graphical layouts the application has loaded, as the may-close question sees them.
class ILayoutOwner {
public:
    virtual ~ILayoutOwner() = default;
    // Names of the loaded layouts with unsaved changes.
    virtual std::vector<std::string> ChangedLayouts() const = 0;
    virtual bool SaveLayout(const std::string& name) = 0;
};

// What the new-document step builds on and how it makes the objects it owns. Every factory
// left empty makes the real object; tests replace them to record the order or to fail a step.
struct DocumentParts {
    CProfileStore* profile = nullptr;  // none: the program's profile
    ColorSettings* colors = nullptr;   // loaded and saved with the settings when given
    // The desktop's window colour, the default of the colours that follow it.
    ColorRef windowColor = ColorSettings::kDefaultWindowColor;
    ILayoutOwner* layouts = nullptr;
    std::string databasePath = "../database/vorlin.mdb";

    std::function<std::unique_ptr<CVorlinDatabase>(CVorlinDoc&)> createDatabase;
    std::function<std::unique_ptr<CQuillex>(CVorlinDoc&)> createController;
    // analyzerType: 0 none, 1 test set, 2 audio analyzer.
    std::function<std::unique_ptr<CTrunkTester>(CVorlinDoc&, int analyzerType)> createTester;
    std::function<std::unique_ptr<CNotifyAgent>(CVorlinDoc&, IMailQueue&)> createAgent;
};

// The data folders, relative to the working folder.
inline constexpr const char* kDocumentFolders[6] = {
    "../views",
    "../Logs",
    "../database",
    "../database/archives",
    "../database/archives/alarms",
    "../database/archives/requests",
};

}  // namespace corvane

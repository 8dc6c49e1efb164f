#include "presentation/HelpService.h"

#include "platform/Format.h"
#include "platform/StringTable.h"
#include "platform/UiBridge.h"
#include "settings/AppSettings.h"

namespace corvane {

void WinHelp(const AppSettings& settings, uint32_t helpId, unsigned command,
             const std::function<void(uint32_t helpId, unsigned command)>& launch) {
    if (settings.PopupHelpID) {
        Ui().MessageBox(
            StrFormat("Help ID: %lx - Style: %u", static_cast<unsigned long>(helpId), command),
            LoadString(ids::kAppCaption), mb::kOk | mb::kIconExclamation);
    }
    if (settings.LaunchHelp && launch) {
        launch(helpId, command);
    }
}

}  // namespace corvane

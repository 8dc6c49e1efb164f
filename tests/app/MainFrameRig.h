#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/MainFrame.h"
#include "fakes/SupervisionRig.h"
#include "graphics/GraphicLayouts.h"
#include "platform/ProfileStore.h"
#include "presentation/ViewKind.h"
#include "settings/ColorSettings.h"
#include "ui/AppResources.h"
#include "ui/views/ViewContext.h"

namespace corvane::testing {

// The live document against the fake controller on loopback, with what its views need; their
// profile is the rig's unless given.
struct LiveDocument {
    explicit LiveDocument(const CAppResources& resources, CProfileStore* viewProfile = nullptr)
        : context{document,
                  rig.settings,
                  colors,
                  viewProfile != nullptr ? *viewProfile : rig.profile,
                  resources,
                  layouts,
                  [](ViewKind, int, int) { return false; }} {}

    SupervisionRig rig;
    CVorlinDoc& document = rig.Start();
    ColorSettings colors;
    CGraphicLayouts layouts{"../views"};
    const ViewContext context;
};

// The menu item of a routed command in one of the frame's menus, its state updated as when
// the menu opens.
inline QAction* RoutedItem(const CMainFrame& frame, const QString& menuTitle, int id) {
    for (QAction* top : frame.menuBar()->actions()) {
        if (top->menu() == nullptr || top->text() != menuTitle) {
            continue;
        }
        emit top->menu()->aboutToShow();
        for (QAction* item : top->menu()->actions()) {
            if (item->data().isValid() && item->data().toInt() == id) {
                return item;
            }
        }
    }
    return nullptr;
}

}  // namespace corvane::testing

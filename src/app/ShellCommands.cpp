#include "app/ShellCommands.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <memory>

#include "app/MainFrame.h"

namespace corvane {

ShellCommands AddShellCommands(CMainFrame& frame, ShellCommandHandlers handlers) {
    const auto h = std::make_shared<ShellCommandHandlers>(std::move(handlers));
    ShellCommands c;
    QMenu& file = frame.FileMenu();
    QAction* exit = file.actions().value(0);
    c.configuration = new QAction(QObject::tr("&Configuration..."), &file);
    QObject::connect(c.configuration, &QAction::triggered, &frame, [h] { h->configuration(); });
    c.diagLogSettings = new QAction(QObject::tr("Diagnostic &Log Settings ..."), &file);
    QObject::connect(c.diagLogSettings, &QAction::triggered, &frame, [h] { h->diagLogSettings(); });
    file.insertActions(exit, {c.configuration, c.diagLogSettings});
    file.insertSeparator(exit);

    QMenu& help = frame.HelpMenu();
    c.quillexVersion = help.addAction(QObject::tr("Quillex &Version..."));
    c.compatibilityStatus = help.addAction(QObject::tr("&Compatibility Status..."));
    c.compatibilityStatus->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B));
    QAction* version = c.quillexVersion;
    QAction* compatibility = c.compatibilityStatus;
    CMainFrame* owner = &frame;
    const auto update = [h, owner, version, compatibility] {
        version->setEnabled(h->controllerCommunicating());
        compatibility->setEnabled(owner->IsControllerShownCommunicating());
    };
    update();
    QObject::connect(&help, &QMenu::aboutToShow, &frame, update);
    QObject::connect(&frame, &CMainFrame::ControllerPaneChanged, &frame, update);
    // A state that changed since the last look is looked at once more before running.
    QObject::connect(version, &QAction::triggered, &frame, [h, update, version] {
        update();
        if (version->isEnabled()) {
            h->quillexVersion();
        }
    });
    QObject::connect(compatibility, &QAction::triggered, &frame, [h, update, compatibility] {
        update();
        if (compatibility->isEnabled()) {
            h->compatibilityStatus();
        }
    });
    return c;
}

}  // namespace corvane

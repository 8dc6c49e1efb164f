#include "ui/VorlinDialog.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QWhatsThis>

#include "presentation/HelpService.h"

namespace corvane {
namespace {

constexpr const char* kControlId = "controlId";

std::function<void(uint32_t, unsigned)>& Handler() {
    static std::function<void(uint32_t, unsigned)> handler;
    return handler;
}

}  // namespace

bool CVorlinDialog::s_bHelpMode = false;

CVorlinDialog::CVorlinDialog(int templateId, QWidget* parent)
    : QDialog(parent), templateId_(templateId) {}

void CVorlinDialog::SetHelpHandler(std::function<void(uint32_t, unsigned)> handler) {
    Handler() = std::move(handler);
}

void CVorlinDialog::RequestHelp(uint32_t helpId, unsigned command) {
    if (Handler()) {
        Handler()(helpId, command);
    }
}

void CVorlinDialog::EndHelpMode() {
    s_bHelpMode = false;
    if (QWhatsThis::inWhatsThisMode()) {
        QWhatsThis::leaveWhatsThisMode();
    }
}

void CVorlinDialog::SetControlId(QWidget* widget, int id) {
    widget->setProperty(kControlId, id);
}

int CVorlinDialog::ControlId(const QWidget* widget) {
    return widget != nullptr ? widget->property(kControlId).toInt() : 0;
}

QWidget* CVorlinDialog::ControlOf(QWidget* widget) const {
    for (QWidget* w = widget; w != nullptr && w != this; w = w->parentWidget()) {
        if (ControlId(w) != 0) {
            return w;
        }
    }
    return nullptr;
}

bool CVorlinDialog::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::EnterWhatsThisMode:
            s_bHelpMode = true;
            break;
        case QEvent::LeaveWhatsThisMode:
            s_bHelpMode = false;
            break;
        case QEvent::WhatsThis: {
            // A click in context-help mode that no control answered itself.
            const auto* help = static_cast<QHelpEvent*>(event);
            if (OnHelpInfo(ControlOf(childAt(help->pos())), false)) {
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QDialog::event(event);
}

void CVorlinDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
        if (OnHelpInfo(ControlOf(focusWidget()), shift)) {
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

bool CVorlinDialog::OnHelpInfo(QWidget* control, bool shift) {
    if (!s_bHelpMode && !shift) {
        return false;
    }
    const int id = ControlId(control);
    if (id == 0) {
        return false;
    }
    RequestHelp(PopupHelpId(static_cast<uint32_t>(templateId_), static_cast<uint32_t>(id)),
                help::kContextPopup);
    EndHelpMode();
    return true;
}

}  // namespace corvane

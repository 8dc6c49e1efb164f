#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>

namespace corvane {

// The base of the program's dialogs: Shift+F1 on a control, or a click in context-help mode,
// asks for the control's popup help id.
class CVorlinDialog : public QDialog {
    Q_OBJECT

public:
    CVorlinDialog(int templateId, QWidget* parent);

    int TemplateId() const { return templateId_; }

    // Set while the context-help mode runs, cleared after each help request. Shared with the
    // preference sheet.
    static bool s_bHelpMode;

    // Where help requests go (help id, command): the application's WinHelp.
    static void SetHelpHandler(std::function<void(uint32_t, unsigned)> handler);
    static void RequestHelp(uint32_t helpId, unsigned command);
    // Clears the flag and leaves the toolkit's context-help mode, which would otherwise take
    // the next click too.
    static void EndHelpMode();

    // The control id of a widget, for its help id; 0 when it has none.
    static void SetControlId(QWidget* widget, int id);
    static int ControlId(const QWidget* widget);
    // The widget itself or its nearest parent inside the dialog that has a control id.
    QWidget* ControlOf(QWidget* widget) const;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A help request for a control (null: none); true when handled.
    virtual bool OnHelpInfo(QWidget* control, bool shift);

private:
    int templateId_;
};

}  // namespace corvane

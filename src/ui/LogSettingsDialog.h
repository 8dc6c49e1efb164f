#pragma once

#include <memory>

#include "ui/VorlinDialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace corvane {

class CDiagLogFile;
class CLogSettingsModel;
class CPrefSpinEdit;

// "Diagnostic Logging": the log folder, the days to keep and the size cap, logging on or off
// for this run, and the level of every log source.
class CDlgDiagLog : public CVorlinDialog {
    Q_OBJECT

public:
    CDlgDiagLog(CDiagLogFile& file, QWidget* parent = nullptr);
    ~CDlgDiagLog() override;

    void accept() override;

    QTreeWidget* SourceList() const { return list_; }
    QSpinBox* LevelSpin() const { return level_; }
    QPushButton* DefaultButton() const { return default_; }
    QPushButton* AllToDefaultButton() const { return allDefault_; }
    QCheckBox* EnabledBox() const { return enabled_; }
    QCheckBox* RememberBox() const { return remember_; }
    CPrefSpinEdit* DaysEdit() const { return days_; }
    CPrefSpinEdit* SizeEdit() const { return size_; }
    int SelectedRow() const { return selected_; }

    // The level spin released: the selected row shows its position.
    void OnLevelSpinReleased();
    // "&Default": the selected row's default level; a beep without a selected row.
    void OnDefault();
    void OnAllToDefault();

private:
    void OnSelectionChanged();
    void ShowLevel(int row, int level);

    std::unique_ptr<CLogSettingsModel> model_;
    CPrefSpinEdit* days_;
    CPrefSpinEdit* size_;
    QCheckBox* enabled_;
    QTreeWidget* list_;
    QSpinBox* level_;
    QPushButton* default_;
    QPushButton* allDefault_;
    QCheckBox* remember_;
    int selected_ = -1;
};

// Command 32771: the dialog, modally; refused with a message while no log folder is set.
void ShowDiagLogDialog(QWidget* parent, CDiagLogFile& file);

}  // namespace corvane

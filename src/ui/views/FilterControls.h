#pragma once

#include <vector>

#include "model/ChoiceLists.h"
#include "ui/VorlinDialog.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QWidget;

namespace corvane {

class CDaoDatabase;
class CVorlinDoc;
struct ViewContext;

// The controls of the filter forms: combo boxes of choices whose item data are selectors,
// and check boxes of mask bits whose states every form of a kind shares.

// The widget with its control id (for its help id).
template <typename W>
W* FormControl(W* widget, int id) {
    CVorlinDialog::SetControlId(widget, id);
    return widget;
}

// A combo box with its label in a row of a grid; the label is given when it has an id.
QComboBox* AddFilterCombo(QGridLayout& grid, int row, int column, const char* label, int id,
                          int labelId = 0);

// Fills the box, without telling its handlers, and selects the entry of the selector.
void FillChoiceCombo(QComboBox& combo, const ChoiceList& choices, int selector);
// Selects the entry whose item data is the selector, else the first, without telling its
// handlers.
void SelectChoice(QComboBox& combo, int selector);
// The item data of the chosen entry; 0 ("any") when none is chosen.
int ChosenData(const QComboBox& combo);

// The document's open database, none while it is closed.
CDaoDatabase* OpenDatabaseOf(const CVorlinDoc& doc);
// The entries of the intercom boxes (with "All intercoms") and the trunk boxes; none while
// the database is closed.
ChoiceList IntercomChoices(const ViewContext& context);
ChoiceList TrunkChoices(const ViewContext& context);

// A check box that shows or hides the rows of one mask bit; its state is kept in an integer
// shared by every form of the kind, so a new form starts from the last state set in any.
struct MaskCheckBox {
    QCheckBox* box;
    int bit;
    int* shared;
};
// A check box of a form, checked as its shared integer says.
MaskCheckBox NewMaskCheckBox(QWidget* parent, const char* caption, int id, int bit, int* shared);
// The boxes' states into their shared integers; the mask of the checked boxes' bits.
int ReadMaskCheckBoxes(const std::vector<MaskCheckBox>& boxes);
// The same for a form's state boxes, of which one always stays checked: the mask after the
// form's rule, which checks its box again when the operator cleared the last one.
int ReadStateCheckBoxes(const std::vector<MaskCheckBox>& boxes, int (*afterClick)(int));
// The mask's bits into the shared integers and the boxes.
void WriteMaskCheckBoxes(const std::vector<MaskCheckBox>& boxes, int mask);

}  // namespace corvane

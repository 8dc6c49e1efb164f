#include "ui/views/FilterControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>

#include "document/VorlinDoc.h"
#include "settings/AppSettings.h"
#include "store/ComboFillers.h"
#include "store/VorlinDatabase.h"
#include "ui/views/ViewContext.h"

namespace corvane {

QComboBox* AddFilterCombo(QGridLayout& grid, int row, int column, const char* label, int id,
                          int labelId) {
    QWidget* owner = grid.parentWidget();
    auto* text = new QLabel(QString::fromUtf8(label), owner);
    if (labelId != 0) {
        FormControl(text, labelId);
    }
    auto* combo = FormControl(new QComboBox(owner), id);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(16);
    combo->setMaxVisibleItems(20);
    text->setBuddy(combo);
    grid.addWidget(text, row, column);
    grid.addWidget(combo, row, column + 1);
    return combo;
}

void FillChoiceCombo(QComboBox& combo, const ChoiceList& choices, int selector) {
    const QSignalBlocker blocker(combo);
    combo.clear();
    for (const Choice& choice : choices) {
        combo.addItem(QString::fromStdString(choice.text), choice.data);
    }
    combo.setCurrentIndex(SelectChoiceByData(choices, selector));
}

void SelectChoice(QComboBox& combo, int selector) {
    const QSignalBlocker blocker(combo);
    const int found = combo.findData(selector);
    combo.setCurrentIndex(found >= 0 || combo.count() == 0 ? found : 0);
}

int ChosenData(const QComboBox& combo) {
    const QVariant data = combo.currentData();
    return data.isValid() ? data.toInt() : 0;
}

CDaoDatabase* OpenDatabaseOf(const CVorlinDoc& doc) {
    CVorlinDatabase* db = doc.Database();
    return db != nullptr && db->IsOpen() ? &db->Database() : nullptr;
}

ChoiceList IntercomChoices(const ViewContext& context) {
    CDaoDatabase* db = OpenDatabaseOf(context.doc);
    return db != nullptr
               ? FillIntercomCombo(*db, true, context.settings.Snapshot().ShowNamelessIntercoms)
               : ChoiceList{};
}

ChoiceList TrunkChoices(const ViewContext& context) {
    CDaoDatabase* db = OpenDatabaseOf(context.doc);
    return db != nullptr ? FillTrunkCombo(*db) : ChoiceList{};
}

MaskCheckBox NewMaskCheckBox(QWidget* parent, const char* caption, int id, int bit, int* shared) {
    auto* box = FormControl(new QCheckBox(QString::fromUtf8(caption), parent), id);
    box->setChecked(*shared != 0);
    return {box, bit, shared};
}

int ReadMaskCheckBoxes(const std::vector<MaskCheckBox>& boxes) {
    int mask = 0;
    for (const MaskCheckBox& b : boxes) {
        *b.shared = b.box->isChecked() ? 1 : 0;
        mask |= *b.shared != 0 ? b.bit : 0;
    }
    return mask;
}

int ReadStateCheckBoxes(const std::vector<MaskCheckBox>& boxes, int (*afterClick)(int)) {
    const int read = ReadMaskCheckBoxes(boxes);
    const int mask = afterClick(read);
    if (mask != read) {
        WriteMaskCheckBoxes(boxes, mask);
    }
    return mask;
}

void WriteMaskCheckBoxes(const std::vector<MaskCheckBox>& boxes, int mask) {
    for (const MaskCheckBox& b : boxes) {
        *b.shared = (mask & b.bit) != 0 ? 1 : 0;
        b.box->setChecked(*b.shared != 0);
    }
}

}  // namespace corvane

#include "ui/PrefSpinEdit.h"

#include <QLineEdit>
#include <algorithm>
#include <climits>

#include "preferences/PrefValidation.h"

namespace corvane {

CPrefSpinEdit::CPrefSpinEdit(int low, int high, QWidget* parent)
    : QSpinBox(parent), low_(low), high_(high) {
    setRange(INT_MIN, INT_MAX);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
}

void CPrefSpinEdit::SetSpinRange(int low, int high) {
    low_ = low;
    high_ = high;
}

std::optional<int> CPrefSpinEdit::Checked() {
    const PrefIntCheck check = CheckPrefInt(lineEdit()->text().toStdString(), low_, high_);
    if (!check.value) {
        ShowPrefRefusal(check.message);
        setFocus();
        selectAll();
    }
    return check.value;
}

void CPrefSpinEdit::stepBy(int steps) {
    const long long next = static_cast<long long>(value()) + steps;
    setValue(static_cast<int>(std::clamp<long long>(next, low_, high_)));
    selectAll();
}

QAbstractSpinBox::StepEnabled CPrefSpinEdit::stepEnabled() const {
    StepEnabled enabled = StepNone;
    if (value() < high_) {
        enabled |= StepUpEnabled;
    }
    if (value() > low_) {
        enabled |= StepDownEnabled;
    }
    return enabled;
}

}  // namespace corvane

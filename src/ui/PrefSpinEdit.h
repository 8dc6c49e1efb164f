#pragma once

#include <QSpinBox>
#include <optional>

namespace corvane {

// An edit with a spin button: the arrows stay inside the range, but any integer may be typed,
// so that the page's range check can refuse it with the system's message.
class CPrefSpinEdit : public QSpinBox {
    Q_OBJECT

public:
    CPrefSpinEdit(int low, int high, QWidget* parent = nullptr);

    void SetSpinRange(int low, int high);
    int Low() const { return low_; }
    int High() const { return high_; }

    // The typed number when it lies in the range; otherwise the refusal is shown, the edit
    // takes the focus and the result is empty.
    std::optional<int> Checked();

    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;

private:
    int low_;
    int high_;
};

}  // namespace corvane

#pragma once

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QItemSelection>
#include <QMouseEvent>
#include <string>
#include <vector>

#include "ViewsRig.h"
#include "settings/AppSettings.h"
#include "ui/views/TrunkFormView.h"
#include "ui/views/TrunkListView.h"

namespace corvane::testing {

inline CTrunkListView* TrunkList(CChildFrame* frame) {
    return dynamic_cast<CTrunkListView*>(frame->ListView());
}
inline CTrunkFormView* TrunkForm(CChildFrame* frame) {
    return dynamic_cast<CTrunkFormView*>(frame->FormView());
}

// The row that shows a trunk (model number), -1 when none does.
inline int RowOfTrunk(const CTrunkListView& list, int trunk) {
    const CListTableModel& model = list.Model();
    for (int row = 0; row < model.rowCount(); ++row) {
        if (model.CellText(row, 0) == std::to_string(trunk)) {
            return row;
        }
    }
    return -1;
}

inline void SelectTrunks(CTrunkListView& list, const std::vector<int>& trunks) {
    QItemSelection selection;
    const int last = list.Model().columnCount() - 1;
    for (const int trunk : trunks) {
        const int row = RowOfTrunk(list, trunk);
        selection.select(list.Model().index(row, 0), list.Model().index(row, last));
    }
    list.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (!trunks.empty()) {
        list.selectionModel()->setCurrentIndex(
            list.Model().index(RowOfTrunk(list, trunks.front()), 0), QItemSelectionModel::NoUpdate);
    }
}

// The model's number of the first trunk of the fake whose status and service match.
inline int FindTrunk(const FakeNetwork& network, uint8_t status, bool outOfService = false) {
    for (size_t t = 0; t < network.trunks.size(); ++t) {
        const FakeTrunk& trunk = network.trunks[t];
        if (trunk.defined && trunk.status == status && trunk.outOfService == outOfService) {
            return static_cast<int>(t) + 1;
        }
    }
    return -1;
}

// A left click in the middle of a header section, as the operator gives it.
inline void ClickHeader(QHeaderView& header, int column) {
    const QPoint at(header.sectionViewportPosition(column) + header.sectionSize(column) / 2,
                    header.height() / 2);
    const QPointF global = header.viewport()->mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(header.viewport(), &press);
    QApplication::sendEvent(header.viewport(), &release);
}

// The check states are shared by every trunk form of the program: a test that changes them
// leaves every box checked again on its way out, as the next test expects.
class ChecksRestored {
public:
    explicit ChecksRestored(CTrunkFormView* form) : form_(form) {}
    ~ChecksRestored() {
        if (form_ == nullptr) {
            return;
        }
        const QList<QCheckBox*> boxes = form_->findChildren<QCheckBox*>();
        for (QCheckBox* box : boxes) {
            if (!box->isChecked()) {
                box->click();
            }
        }
        if (!boxes.isEmpty()) {
            boxes.front()->click();  // the form's boxes go to the shared states either way
            boxes.front()->click();
        }
    }
    ChecksRestored(const ChecksRestored&) = delete;
    ChecksRestored& operator=(const ChecksRestored&) = delete;

private:
    CTrunkFormView* form_;
};

// The controller stops (or starts) reporting the out-of-service state; the views are told.
inline bool SetOutOfServiceReported(ViewsRig& rig, bool reported) {
    rig.supervision.model.SetCapabilities(reported ? 0x0F : 0x0F & ~0x04);
    rig.supervision.model.Restart();
    const bool changed = rig.supervision.TickUntil(
        [&] { return rig.doc->Controller()->HasOutOfServiceCapability() == reported; });
    rig.doc->UpdateAllViews(hint::kControllerCapabilities);
    return changed;
}

inline void SetAnalyzer(ViewsRig& rig, const std::string& name) {
    rig.supervision.settings.Modify([&](AppSettings& s) { s.AudioAnalyzer = name; });
}

}  // namespace corvane::testing

#pragma once

#include <QWidget>
#include <cstdint>

#include "document/ViewHintBus.h"
#include "presentation/ViewKind.h"
#include "ui/views/CommandTarget.h"
#include "ui/views/ViewContext.h"

namespace corvane {

class CVorlinFilterData;
class CVorlinListView;

// The base of every form pane, the filter form above a list in a child frame: it holds the
// kind's filter, knows its list and the frame's navigation tree, saves its height, says which
// info bars the kind offers, gives help ids, and applies a filter handed to it.
class CVorlinFormView : public QWidget, public IViewHintReceiver, public CCommandTarget {
    Q_OBJECT

public:
    CVorlinFormView(const ViewContext& context, ViewKind kind, int dialogId, QWidget* parent);
    ~CVorlinFormView() override;

    ViewKind Kind() const { return kind_; }
    int DialogId() const { return dialogId_; }
    // The page the kinds lay their controls out on; it scrolls when the pane is smaller, so
    // that a frame can be made as small as the operator likes.
    QWidget* Page() const { return page_; }
    // The kind's filter; none for a kind without one.
    virtual CVorlinFilterData* GetFilterData() { return nullptr; }
    // The list's help id with 0x20000000, or 0 without a list.
    virtual uint32_t GetHelpId() const;
    virtual bool IsInfoBarEnabled(int barId) const;
    // The height under the kind's "Preferences" value, once the form has been shown.
    void SaveFormHeight();
    // Takes the filter's selectors; when its changed byte is set, clears it and sends the
    // filter hint to itself and its list.
    void ApplyFilter(CVorlinFilterData* filter);
    void SetListView(CVorlinListView* list) { list_ = list; }
    CVorlinListView* ListView() const { return list_; }
    void SetTreeView(IViewHintReceiver* tree) { tree_ = tree; }
    IViewHintReceiver* TreeView() const { return tree_; }
    // The child frame's title from the filter.
    void UpdateFrameTitle();

    // Once, when the frame has connected the panes: the kinds fill their controls, then this
    // marks the form initialised and sends the filter to the list (which sets the title).
    virtual void OnInitialUpdate();
    bool IsInitialised() const { return initialised_; }
    void OnUpdate(IViewHintReceiver* sender, ViewUpdateHint hint,
                  const HintPayload& payload) override {}

protected:
    // Takes over the selectors of a filter hint's payload of the kind's class; false for
    // another payload.
    bool TakeOverFilter(const HintPayload& payload);
    // Sends the filter to the list, the form as sender (so the frame title follows).
    void SendFilterToList();
    // Sends the filter to the frame's navigation tree, which selects its item.
    void SendFilterToTree();
    // The popup help id of a control under a point, 0 for none.
    uint32_t HelpHitAt(const QPoint& pos) const;
    // The first control in the tab order that takes the focus now; none for a form without.
    QWidget* FirstControl() const;

    bool event(QEvent* event) override;
    // Given the focus (F6), the form hands it on to its first control, as a dialog does.
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    const ViewContext context_;
    bool initialised_ = false;

private:
    const ViewKind kind_;
    const int dialogId_;
    QWidget* page_;
    CVorlinListView* list_ = nullptr;
    IViewHintReceiver* tree_ = nullptr;
    bool shown_ = false;
};

}  // namespace corvane

#pragma once

#include <QWidget>

namespace corvane {

class CPrefSheet;
struct PrefContext;

// The base of every preference page: its dialog id doubles as its help id, and becoming
// active records its index as the sheet's last page.
class CVorlinPage : public QWidget {
    Q_OBJECT

public:
    CVorlinPage(int templateId, int pageIndex, PrefContext& context, QWidget* parent = nullptr);

    int HelpId() const { return templateId_; }
    int PageIndex() const { return pageIndex_; }

    void SetSheet(CPrefSheet* sheet) { sheet_ = sheet; }
    CPrefSheet* Sheet() const { return sheet_; }

    // Called by the sheet when the page is shown; the first call sets the page up.
    void Activate();
    bool WasActivated() const { return activated_; }
    // The sheet took the page out; it is set up afresh when it comes back.
    void Deactivated() { activated_ = false; }

    // Leaving the page: false (after showing why) keeps it active.
    virtual bool OnKillActive() { return true; }
    // Storing the page's values; false keeps the sheet open on this page.
    virtual bool OnApply();

    bool IsModified() const { return modified_; }
    void SetModified(bool modified = true);

signals:
    void modifiedChanged(bool modified);

protected:
    // Set-up before the first activation, and each activation after it.
    virtual void OnInitDialog() {}
    virtual void OnSetActive();

    // Gives a widget its control id, for popup help; returns it.
    template <typename W>
    W* Control(W* widget, int id);

    PrefContext& Context() const { return context_; }

private:
    int templateId_;
    int pageIndex_;
    PrefContext& context_;
    CPrefSheet* sheet_ = nullptr;
    bool initialised_ = false;
    bool activated_ = false;
    bool modified_ = false;
};

void SetPrefControlId(QWidget* widget, int id);

template <typename W>
W* CVorlinPage::Control(W* widget, int id) {
    SetPrefControlId(widget, id);
    return widget;
}

}  // namespace corvane

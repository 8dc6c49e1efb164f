#pragma once

#include <QIcon>
#include <QStatusBar>
#include <functional>
#include <vector>

namespace corvane {

// One indicator pane of a status bar: an optional icon, then its text.
class CStatusPane : public QWidget {
public:
    CStatusPane(int id, bool bordered, QWidget* parent);

    int Id() const { return id_; }
    const QString& Text() const { return text_; }
    void SetText(const QString& text);
    const QIcon& Icon() const { return icon_; }
    void SetIcon(const QIcon& icon);
    void SetBordered(bool bordered);
    int ContentWidth() const { return width_; }
    void SetContentWidth(int width);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int id_;
    bool bordered_;
    QString text_;
    QIcon icon_;
    int width_ = 0;
};

// The status bar of the main frame and the child frames' info bars. Pane 0 with id 0 is the
// message area, which stretches and has no borders; every other indicator is a pane sized
// to its text.
class CVorlinStatusBar : public QStatusBar {
public:
    enum PaneStyle : unsigned { kNormal = 0, kNoBorders = 1 };
    // The value ORed into a non-zero help hit.
    static constexpr int kHelpHitBits = 0x50000000;

    CVorlinStatusBar(int barId, QWidget* parent);

    int BarId() const { return barId_; }
    // Replaces the panes; each starts with the string of its id as text, at that width.
    void SetIndicators(const std::vector<int>& ids);
    int PaneCount() const { return static_cast<int>(panes_.size()); }

    void SetPaneInfoFromText(int index, int id, unsigned style, const QString& text);
    void SetPaneInfoFromString(int index, int id, unsigned style, int stringId);
    // When the text differs: the width becomes the text's (with grow only, at least the
    // current width) and the text is set. True when the text changed.
    bool SetPaneTextSized(int index, const QString& text, bool growOnly);
    void SetPaneText(int index, const QString& text);
    void SetPaneWidth(int index, int width);
    void SetPaneIcon(int index, const QIcon& icon);

    QString PaneText(int index) const;
    int PaneWidth(int index) const;
    int PaneId(int index) const;
    const CStatusPane* Pane(int index) const;
    // The width of a text in one line with the bar's font.
    int TextWidth(const QString& text) const;

    // The id of the pane under the point, else the bar's id; listHelpKind x 65536 is added
    // for a child frame whose list pane holds a list view. Non-zero results carry
    // kHelpHitBits.
    int HelpHitTest(const QPoint& point, int listHelpKind = 0) const;
    // The list help kind a child frame's info bar adds to its hits; none: 0.
    void SetListHelpKind(std::function<int()> kind) { listHelpKind_ = std::move(kind); }
    // The help of the pane under a point, as a click in help mode asks for it; false when
    // the hit test gives none.
    bool RequestHelpAt(const QPoint& point) const;
    // Shift+F1 with the pointer over a status bar of the window: that pane's help. False when
    // the pointer is over none.
    static bool RequestHelpUnderCursor(const QWidget* window);

protected:
    bool event(QEvent* event) override;

private:
    CStatusPane* PaneAt(int index) const;

    int barId_;
    // Index 0 with id 0 is the message area and has no widget.
    std::vector<CStatusPane*> panes_;
    std::vector<int> ids_;
    std::function<int()> listHelpKind_;
};

}  // namespace corvane

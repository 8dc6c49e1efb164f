#pragma once

#include <QWidget>

namespace corvane {

// The plain pane of a child frame that shows no kind: it draws nothing.
class CVorlinView : public QWidget {
    Q_OBJECT

public:
    explicit CVorlinView(QWidget* parent = nullptr);
};

}  // namespace corvane

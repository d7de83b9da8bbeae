#pragma once

#include "app/widgets/single_clicks.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace pagelark {

// Text fields that report a click (a left-button release inside them that
// is not the second half of a double click), as the window's handlers
// expect of fields they react to.
class ClickableLineEdit : public QLineEdit {
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    SingleClicks clicks_;
};

class ClickableTextView : public QPlainTextEdit {
    Q_OBJECT

public:
    using QPlainTextEdit::QPlainTextEdit;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    SingleClicks clicks_;
};

}  // namespace pagelark

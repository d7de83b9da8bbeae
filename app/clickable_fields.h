#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

namespace pagelark {

// Text fields that report a click (a left-button release inside them), as
// the window's handlers expect of fields they react to.
class ClickableLineEdit : public QLineEdit {
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class ClickableTextView : public QPlainTextEdit {
    Q_OBJECT

public:
    using QPlainTextEdit::QPlainTextEdit;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace pagelark

#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace pagelark {

// A number field with up and down buttons. Its value is its text read as a
// decimal integer, or the minimum when the text is not one. The buttons, the
// arrow keys and every value the program sets stay within min..max; text the
// user types may lie outside the range until the field loses the focus.
class SpinEdit : public QWidget {
    Q_OBJECT

public:
    explicit SpinEdit(QWidget* parent = nullptr);

    int value() const;
    // Brought into the range before it is shown.
    void setValue(int value);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    // The value is brought into the new range.
    void setRange(int minimum, int maximum);
    QString text() const;
    QLineEdit* lineEdit() const { return field_; }

signals:
    // Every change of the value, by the user or by the program.
    void valueChanged(int value);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void step(int by);
    void noteTextChange();
    void placeParts();

    QLineEdit* field_;
    QToolButton* upButton_;
    QToolButton* downButton_;
    int minimum_ = 0;
    int maximum_ = 100;
    int lastValue_ = 0;
};

}  // namespace pagelark

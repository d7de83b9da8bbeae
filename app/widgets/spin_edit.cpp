#include "app/widgets/spin_edit.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>
#include <charconv>
#include <optional>

namespace pagelark {

namespace {

constexpr int ButtonWidth = 13;

// The text read as a decimal integer (spaces around it allowed, an optional
// sign), or nothing when it is not one or does not fit.
std::optional<int> decimalValue(const QString& text)
{
    const std::string digits = text.trimmed().toStdString();
    const char* begin = digits.data();
    const char* end = begin + digits.size();
    if (begin != end && *begin == '+')
        ++begin;
    int value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (begin == end || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

}  // namespace

SpinEdit::SpinEdit(QWidget* parent)
    : QWidget(parent), field_(new QLineEdit(this)), upButton_(new QToolButton(this)), downButton_(new QToolButton(this))
{
    upButton_->setArrowType(Qt::UpArrow);
    downButton_->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {upButton_, downButton_}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
    }
    field_->setText(QString::number(minimum_));
    field_->installEventFilter(this);
    connect(upButton_, &QToolButton::clicked, this, [this] { step(1); });
    connect(downButton_, &QToolButton::clicked, this, [this] { step(-1); });
    connect(field_, &QLineEdit::textChanged, this, [this] { noteTextChange(); });
    placeParts();
}

int SpinEdit::value() const { return decimalValue(field_->text()).value_or(minimum_); }

void SpinEdit::setValue(int value)
{
    const QString text = QString::number(std::clamp(value, minimum_, maximum_));
    if (text != field_->text())
        field_->setText(text);
}

void SpinEdit::setRange(int minimum, int maximum)
{
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    setValue(value());
    // A text that is no number reads as the minimum, which may just have moved.
    noteTextChange();
}

QString SpinEdit::text() const { return field_->text(); }

void SpinEdit::step(int by) { setValue(value() + by); }

void SpinEdit::noteTextChange()
{
    const int now = value();
    if (now == lastValue_)
        return;
    lastValue_ = now;
    emit valueChanged(now);
}

bool SpinEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == field_) {
        if (event->type() == QEvent::FocusOut) {
            setValue(value());
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                step(key == Qt::Key_Up ? 1 : -1);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SpinEdit::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeParts();
}

void SpinEdit::placeParts()
{
    const int buttons = std::min(ButtonWidth, width());
    const int upperHalf = height() / 2;
    field_->setGeometry(0, 0, width() - buttons, height());
    upButton_->setGeometry(width() - buttons, 0, buttons, upperHalf);
    downButton_->setGeometry(width() - buttons, upperHalf, buttons, height() - upperHalf);
}

}  // namespace pagelark

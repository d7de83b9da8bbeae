#include "app/form/Unit2.h"

#include "app/desktop/handler_guard.h"
#include "app/widgets/clickable_fields.h"

#include <QShowEvent>

namespace pagelark {

namespace {

constexpr int InnerWidth = 402;
constexpr int InnerHeight = 282;

// The About text, line by line.
QStringList aboutLines()
{
    return {
        QStringLiteral("For viewing and extracting wall pictures, sprites and "),
        QStringLiteral("sounds from a Wolfenstein3D/spear related VSWAP file."),
        QString(),
        QStringLiteral("*Set Wolf 1.0/Wolf 1.3/Spear for correct item descriptions."),
        QStringLiteral("*Select an item in the list to wiev/hear."),
        QStringLiteral("*Select any number of items and save them together."),
        QStringLiteral("*For walls and sprites, click the picture and see the figure "),
        QStringLiteral("  against a background with 'normal' ceiling colors from"),
        QStringLiteral("  Wolfenstein3D/Spear of Destiny."),
        QStringLiteral("*The current picture/sound is stored in pl.bmp/pl.wav"),
        QStringLiteral("  from where it can be loaded into an editor, or Brikedit."),
        QStringLiteral("*Addresses can be shown in decimal or hex."),
        QStringLiteral("*You can animate guard sprites and check the movement."),
        QStringLiteral("*You can open a new palette file (*.pal)."),
    };
}

}  // namespace

TForm2::TForm2(Platform& platform, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint), platform_(platform)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("About Pagelark"));
    setFixedSize(InnerWidth, InnerHeight);
    QFont windowFont(QStringLiteral("MS Sans Serif"), 10);
    windowFont.setBold(true);
    setFont(windowFont);

    Memo1 = new ClickableTextView(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(0, 0, 401, 281);
    Memo1->setReadOnly(true);
    Memo1->setPlainText(aboutLines().join(u'\n'));
    QPalette memoColors = Memo1->palette();
    memoColors.setColor(QPalette::Base, Qt::yellow);
    memoColors.setColor(QPalette::Text, Qt::black);
    Memo1->setPalette(memoColors);
    connect(Memo1, &ClickableTextView::clicked, this, guardedSlot(platform_, this, &TForm2::Memo1Click));
}

void TForm2::Memo1Click() { hide(); }

void TForm2::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous() || parentWidget() == nullptr)
        return;
    // Centred over the main window each time it is shown.
    const QRect outer = frameGeometry();
    move(parentWidget()->frameGeometry().center() - QPoint(outer.width() / 2, outer.height() / 2));
}

}  // namespace pagelark

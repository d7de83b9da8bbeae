// The main window's controls: kind, position, size, caption, hint, font,
// colours and whether they show at start.
#include "app/form/Unit1.h"

#include "app/widgets/about_picture.h"
#include "app/widgets/button_icons.h"
#include "app/widgets/chunk_list.h"
#include "app/widgets/circle_shape.h"
#include "app/widgets/clickable_fields.h"
#include "app/widgets/list_row_delegate.h"
#include "app/widgets/picture_box.h"
#include "app/widgets/spin_edit.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

namespace pagelark {

namespace {

const QColor Navy(0, 0, 128);
const QColor Aqua(0, 255, 255);
const QColor DarkGrey(64, 64, 64);  // packed 4210752

QFont fontOf(const QString& family, int points, bool bold)
{
    QFont font(family, points);
    font.setBold(bold);
    return font;
}

template <typename Control>
Control* named(Control* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

void makeBold(QWidget* control)
{
    QFont font = control->font();
    font.setBold(true);
    control->setFont(font);
}

void setColors(QWidget* control, QPalette::ColorRole backgroundRole, const QColor& background,
               QPalette::ColorRole textRole, const QColor& text)
{
    QPalette colors = control->palette();
    if (background.isValid())
        colors.setColor(backgroundRole, background);
    colors.setColor(textRole, text);
    control->setPalette(colors);
}

// Labels size themselves to their text in their font, as the window's labels do.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int left, int top, const QFont& font)
{
    auto* label = named(new QLabel(text, parent), name);
    label->setFont(font);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QToolButton* makeFlatButton(QWidget* parent, const char* name, const QRect& geometry, const QString& text)
{
    auto* button = named(new QToolButton(parent), name);
    button->setAutoRaise(true);
    button->setText(text);
    button->setGeometry(geometry);
    return button;
}

QToolButton* makePictureButton(QWidget* parent, const char* name, const QRect& geometry, const QIcon& icon,
                               const QString& hint)
{
    QToolButton* button = makeFlatButton(parent, name, geometry, QString());
    button->setIcon(icon);
    button->setToolTip(hint);
    return button;
}

QLineEdit* makeField(QLineEdit* field, const char* name, const QRect& geometry, const QString& text)
{
    named(field, name);
    field->setGeometry(geometry);
    field->setText(text);
    makeBold(field);
    return field;
}

QRadioButton* makeOption(QWidget* parent, const char* name, const QRect& geometry, const QString& caption,
                         const QString& hint)
{
    auto* option = named(new QRadioButton(caption, parent), name);
    option->setGeometry(geometry);
    option->setToolTip(hint);
    return option;
}

// Off until there is a file to edit.
QAction* makeMenuAction(QMenu* menu, const char* name, const QString& caption, const QKeySequence& keys)
{
    QAction* action = named(menu->addAction(caption), name);
    action->setShortcut(keys);
    action->setEnabled(false);
    return action;
}

QFrame* makePanel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* panel = named(new QFrame(parent), name);
    panel->setFrameShape(QFrame::NoFrame);
    panel->setGeometry(geometry);
    return panel;
}

}  // namespace

void TForm1::createControls()
{
    const QFont verdana10Bold = fontOf(QStringLiteral("Verdana"), 10, true);
    const QFont verdana8Bold = fontOf(QStringLiteral("Verdana"), 8, true);

    SpeedButton1 = makeFlatButton(this, "SpeedButton1", {4, 8, 121, 22}, QStringLiteral("Load vswap file"));
    SpeedButton1->setFont(verdana10Bold);
    spgem = makeFlatButton(this, "spgem", {4, 32, 121, 22}, QStringLiteral("Save selected"));
    spgem->setFont(verdana10Bold);
    spgem->hide();
    SpeedButton2
        = makePictureButton(this, "SpeedButton2", {132, 8, 23, 22}, paletteIcon(), QStringLiteral("New Palette"));

    // The circle lies under the About picture, which covers it except at the
    // picture's transparent edge columns.
    Shape1 = named(new CircleShape(this), "Shape1");
    Shape1->setGeometry(168, 10, 25, 25);
    Shape1->setBrushColor(packColor(255, 0, 0));
    Image1 = named(new AboutPicture(this), "Image1");
    Image1->move(164, 8);
    Image1->setToolTip(QStringLiteral("About..."));

    Label3 = makeLabel(this, "Label3", QStringLiteral("Start"), 228, 6, verdana8Bold);
    Edit4 = static_cast<ClickableLineEdit*>(
        makeField(new ClickableLineEdit(this), "Edit4", {228, 18, 33, 21}, QStringLiteral("DEC")));
    Edit4->setReadOnly(true);
    Edit4->setCursor(Qt::ArrowCursor);
    setColors(Edit4, QPalette::Base, Qt::black, QPalette::Text, Qt::white);
    // A flat one-pixel border instead of the style's sunken frame; a style
    // sheet that draws the border draws the colours too.
    Edit4->setStyleSheet(
        QStringLiteral("QLineEdit { background-color: black; color: white; border: 1px solid #808080; }"));
    Edit4->hide();
    Label4 = makeLabel(this, "Label4", QStringLiteral("Size"), 228, 38, verdana8Bold);
    Edit2 = makeField(new QLineEdit(this), "Edit2", {264, 8, 59, 21}, QString());
    Edit2->setReadOnly(true);
    setColors(Edit2, QPalette::Base, QColor(), QPalette::Text, Navy);
    Edit1 = makeField(new QLineEdit(this), "Edit1", {264, 32, 59, 21}, QString());
    Edit1->setReadOnly(true);
    setColors(Edit1, QPalette::Base, QColor(), QPalette::Text, Navy);

    Label2
        = makeLabel(this, "Label2", QStringLiteral("Pointers             Standard description"), 334, 2, verdana8Bold);
    ListBox1 = named(new ChunkList(this), "ListBox1");
    ListBox1->setGeometry(329, 16, 265, 401);
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setFont(fontOf(QStringLiteral("Arial Black"), 9, true));
    ListBox1->setUniformItemSizes(true);
    ListBox1->setItemDelegate(new ListRowDelegate(17, ListBox1));
    setColors(ListBox1, QPalette::Base, palette().color(QPalette::Button), QPalette::Text, Navy);
    // The pop-up menu opens on a right click only from the first press of
    // "Load vswap file" on.
    ListBox1->setContextMenuPolicy(Qt::PreventContextMenu);
    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    S1 = named(PopupMenu1->addAction(QStringLiteral("Select All")), "S1");
    PopupMenu1->addSeparator();
    Replace1 = makeMenuAction(PopupMenu1, "Replace1", QStringLiteral("Replace…"), Qt::CTRL | Qt::Key_R);
    EditInEditor1 = makeMenuAction(PopupMenu1, "EditInEditor1", QStringLiteral("Edit in editor"), Qt::CTRL | Qt::Key_E);
    EditWith1 = named(PopupMenu1->addMenu(QStringLiteral("Edit with")), "EditWith1");
    Undo1 = makeMenuAction(PopupMenu1, "Undo1", QStringLiteral("Undo"), Qt::CTRL | Qt::Key_Z);
    Redo1 = makeMenuAction(PopupMenu1, "Redo1", QStringLiteral("Redo"), Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    PopupMenu1->addSeparator();
    SaveVswapAs1
        = makeMenuAction(PopupMenu1, "SaveVswapAs1", QStringLiteral("Save vswap file as…"), Qt::CTRL | Qt::Key_S);
    SaveChangesAsMod1
        = makeMenuAction(PopupMenu1, "SaveChangesAsMod1", QStringLiteral("Save changes as mod…"), QKeySequence());
    // The window holds them too, so that their keys work wherever its focus is.
    addActions({Replace1, EditInEditor1, Undo1, Redo1, SaveVswapAs1});

    cb1 = named(new QComboBox(this), "cb1");
    cb1->setGeometry(4, 58, 121, 21);
    cb1->setEditable(true);
    // Text typed into the field names a version or none; Enter adds no item.
    cb1->setInsertPolicy(QComboBox::NoInsert);
    cb1->setFont(verdana8Bold);
    cb1->addItems({QStringLiteral("Wolf 1.0 SW"), QStringLiteral("Wolf 1.3"), QStringLiteral("Spear of Dest.")});
    cb1->setCurrentIndex(1);
    cb1->setToolTip(QStringLiteral("For correct texts"));
    cb1->hide();
    spe1 = named(new SpinEdit(this), "spe1");
    spe1->setGeometry(126, 58, 19, 22);
    spe1->setRange(10, 69);
    spe1->setValue(10);
    spe1->setToolTip(QStringLiteral("Ceiling colors"));
    spe1->hide();
    Label8 = makeLabel(this, "Label8", QStringLiteral("1:1"), 148, 60, verdana10Bold);
    setColors(Label8, QPalette::Window, QColor(), QPalette::WindowText, Navy);
    Label8->setToolTip(QStringLiteral("Click the picture"));
    Label8->hide();

    Image2 = named(new PictureBox(320, 320, this), "Image2");
    Image2->move(4, 80);
    Image2->canvas().fillRect({0, 0, 320, 320}, windowColor());
    Image2->hide();
    Image4 = named(new PictureBox(64, 64, this), "Image4");
    Image4->move(336, 32);
    Image4->hide();

    Edit3 = makeField(new QLineEdit(this), "Edit3", {4, 404, 41, 21}, QStringLiteral("Edit3"));
    setColors(Edit3, QPalette::Base, DarkGrey, QPalette::Text, Qt::yellow);
    Edit3->hide();
    Edit5 = makeField(new QLineEdit(this), "Edit5", {44, 404, 29, 21}, QStringLiteral("Edit5"));
    setColors(Edit5, QPalette::Base, Navy, QPalette::Text, Aqua);
    Edit5->setToolTip(QStringLiteral("Color index"));
    Edit5->hide();

    // Sound controls.
    Panel1 = makePanel(this, "Panel1", {72, 402, 117, 22});
    Label7 = makeLabel(Panel1, "Label7", QStringLiteral("Label7"), 1, 3, verdana10Bold);
    setColors(Label7, QPalette::Window, QColor(), QPalette::WindowText, Navy);
    Sb2 = makePictureButton(Panel1, "Sb2", {63, 0, 23, 22}, playIcon(), QStringLiteral("Play sound"));
    Sb4 = makePictureButton(Panel1, "Sb4", {87, 0, 23, 22}, muteIcon(), QStringLiteral("Mute sound"));
    Panel1->hide();

    // Sprite controls.
    Panel2 = makePanel(this, "Panel2", {72, 402, 257, 22});
    Label1 = makeLabel(Panel2, "Label1", QStringLiteral(" "), 0, 4, fontOf(font().family(), 8, true));
    setColors(Label1, QPalette::Window, QColor(), QPalette::WindowText, Navy);
    anim = makeFlatButton(Panel2, "anim", {33, 0, 65, 22}, QStringLiteral("Animate"));
    anim->setFont(verdana10Bold);
    sbf = makeFlatButton(Panel2, "sbf", {98, 0, 17, 22}, QStringLiteral(">"));
    sbf->setToolTip(QStringLiteral("Forward"));
    sbb = makeFlatButton(Panel2, "sbb", {115, 0, 17, 22}, QStringLiteral("<"));
    sbb->setToolTip(QStringLiteral("Backward"));
    rb1 = makeOption(Panel2, "rb1", {136, 4, 33, 17}, QStringLiteral("II"), QStringLiteral("Pacmen"));
    rb2 = makeOption(Panel2, "rb2", {166, 4, 41, 17}, QStringLiteral("IIII"), QStringLiteral("Bosses"));
    rb3 = makeOption(Panel2, "rb3", {206, 4, 49, 17}, QStringLiteral("I I I I"), QStringLiteral("Guards"));
    rb3->setChecked(true);
    Panel2->hide();

    ListBox2 = named(new QListWidget(this), "ListBox2");
    ListBox2->setGeometry(16, 296, 225, 97);
    ListBox2->setFont(QFont(QStringLiteral("Courier New"), font().pointSize()));
    ListBox2->hide();

    Label9 = makeLabel(this, "Label9", QString(), 0, 0, font());
    Label9->hide();

    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(220);
}

}  // namespace pagelark

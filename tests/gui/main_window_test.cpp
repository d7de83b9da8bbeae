#include "app/form/Unit1.h"
#include "app/form/Unit2.h"
#include "app/widgets/about_picture.h"
#include "app/widgets/circle_shape.h"
#include "app/widgets/clickable_fields.h"
#include "app/widgets/picture_box.h"
#include "app/widgets/spin_edit.h"
#include "tests/gui/window_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <map>

namespace pagelark::testing {
namespace {

struct ControlFacts {
    const char* name;
    QRect geometry;  // an empty size: a label sized to its text, only its position counts
    bool shownAtStart;
    QString caption;
    QString hint;
};

// Every control of the window as it must be before the first press of
// "Load vswap file". Panel children are shown with their (hidden) panel.
const std::vector<ControlFacts>& startControls()
{
    static const std::vector<ControlFacts> controls{
        {"SpeedButton1", {4, 8, 121, 22}, true, "Load vswap file", ""},
        {"spgem", {4, 32, 121, 22}, false, "Save selected", ""},
        {"SpeedButton2", {132, 8, 23, 22}, true, "", "New Palette"},
        {"Image1", {164, 8, 32, 32}, true, "", "About..."},
        {"Shape1", {168, 10, 25, 25}, true, "", ""},
        {"Label3", {228, 6, 0, 0}, true, "Start", ""},
        {"Edit4", {228, 18, 33, 21}, false, "DEC", ""},
        {"Label4", {228, 38, 0, 0}, true, "Size", ""},
        {"Edit2", {264, 8, 59, 21}, true, "", ""},
        {"Edit1", {264, 32, 59, 21}, true, "", ""},
        {"Label2", {334, 2, 0, 0}, true, "Pointers             Standard description", ""},
        {"ListBox1", {329, 16, 265, 401}, true, "", ""},
        {"cb1", {4, 58, 121, 21}, false, "Wolf 1.3", "For correct texts"},
        {"spe1", {126, 58, 19, 22}, false, "10", "Ceiling colors"},
        {"Label8", {148, 60, 0, 0}, false, "1:1", "Click the picture"},
        {"Image2", {4, 80, 320, 320}, false, "", ""},
        {"Image4", {336, 32, 64, 64}, false, "", ""},
        {"Edit3", {4, 404, 41, 21}, false, "Edit3", ""},
        {"Edit5", {44, 404, 29, 21}, false, "Edit5", "Color index"},
        {"Panel1", {72, 402, 117, 22}, false, "", ""},
        {"Label7", {1, 3, 0, 0}, true, "Label7", ""},
        {"Sb2", {63, 0, 23, 22}, true, "", "Play sound"},
        {"Sb4", {87, 0, 23, 22}, true, "", "Mute sound"},
        {"Panel2", {72, 402, 257, 22}, false, "", ""},
        {"Label1", {0, 4, 0, 0}, true, " ", ""},
        {"anim", {33, 0, 65, 22}, true, "Animate", ""},
        {"sbf", {98, 0, 17, 22}, true, ">", "Forward"},
        {"sbb", {115, 0, 17, 22}, true, "<", "Backward"},
        {"rb1", {136, 4, 33, 17}, true, "II", "Pacmen"},
        {"rb2", {166, 4, 41, 17}, true, "IIII", "Bosses"},
        {"rb3", {206, 4, 49, 17}, true, "I I I I", "Guards"},
        {"ListBox2", {16, 296, 225, 97}, false, "", ""},
        {"Label9", {0, 0, 0, 0}, false, "", ""},
    };
    return controls;
}

QString captionOf(QWidget* control)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* field = qobject_cast<QLineEdit*>(control))
        return field->text();
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->currentText();
    if (auto* spin = qobject_cast<SpinEdit*>(control))
        return spin->text();
    return {};
}

std::map<QString, QRect> childGeometries(QWidget& window)
{
    std::map<QString, QRect> geometries;
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->objectName().isEmpty())
            geometries[child->objectName()] = child->geometry();
    return geometries;
}

class MainWindowTest : public WindowTest {};

TEST_F(MainWindowTest, EveryControlStartsWithItsNamePlaceCaptionHintAndVisibility)
{
    TForm1& window = form();
    EXPECT_EQ(window.windowTitle(), "Pagelark 3.3");
    EXPECT_EQ(window.size(), QSize(606, 465));
    for (const ControlFacts& facts : startControls()) {
        SCOPED_TRACE(facts.name);
        auto* control = window.findChild<QWidget*>(QString::fromLatin1(facts.name));
        ASSERT_NE(control, nullptr);
        if (facts.geometry.isEmpty())
            EXPECT_EQ(control->pos(), facts.geometry.topLeft());
        else
            EXPECT_EQ(control->geometry(), facts.geometry);
        EXPECT_EQ(control->isVisibleTo(control->parentWidget()), facts.shownAtStart);
        EXPECT_EQ(captionOf(control), facts.caption);
        EXPECT_EQ(control->toolTip(), facts.hint);
    }
    // The members are the named controls.
    EXPECT_EQ(window.SpeedButton1, window.findChild<QToolButton*>("SpeedButton1"));
    EXPECT_EQ(window.ListBox1, window.findChild<QListWidget*>("ListBox1"));
    EXPECT_EQ(window.spe1, window.findChild<SpinEdit*>("spe1"));
    EXPECT_EQ(window.Label7->parentWidget(), window.Panel1);
    EXPECT_EQ(window.rb3->parentWidget(), window.Panel2);
}

TEST_F(MainWindowTest, ControlsHaveTheirStartValues)
{
    TForm1& window = form();
    EXPECT_TRUE(window.rb3->isChecked());
    EXPECT_FALSE(window.rb1->isChecked());
    EXPECT_EQ(window.cb1->count(), 3);
    EXPECT_EQ(window.cb1->itemText(0), "Wolf 1.0 SW");
    EXPECT_EQ(window.cb1->itemText(2), "Spear of Dest.");
    EXPECT_EQ(window.cb1->currentIndex(), 1);
    EXPECT_TRUE(window.cb1->isEditable());
    EXPECT_EQ(window.spe1->minimum(), 10);
    EXPECT_EQ(window.spe1->maximum(), 69);
    EXPECT_EQ(window.spe1->value(), 10);
    EXPECT_EQ(window.ListBox1->count(), 0);
    EXPECT_EQ(window.ListBox1->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_TRUE(window.Edit1->isReadOnly());
    EXPECT_TRUE(window.Edit2->isReadOnly());
    EXPECT_TRUE(window.Edit4->isReadOnly());
    EXPECT_FALSE(window.Edit3->isReadOnly());
    EXPECT_EQ(window.Shape1->brushColor(), packColor(255, 0, 0));
    EXPECT_FALSE(window.Timer1->isActive());
    EXPECT_EQ(window.Timer1->interval(), 220);
    EXPECT_EQ(window.Image2->canvas().width(), 320);
    EXPECT_EQ(window.Image4->canvas().width(), 64);
    QList<QAction*> menu = window.PopupMenu1->actions();
    menu.removeIf([](const QAction* action) { return action->isSeparator(); });
    EXPECT_EQ(menu,
              QList<QAction*>({window.S1, window.Replace1, window.EditInEditor1, window.EditWith1->menuAction(),
                               window.Undo1, window.Redo1, window.SaveVswapAs1, window.SaveChangesAsMod1}));
    EXPECT_EQ(window.S1->text(), "Select All");
    // Nothing to edit yet.
    for (const QAction* edit :
         {window.Replace1, window.Undo1, window.Redo1, window.SaveVswapAs1, window.SaveChangesAsMod1})
        EXPECT_FALSE(edit->isEnabled()) << edit->text().toStdString();
    EXPECT_FALSE(window.state().workingCopy.isOpen());
}

TEST_F(MainWindowTest, CreationFixesProgramDirAndMeasuresTheSpeedProbe)
{
    platform.tickStep = 7;
    TForm1& window = form();
    EXPECT_EQ(window.state().sideFilesDir, platform.dir.withSeparator());
    EXPECT_EQ(window.state().ownFilesDir, platform.dir.withSeparator());
    EXPECT_EQ(window.state().speedProbe, 7);
    EXPECT_EQ(window.drawingSurface().pixel(0, 0), packColor(255, 255, 255));
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(MainWindowTest, SpeedProbeSurvivesTheClockWrapping)
{
    platform.ticks = 0xFFFFFFFEu;
    platform.tickStep = 5;
    EXPECT_EQ(form().state().speedProbe, 5);
}

TEST_F(MainWindowTest, ResizingChangesOnlyTheListHeight)
{
    TForm1& window = form();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.ListBox1->height(), window.height() - 21);

    for (const QSize size : {QSize(800, 600), QSize(500, 300)}) {
        std::map<QString, QRect> before = childGeometries(window);
        window.resize(size);
        QApplication::processEvents();
        std::map<QString, QRect> after = childGeometries(window);
        EXPECT_EQ(window.ListBox1->height(), size.height() - 21);
        const QRect list = after["ListBox1"];
        EXPECT_EQ(list.topLeft(), QPoint(329, 16));
        EXPECT_EQ(list.width(), 265);
        before.erase("ListBox1");
        after.erase("ListBox1");
        EXPECT_EQ(before, after);
    }
}

TEST_F(MainWindowTest, FirstShowCentresTheWindowAndClosingItEndsTheProgram)
{
    TForm1& window = form();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QPoint offCentre = window.frameGeometry().center() - window.screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2);

    // The About window, being the main window's tool window, keeps nothing running.
    QTest::mouseClick(window.Image1, Qt::LeftButton);
    ASSERT_TRUE(window.aboutWindow()->isVisible());
    const QPoint aboutOffCentre = window.aboutWindow()->frameGeometry().center() - window.frameGeometry().center();
    EXPECT_LE(aboutOffCentre.manhattanLength(), 2);
    QTimer::singleShot(0, &window, [&window] { window.close(); });
    QTimer stillRunning;
    stillRunning.setSingleShot(true);
    QObject::connect(&stillRunning, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    stillRunning.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
}

TEST_F(MainWindowTest, AboutPictureShowsTheAboutWindowAndItsTextHidesIt)
{
    TForm1& window = form();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    TForm2* about = window.aboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), "About Pagelark");
    EXPECT_TRUE(about->windowFlags().testFlag(Qt::Tool));
    EXPECT_EQ(about->size(), QSize(402, 282));
    EXPECT_EQ(about->minimumSize(), about->maximumSize());
    EXPECT_EQ(about->Memo1->geometry(), QRect(0, 0, 401, 281));

    const QStringList lines = about->Memo1->toPlainText().split(u'\n');
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(lines[0], "For viewing and extracting wall pictures, sprites and ");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[6], "*For walls and sprites, click the picture and see the figure ");
    EXPECT_EQ(lines[13], "*You can open a new palette file (*.pal).");

    QTest::mouseClick(window.Image1, Qt::LeftButton);
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(about->isModal());
    QTest::mouseClick(window.Image1, Qt::LeftButton);
    EXPECT_TRUE(about->isVisible());
    QTest::mouseClick(about->Memo1->viewport(), Qt::LeftButton);
    EXPECT_FALSE(about->isVisible());
    EXPECT_TRUE(window.isVisible());
}

TEST_F(MainWindowTest, CircleIsSeenOnlyWhereTheAboutPictureIsHidden)
{
    TForm1& window = form();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QPoint circleCentre = window.Shape1->geometry().center();
    const QRgb red = qRgb(255, 0, 0);
    EXPECT_NE(window.grab().toImage().pixel(circleCentre), red);
    window.Image1->hide();
    EXPECT_EQ(window.grab().toImage().pixel(circleCentre), red);
}

void requestListMenu(TForm1& window)
{
    const QPoint at(10, 10);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, window.ListBox1->viewport()->mapToGlobal(at));
    QApplication::sendEvent(window.ListBox1->viewport(), &event);
}

TEST_F(MainWindowTest, ListMenuOpensOnlyFromTheFirstPressOfLoad)
{
    TForm1& window = form();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    requestListMenu(window);
    EXPECT_FALSE(window.PopupMenu1->isVisible());

    platform.cancelOpen();
    window.SpeedButton1->click();
    requestListMenu(window);
    EXPECT_TRUE(window.PopupMenu1->isVisible());
    window.PopupMenu1->close();
}

TEST_F(MainWindowTest, SelectAllSelectsEveryEntryWithoutCountingAsAClick)
{
    openFile(userFile("VSWAP.WL6", sampleVswap()));
    TForm1& window = form();
    window.state().lastListIndex = 99;
    window.state().heartbeatTicks = 5;
    window.S1->trigger();
    EXPECT_EQ(window.ListBox1->selectedItems().size(), window.ListBox1->count());
    EXPECT_EQ(window.state().lastListIndex, 99);
    EXPECT_EQ(window.state().heartbeatTicks, 5);
}

TEST_F(MainWindowTest, ClickAndKeyboardInTheListRestartTheHeartbeatAndNoteThePosition)
{
    openFile(userFile("VSWAP.WL6", sampleVswap()));
    TForm1& window = form();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.state().heartbeatTicks = 5;
    QTest::mouseClick(window.ListBox1->viewport(), Qt::LeftButton, {},
                      window.ListBox1->visualItemRect(window.ListBox1->item(3)).center());
    EXPECT_EQ(window.state().lastListIndex, 3);
    EXPECT_EQ(window.state().heartbeatTicks, 0);

    window.state().heartbeatTicks = 5;
    QTest::keyClick(window.ListBox1, Qt::Key_Up);
    EXPECT_EQ(window.state().lastListIndex, 2);
    EXPECT_EQ(window.state().heartbeatTicks, 0);
    EXPECT_TRUE(platform.errors.empty());
}

}  // namespace
}  // namespace pagelark::testing

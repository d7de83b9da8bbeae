#include "app/widgets/about_picture.h"
#include "app/widgets/picture_box.h"
#include "app/widgets/spin_edit.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace pagelark::testing {
namespace {

class SpinEditTest : public ::testing::Test {
protected:
    SpinEditTest()
    {
        spin.setRange(10, 69);
        spin.setValue(10);
    }

    void type(const QString& text)
    {
        spin.lineEdit()->selectAll();
        QTest::keyClicks(spin.lineEdit(), text);
    }

    void leaveField()
    {
        QFocusEvent focusOut(QEvent::FocusOut);
        QApplication::sendEvent(spin.lineEdit(), &focusOut);
    }

    SpinEdit spin;
};

TEST_F(SpinEditTest, ProgramSetValuesStayInRange)
{
    spin.setValue(100);
    EXPECT_EQ(spin.value(), 69);
    spin.setValue(-5);
    EXPECT_EQ(spin.value(), 10);
    spin.setRange(70, 90);
    EXPECT_EQ(spin.value(), 70);
    EXPECT_EQ(spin.text(), "70");
}

TEST_F(SpinEditTest, TypedTextMayLeaveTheRangeUntilTheFieldLosesFocus)
{
    type("200");
    EXPECT_EQ(spin.value(), 200);
    leaveField();
    EXPECT_EQ(spin.value(), 69);
    EXPECT_EQ(spin.text(), "69");
}

TEST_F(SpinEditTest, TextThatIsNoNumberCountsAsTheMinimum)
{
    spin.setValue(40);
    type("4x");
    EXPECT_EQ(spin.value(), 10);
    type("");
    EXPECT_EQ(spin.value(), 10);
    type(" 33 ");
    EXPECT_EQ(spin.value(), 33);
    type("99999999999999");
    EXPECT_EQ(spin.value(), 10);
}

TEST_F(SpinEditTest, ButtonsAndArrowKeysStepWithinTheRange)
{
    spin.setValue(68);
    auto buttons = spin.findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 2);
    QToolButton* up = buttons[0]->arrowType() == Qt::UpArrow ? buttons[0] : buttons[1];
    QToolButton* down = up == buttons[0] ? buttons[1] : buttons[0];
    up->click();
    up->click();
    EXPECT_EQ(spin.value(), 69);
    QTest::keyClick(spin.lineEdit(), Qt::Key_Down);
    EXPECT_EQ(spin.value(), 68);
    spin.setValue(10);
    down->click();
    EXPECT_EQ(spin.value(), 10);
    // From a typed value beyond the range the buttons come back into it.
    type("500");
    down->click();
    EXPECT_EQ(spin.value(), 69);
}

TEST_F(SpinEditTest, ReportsEveryChangeOfTheValueOnce)
{
    QSignalSpy changes(&spin, &SpinEdit::valueChanged);
    spin.setValue(12);
    spin.setValue(12);
    type("15");   // "1" and then "15"
    type("abc");  // reads as the minimum
    type("xyz");  // still the minimum: no change
    ASSERT_EQ(changes.size(), 4);
    EXPECT_EQ(changes[0][0].toInt(), 12);
    EXPECT_EQ(changes[1][0].toInt(), 1);
    EXPECT_EQ(changes[2][0].toInt(), 15);
    EXPECT_EQ(changes[3][0].toInt(), 10);
}

TEST(PictureBoxTest, ShowsAndReadsBackExactlyWhatWasDrawn)
{
    PictureBox box(320, 320);
    box.canvas().fillRect({0, 0, 320, 320}, packColor(1, 2, 3));
    box.canvas().setPixel(5, 7, packColor(200, 100, 50));
    box.canvas().setPixel(319, 319, packColor(255, 255, 255));
    EXPECT_EQ(box.canvas().pixel(5, 7), packColor(200, 100, 50));
    EXPECT_EQ(box.canvas().pixel(6, 7), packColor(1, 2, 3));

    const QImage shown = box.grab().toImage();
    EXPECT_EQ(shown.size(), QSize(320, 320));
    EXPECT_EQ(shown.pixel(5, 7), qRgb(200, 100, 50));
    EXPECT_EQ(shown.pixel(6, 7), qRgb(1, 2, 3));
    EXPECT_EQ(shown.pixel(319, 319), qRgb(255, 255, 255));
}

TEST(PictureBoxTest, ReportsClicksAndPointerPositions)
{
    PictureBox box(64, 64);
    QSignalSpy clicks(&box, &PictureBox::clicked);
    QSignalSpy moves(&box, &PictureBox::mouseMoved);
    EXPECT_TRUE(box.hasMouseTracking());

    QMouseEvent move(QEvent::MouseMove, QPointF(12, 34), QPointF(12, 34), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &move);
    ASSERT_EQ(moves.size(), 1);
    EXPECT_EQ(moves[0][0].toInt(), 12);
    EXPECT_EQ(moves[0][1].toInt(), 34);

    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(clicks.size(), 1);
    QTest::mouseClick(&box, Qt::RightButton, {}, QPoint(3, 3));
    EXPECT_EQ(clicks.size(), 1);
}

TEST(AboutPictureTest, OnlyTheTwoOuterColumnsOnEachSideAreTransparent)
{
    const QImage lark = larkImage();
    ASSERT_EQ(lark.size(), QSize(32, 32));
    for (int x = 0; x < 32; ++x) {
        const bool clear = x < 2 || x >= 30;
        for (int y = 0; y < 32; ++y)
            ASSERT_EQ(qAlpha(lark.pixel(x, y)), clear ? 0 : 255) << x << "," << y;
    }
}

}  // namespace
}  // namespace pagelark::testing

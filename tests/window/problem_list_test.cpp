// The problem list: rows as built, moving between them with the keys and the mouse, and the
// easing that brings the focused row into the marker band.

#include "window_test_support.h"

#include "window/controls.h"
#include "window/problem_list.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

namespace window::test {
namespace {

TEST(RowCaption, OperandsSignAndEquals)
{
    const std::pair<drill::ProblemRecord, const char*> cases[] = {
        {{7, 5, drill::Addition, 12}, "7 + 5 ="},
        {{12, 4, drill::Subtraction, 8}, "12 - 4 ="},
        {{3, 4, drill::Multiplication, 12}, "3 · 4 ="},
        {{20, 5, drill::Division, 4}, "20 : 5 ="},
        {{-3, 8, drill::Addition, 5}, "-3 + 8 ="},
        {{-32768, -1, drill::Subtraction, -32767}, "-32768 - -1 ="},
    };
    for (const auto& [problem, caption] : cases)
        EXPECT_EQ(RowCaption(problem), QString::fromUtf8(caption));
}

// A shown, active window: the focus moves only inside an active window.
class ProblemList : public testing::Test {
protected:
    void Open(int rows)
    {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        StartExercise(form, rows);
    }

    int FocusedRow() const
    {
        for (int i = 1; i <= form.rowCount(); ++i)
            if (form.txtVysl(i)->hasFocus())
                return i;
        return 0;
    }

    // Puts the focus in a row and lets the list come to rest there.
    void GoTo(int row)
    {
        form.txtVysl(row)->setFocus();
        ASSERT_GE(EaseToRest(form), 0);
    }

    Form1 form{2001};
};

TEST_F(ProblemList, TenRowsAreBuiltFromTheirProblemsAndDropIntoPlace)
{
    Open(10);
    ASSERT_EQ(form.rowCount(), 10);
    for (int i = 1; i <= 10; ++i) {
        SCOPED_TRACE(i);
        const QString caption = RowCaption(form.state().Problems[static_cast<std::size_t>(i)]);
        EXPECT_EQ(form.lblPrikl(i)->text(), caption);
        EXPECT_EQ(form.txtVysl(i)->accessibleName(), caption);
        EXPECT_EQ(form.lblPrikl(i)->geometry(), QRect(0, 44 * i - 22, 284, 44));
        EXPECT_EQ(form.txtVysl(i)->geometry(), QRect(292, 44 * i - 22, 119, 44));
        EXPECT_TRUE(form.lblPrikl(i)->isVisibleTo(List(form)));
        EXPECT_TRUE(form.txtVysl(i)->isVisibleTo(List(form)));
        EXPECT_EQ(form.txtVysl(i)->maxLength(), 5);
        EXPECT_EQ(form.txtVysl(i)->font().pixelSize(), 37);
        EXPECT_EQ(TextColour(form.txtVysl(i)), QColor(0, 0, 255));
        EXPECT_EQ(form.lblPrikl(i)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    }
    EXPECT_FALSE(form.txtVysl(0)->isVisibleTo(List(form)));
    EXPECT_FALSE(form.lblPrikl(0)->isVisibleTo(List(form)));

    Panel* list = List(form);
    EXPECT_TRUE(list->isVisibleTo(list->parentWidget()));
    EXPECT_EQ(list->height(), 486);
    EXPECT_EQ(list->topF(), -1760.0F);
    EXPECT_EQ(FocusedRow(), 1);
    EXPECT_EQ(form.state().ScrollTarget, 44);
    EXPECT_EQ(TextColour(Find<QWidget>(form, QStringLiteral("lblSipka1"))), QColor(0, 0, 192));
    EXPECT_EQ(TextColour(Find<QWidget>(form, QStringLiteral("lblSipka2"))), QColor(0, 0, 192));
    EXPECT_EQ(Find<QLabel>(form, QStringLiteral("lblCas"))->text(), QStringLiteral("00:01:40"));

    // Each tick covers a quarter of the way, on the fractional position.
    form.Timer1_Timer();
    EXPECT_EQ(list->topF(), -1309.0F);
    form.Timer1_Timer();
    EXPECT_EQ(list->topF(), -970.75F);
}

TEST_F(ProblemList, EasingArrivesExactlyAndSwitchesItselfOff)
{
    Open(10);
    form.txtVysl(5)->setFocus();
    EXPECT_EQ(form.state().ScrollTarget, -132);
    EXPECT_TRUE(Timer1(form)->isActive());
    const int ticks = EaseToRest(form);
    EXPECT_GT(ticks, 0);
    EXPECT_LT(ticks, 100);
    EXPECT_EQ(List(form)->topF(), -132.0F);
    EXPECT_EQ(List(form)->y(), -132);
    // The focused row's top edge lies in the band, level with the arrows.
    EXPECT_EQ(form.txtVysl(5)->mapTo(Find<QWidget>(form, QStringLiteral("Picture1")), QPoint()).y(),
              66);

    // Focusing the box that has the focus is no change: the list stays at rest.
    form.txtVysl(5)->setFocus();
    EXPECT_FALSE(Timer1(form)->isActive());
    EXPECT_EQ(form.state().ScrollTarget, -132);
}

TEST_F(ProblemList, KeysMoveBetweenRowsWithinTheList)
{
    Open(10);
    struct Case {
        int from;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int to;
    };
    const Case cases[] = {
        {1, Qt::Key_Up, Qt::NoModifier, 1},         {1, Qt::Key_Home, Qt::NoModifier, 1},
        {10, Qt::Key_Return, Qt::NoModifier, 10},   {3, Qt::Key_PageUp, Qt::NoModifier, 1},
        {8, Qt::Key_PageDown, Qt::NoModifier, 10},  {4, Qt::Key_End, Qt::NoModifier, 10},
        {7, Qt::Key_Home, Qt::NoModifier, 1},       {2, Qt::Key_Return, Qt::NoModifier, 3},
        {2, Qt::Key_Enter, Qt::KeypadModifier, 3},  {5, Qt::Key_Down, Qt::NoModifier, 6},
        {5, Qt::Key_Up, Qt::ShiftModifier, 4},      {5, Qt::Key_Down, Qt::ControlModifier, 6},
        {6, Qt::Key_PageDown, Qt::NoModifier, 10},  {5, Qt::Key_PageUp, Qt::NoModifier, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.from << " key " << c.key);
        GoTo(c.from);
        QTest::keyClick(form.txtVysl(c.from), c.key, c.modifiers);
        EXPECT_EQ(FocusedRow(), c.to);
        EXPECT_EQ(form.state().ScrollTarget, 88 - 44 * c.to);
        // Staying in the row starts nothing.
        EXPECT_EQ(Timer1(form)->isActive(), c.to != c.from);
    }
}

TEST_F(ProblemList, NavigationKeysAreTakenOtherKeysReachTheBox)
{
    Open(10);
    GoTo(1);
    QLineEdit* box = form.txtVysl(1);
    QTest::keyClicks(box, QStringLiteral("12"));
    QTest::keyClick(box, Qt::Key_Home); // no row before: nothing moves, not even the cursor
    EXPECT_EQ(box->cursorPosition(), 2);
    QTest::keyClick(box, Qt::Key_Left);
    EXPECT_EQ(box->cursorPosition(), 1);
    QTest::keyClick(box, Qt::Key_X);
    EXPECT_EQ(box->text(), QStringLiteral("12"));
    EXPECT_EQ(FocusedRow(), 1);
}

TEST_F(ProblemList, ClickingARowEasesItIntoTheBand)
{
    Open(10);
    GoTo(5);
    QTest::mouseClick(form.txtVysl(7), Qt::LeftButton);
    EXPECT_EQ(FocusedRow(), 7);
    EXPECT_EQ(form.state().ScrollTarget, -220);
    ASSERT_GE(EaseToRest(form), 0);
    EXPECT_EQ(List(form)->topF(), -220.0F);
}

TEST_F(ProblemList, LeavingTheWindowAndComingBackIsNoChangeOfRow)
{
    Open(10);
    GoTo(4);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(FocusedRow(), 4);
    EXPECT_FALSE(Timer1(form)->isActive());

    // Away to a button and back is a real change and eases again.
    Find<QWidget>(form, QStringLiteral("Command1"))->setFocus();
    GoTo(8);
    form.txtVysl(4)->setFocus();
    EXPECT_TRUE(Timer1(form)->isActive());
    EXPECT_EQ(form.state().ScrollTarget, -88);
}

TEST_F(ProblemList, AnswerBoxesTakeDigitsOnly)
{
    Open(3);
    QTest::keyClicks(form.txtVysl(2), QStringLiteral("4x-2.5,678"));
    EXPECT_EQ(form.txtVysl(2)->text(), QStringLiteral("42567"));
}

TEST_F(ProblemList, AllNineHundredNinetyNineRowsCanBeReached)
{
    Open(999);
    ASSERT_EQ(form.rowCount(), 999);
    EXPECT_EQ(List(form)->height(), 44002);
    EXPECT_EQ(form.lblPrikl(999)->y(), 43934);

    QTest::keyClick(form.txtVysl(1), Qt::Key_End);
    EXPECT_EQ(FocusedRow(), 999);
    EXPECT_EQ(form.state().ScrollTarget, -43868);
    ASSERT_GE(EaseToRest(form), 0);
    EXPECT_EQ(List(form)->topF(), -43868.0F);
    EXPECT_EQ(form.txtVysl(999)->mapTo(Find<QWidget>(form, QStringLiteral("Picture1")), QPoint()).y(),
              66);

    QTest::keyClick(form.txtVysl(999), Qt::Key_PageUp);
    EXPECT_EQ(FocusedRow(), 995);
    EXPECT_EQ(form.state().ScrollTarget, 88 - 44 * 995);
}

TEST_F(ProblemList, RowsAreRemovedAndRebuiltAfresh)
{
    Open(10);
    form.RemoveRows();
    EXPECT_EQ(form.rowCount(), 0);
    EXPECT_EQ(List(form)->findChildren<QLineEdit*>().size(), 1);
    EXPECT_EQ(List(form)->findChildren<QLabel*>().size(), 1);

    StartExercise(form, 4);
    EXPECT_EQ(form.rowCount(), 4);
    StartExercise(form, 2); // a second build without removal still leaves one row per index
    EXPECT_EQ(form.rowCount(), 2);
    EXPECT_EQ(List(form)->findChildren<QLineEdit*>().size(), 3);
    EXPECT_EQ(form.findChildren<QLineEdit*>(QStringLiteral("txtVysl(2)")).size(), 1);
    EXPECT_EQ(FocusedRow(), 1);
}

// Counts the paint events one control receives.
struct PaintCounter : QObject {
    int count = 0;
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

TEST_F(ProblemList, RepaintingTheWindowRedrawsTheListAndItsRows)
{
    // The slides repaint the window after every step; that must reach every panel, not only
    // the window's own background.
    Open(10);
    ASSERT_GE(EaseToRest(form), 0);
    PaintCounter list;
    PaintCounter row;
    List(form)->installEventFilter(&list);
    form.lblPrikl(1)->installEventFilter(&row);
    form.repaint();
    EXPECT_EQ(list.count, 1);
    EXPECT_EQ(row.count, 1);
}

TEST(ProblemListAtRest, EasingStopsOnceTheParkedListIsStill)
{
    // Before the first exercise the hidden list eases toward 0 and then lets the timer rest.
    Form1 form(1);
    EXPECT_TRUE(Timer1(form)->isActive());
    EXPECT_EQ(Timer1(form)->interval(), 5);
    ASSERT_GE(EaseToRest(form), 0);
    EXPECT_EQ(List(form)->topF(), 0.0F);
    EXPECT_FALSE(List(form)->isVisibleTo(&form));
}

} // namespace
} // namespace window::test

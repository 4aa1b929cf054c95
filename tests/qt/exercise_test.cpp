// One whole exercise through real keys and clicks, as a pupil does it: keys and focus reaching
// their row, the answers marked, the results toggled and "Znovu".

#include "test_window.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace qtui::test {
namespace {

using form::Id;

QColor TextColourOf(QLineEdit* box) { return box->palette().color(QPalette::Text); }

TEST(Exercise, KeysAnswersFinishResultsAndZnovu)
{
    TestWindow w;
    // Enter on the focused "Start" starts.
    ASSERT_EQ(QApplication::focusWidget(), w.widget({Id::Command3}));
    QTest::keyClick(w.widget({Id::Command3}), Qt::Key_Return);
    w.settle();
    ASSERT_EQ(w.form().RowCount(), 10);

    QTest::keyClick(w.box(1), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), w.box(2));
    QTest::keyClick(w.box(2), Qt::Key_End);
    EXPECT_EQ(QApplication::focusWidget(), w.box(10));
    QTest::keyClick(w.box(10), Qt::Key_PageUp);
    EXPECT_EQ(QApplication::focusWidget(), w.box(6));
    QTest::mouseClick(w.box(7), Qt::LeftButton);
    EXPECT_EQ(w.form().State().ScrollTarget, 88 - 44 * 7);
    QTest::keyClick(w.box(10), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w.widget({Id::Picture4})) << "Tab goes where Form1 says: the clock";
    QTest::keyClick(w.widget({Id::Picture4}), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), w.box(10));

    // Rows 1 to 3 wrong, 4 and 5 empty, the rest right; Enter after each.
    QTest::mouseClick(w.box(1), Qt::LeftButton);
    for (int row = 1; row <= 10; ++row) {
        ASSERT_EQ(QApplication::focusWidget(), w.box(row));
        if (row <= 3)
            QTest::keyClicks(w.box(row), QString::number(w.result(row) + 1));
        else if (row > 5)
            QTest::keyClicks(w.box(row), QString::number(w.result(row)));
        QTest::keyClick(w.box(row), Qt::Key_Return);
    }
    // Space presses "Hotovo!".
    QTest::keyClick(w.box(10), Qt::Key_Tab);
    QTest::keyClick(w.widget({Id::Picture4}), Qt::Key_Tab);
    QTest::keyClick(w.widget({Id::Command1}), Qt::Key_Space);
    w.settle();
    auto caption = [&](Id label) { return w.get<QLabel>({label})->text(); };
    EXPECT_EQ(caption(Id::Label10) + caption(Id::Label11) + caption(Id::Label12), QStringLiteral("005003002"));
    EXPECT_EQ(caption(Id::lblZnamka), QStringLiteral("3"));
    EXPECT_EQ(TextColourOf(w.box(2)), QColor(255, 0, 0));
    EXPECT_TRUE(w.box(2)->font().strikeOut());
    EXPECT_EQ(w.box(4)->text(), QStringLiteral("?"));
    EXPECT_EQ(TextColourOf(w.box(4)), QColor(255, 64, 64));
    EXPECT_EQ(TextColourOf(w.box(6)), QColor(0, 0, 128));
    EXPECT_FALSE(w.box(6)->font().strikeOut());
    EXPECT_TRUE(w.box(6)->isReadOnly());
    QTest::keyClicks(w.box(6), QStringLiteral("9"));
    EXPECT_EQ(w.box(6)->text(), QString::number(w.result(6))) << "a locked box took a key";

    auto* toggle = w.get<QPushButton>({Id::Command2});
    ASSERT_TRUE(toggle->isVisible());
    w.click(Id::Command2);
    EXPECT_EQ(toggle->text(), QStringLiteral("Příklady"));
    EXPECT_EQ(w.widget({Id::Picture5})->pos(), QPoint(5, 5));
    w.click(Id::Command2);
    EXPECT_EQ(toggle->text(), QStringLiteral("Známka"));
    w.click(Id::Command2);
    w.click(Id::Command4);
    EXPECT_TRUE(w.widget({Id::Picture7})->isVisible());
    EXPECT_FALSE(toggle->isVisible());
    EXPECT_EQ(w.findChildren<QLineEdit*>().size(), 9) << "eight settings boxes and the template";
    EXPECT_EQ(QApplication::focusWidget(), w.widget({Id::Command3}));
}

} // namespace
} // namespace qtui::test

// One whole exercise through real clicks and keys, as a pupil does it, and what it shows.

#include "test_window.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace qtui::test {
namespace {

using form::Id;

QColor TextColourOf(QLineEdit* box) { return box->palette().color(QPalette::Text); }

TEST(Exercise, StartAnswerFinishResultsAndZnovu)
{
    TestWindow w;
    w.click(Id::Command3);
    ASSERT_EQ(w.form().RowCount(), 10);
    // Rows 1 to 3 wrong, 4 and 5 empty, the rest right; Enter after each.
    for (int row = 1; row <= 10; ++row) {
        ASSERT_EQ(QApplication::focusWidget(), w.box(row));
        if (row <= 3)
            QTest::keyClicks(w.box(row), QString::number(w.result(row) + 1));
        else if (row > 5)
            QTest::keyClicks(w.box(row), QString::number(w.result(row)));
        QTest::keyClick(w.box(row), Qt::Key_Return);
    }
    w.click(Id::Command1);
    auto caption = [&](Id label) { return w.get<QLabel>({label})->text(); };
    EXPECT_EQ(caption(Id::Label10), QStringLiteral("005"));
    EXPECT_EQ(caption(Id::Label11), QStringLiteral("003"));
    EXPECT_EQ(caption(Id::Label12), QStringLiteral("002"));
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

// Pictures of the start screen and the exercise screen for the documentation. Disabled in
// ordinary runs because it wants a real display; tests/window/take-screenshots.sh runs it
// under Xvfb.

#include "window_test_support.h"

#include "window/pacer.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTest>

namespace window::test {
namespace {

QString ScreenshotDir()
{
    const QString dir = qEnvironmentVariable("SUMATKO_SCREENSHOTS", QStringLiteral("docs/screenshots"));
    QDir().mkpath(dir);
    return dir;
}

// The exercise screen as "Start" leaves it; the pacer never waits, so the slides are over.
void ShowExercise(Form1& form, int count)
{
    Find<QLineEdit>(form, QStringLiteral("Text1"))->setText(QString::number(count));
    QTest::mouseClick(Find<QPushButton>(form, QStringLiteral("Command3")), Qt::LeftButton);
    ASSERT_EQ(form.rowCount(), count);
    ASSERT_GE(EaseToRest(form), 0);
}

TEST(Screenshots, DISABLED_StartAndExerciseScreens)
{
    const QString dir = ScreenshotDir();
    {
        Form1 form(2001);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        EXPECT_TRUE(form.grab().save(dir + QStringLiteral("/start.png")));
    }
    {
        Form1 form(2001, std::make_unique<InstantPacer>());
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        ShowExercise(form, 10);
        QTest::keyClicks(form.txtVysl(1), QStringLiteral("12"));
        EXPECT_TRUE(form.grab().save(dir + QStringLiteral("/exercise-10.png")));
    }
    {
        Form1 form(2001, std::make_unique<InstantPacer>());
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        ShowExercise(form, 999);
        QTest::keyClick(form.txtVysl(1), Qt::Key_End);
        ASSERT_GE(EaseToRest(form), 0);
        EXPECT_TRUE(form.grab().save(dir + QStringLiteral("/exercise-999.png")));
    }
}

// The marked list and the results screen, reached through the real buttons. The pacer never
// waits, so the shots show where each sequence comes to rest.
TEST(Screenshots, DISABLED_MarkedListAndResults)
{
    const QString dir = ScreenshotDir();
    Form1 form(2001, std::make_unique<InstantPacer>());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(Find<QPushButton>(form, QStringLiteral("Command3")), Qt::LeftButton);
    ASSERT_EQ(form.rowCount(), 10);
    // Rows 1 and 2 right, row 3 wrong, row 4 empty, and so on.
    for (int row = 1; row <= 10; ++row) {
        const int result = form.state().Problems[static_cast<std::size_t>(row)].Result;
        if (row % 4 == 3)
            QTest::keyClicks(form.txtVysl(row), QString::number(result + 1));
        else if (row % 4 != 0)
            QTest::keyClicks(form.txtVysl(row), QString::number(result));
    }
    QTest::mouseClick(Find<QPushButton>(form, QStringLiteral("Command1")), Qt::LeftButton);
    ASSERT_GE(EaseToRest(form), 0);
    // A virtual display without a window manager never activates the window, so no key
    // would move the focus: the row is brought into the band directly.
    form.txtVysl_GotFocus(3);
    ASSERT_GE(EaseToRest(form), 0);
    EXPECT_TRUE(form.grab().save(dir + QStringLiteral("/marked.png")));

    QTest::mouseClick(Find<QPushButton>(form, QStringLiteral("Command2")), Qt::LeftButton);
    EXPECT_TRUE(form.grab().save(dir + QStringLiteral("/results.png")));
}

} // namespace
} // namespace window::test

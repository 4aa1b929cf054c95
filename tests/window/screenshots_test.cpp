// Pictures of the start screen and the exercise screen for the documentation. Disabled in
// ordinary runs because it wants a real display; tests/window/take-screenshots.sh runs it
// under Xvfb.

#include "window_test_support.h"

#include <QDir>
#include <QTest>

namespace window::test {
namespace {

QString ScreenshotDir()
{
    const QString dir = qEnvironmentVariable("SUMATKO_SCREENSHOTS", QStringLiteral("docs/screenshots"));
    QDir().mkpath(dir);
    return dir;
}

void ShowExercise(Form1& form, int count)
{
    StartExercise(form, count);
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
        Form1 form(2001);
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        ShowExercise(form, 10);
        QTest::keyClicks(form.txtVysl(1), QStringLiteral("12"));
        EXPECT_TRUE(form.grab().save(dir + QStringLiteral("/exercise-10.png")));
    }
    {
        Form1 form(2001);
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        ShowExercise(form, 999);
        QTest::keyClick(form.txtVysl(1), Qt::Key_End);
        ASSERT_GE(EaseToRest(form), 0);
        EXPECT_TRUE(form.grab().save(dir + QStringLiteral("/exercise-999.png")));
    }
}

} // namespace
} // namespace window::test

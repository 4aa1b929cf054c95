// Memory over many exercises: 50 full exercises of 999 rows through one window (Start, some
// answers, "Hotovo!", "Známka", "Znovu"), with a pacer that never waits. The first exercises
// warm up caches of fonts, styles and the allocator; what the resident set still gains between
// exercise 10 and exercise 50 is what each exercise leaves behind. Runs on the offscreen
// platform unless QT_QPA_PLATFORM says otherwise; prints "name: value unit" lines.

#include "window/form1.h"
#include "window/pacer.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>

namespace {

constexpr int kExercises = 50;
constexpr int kWarmUp = 10;
constexpr int kRows = 999;
// Typing into every row would make the figure take minutes; a typed answer every 20th row
// still gives the finish correct, wrong and empty boxes to mark.
constexpr int kTypedEvery = 20;

double ResidentMb()
{
    // statm: size, resident, ... in pages.
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void Click(window::Form1& form, const char* name)
{
    QTest::mouseClick(form.findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    QCoreApplication::processEvents();
}

bool RunExercise(window::Form1& form, int exercise)
{
    Click(form, "Command3");
    if (form.rowCount() != kRows)
        return false;
    for (int row = kTypedEvery; row <= kRows; row += kTypedEvery) {
        const int result = form.state().Problems[static_cast<std::size_t>(row)].Result;
        const bool right = (row / kTypedEvery + exercise) % 2 == 0 && result >= 0;
        QTest::keyClicks(form.txtVysl(row), QString::number(right ? result : (result < 0 ? -result : result) + 1));
    }
    Click(form, "Command1");
    Click(form, "Command2");
    Click(form, "Command4");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return form.rowCount() == 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    window::SetUpApplication(app);

    window::Form1 form(2001, std::make_unique<window::InstantPacer>());
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        std::fprintf(stderr, "the window did not show\n");
        return 1;
    }
    form.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QString::number(kRows));
    // The clock must not end an exercise on its own.
    form.findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QStringLiteral("99999"));

    double afterWarmUp = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int exercise = 1; exercise <= kExercises; ++exercise) {
        if (!RunExercise(form, exercise)) {
            std::fprintf(stderr, "exercise %d did not run through\n", exercise);
            return 1;
        }
        if (exercise == kWarmUp)
            afterWarmUp = ResidentMb();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double atEnd = ResidentMb();

    std::printf("soak_rss_growth_mb: %.2f MB\n", atEnd - afterWarmUp);
    std::printf("soak_rss_mb: %.1f MB\n", atEnd);
    std::printf("soak_exercise_999_rows_ms: %.0f ms\n", seconds * 1000.0 / kExercises);
    return 0;
}

// Memory over many exercises: 50 full exercises of 999 rows through one window (Start, some
// answers, "Hotovo!", "Známka", "Znovu") with pauses that end at once. The first exercises
// warm up caches of fonts, styles and the allocator; what the resident set still gains between
// exercise 10 and exercise 50 is what each exercise leaves behind. Runs on the offscreen
// platform unless QT_QPA_PLATFORM says otherwise; prints "name: value unit" lines.

#include "qt/hurried_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>

namespace {

using form::Id;

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

void Click(qtui::Window& window, Id button)
{
    QTest::mouseClick(window.widget({button}), Qt::LeftButton);
    while (window.form().SequenceRunning())
        QCoreApplication::processEvents();
}

bool RunExercise(qtui::Window& window, int exercise)
{
    Click(window, Id::Command3);
    if (window.form().RowCount() != kRows)
        return false;
    for (int row = kTypedEvery; row <= kRows; row += kTypedEvery) {
        const int result = window.form().State().Problems[static_cast<std::size_t>(row)].Result;
        const bool right = (row / kTypedEvery + exercise) % 2 == 0 && result >= 0;
        QTest::keyClicks(window.widget({Id::txtVysl, row}),
                         QString::number(right ? result : (result < 0 ? -result : result) + 1));
    }
    Click(window, Id::Command1);
    Click(window, Id::Command2);
    Click(window, Id::Command4);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Every row's widgets are gone again: only the templates and the settings boxes are left.
    return window.form().RowCount() == 0 && window.findChildren<QLineEdit*>().size() == 9;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qtui::SetUpApplication(app);

    qtui::HurriedWindow window(2001);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window did not show\n");
        return 1;
    }
    static_cast<QLineEdit*>(window.widget({Id::Text1}))->setText(QString::number(kRows));
    // The clock must not end an exercise on its own.
    static_cast<QLineEdit*>(window.widget({Id::Text2}))->setText(QStringLiteral("99999"));

    double afterWarmUp = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int exercise = 1; exercise <= kExercises; ++exercise) {
        if (!RunExercise(window, exercise)) {
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

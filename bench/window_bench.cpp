// Figures for the window: building the 999-row list, the memory it takes, and one repaint of
// the window with the list shown. Runs on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise; prints "name: value unit" lines.

#include "qt/hurried_window.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QTest>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using form::Id;

double MsSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Remembers when the last pause of "Start" ended: what follows is reading the settings and
// building the list.
class Timed : public qtui::HurriedWindow {
public:
    using HurriedWindow::HurriedWindow;
    void StartPause(Clock::time_point deadline) override
    {
        lastPause = Clock::now();
        HurriedWindow::StartPause(deadline);
    }
    Clock::time_point lastPause{};
};

std::unique_ptr<Timed> ReadyWindow(int count)
{
    auto window = std::make_unique<Timed>(2001);
    static_cast<QLineEdit*>(window->widget({Id::Text1}))->setText(QString::number(count));
    window->show();
    QTest::qWaitForWindowExposed(window.get());
    return window;
}

// "Start", then the first paint that shows the list; the time from the end of the slides.
double StartMs(Timed& window)
{
    window.form().Clicked({Id::Command3});
    while (window.form().SequenceRunning())
        QCoreApplication::processEvents();
    window.repaint();
    return std::chrono::duration<double, std::milli>(Clock::now() - window.lastPause).count();
}

// A repaint that skipped the list would measure nothing; this counts that it was drawn.
struct PaintCounter : QObject {
    int count = 0;
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        count += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qtui::SetUpApplication(app);

    constexpr int kRows = 999;
    std::vector<double> build;
    for (int run = 0; run < 9; ++run)
        build.push_back(StartMs(*ReadyWindow(kRows)));

    auto window = ReadyWindow(kRows);
    StartMs(*window);
    while (window->form().TimerEnabled(Id::Timer1))
        window->form().Timer(Id::Timer1);
    constexpr int kRepaints = 200;
    window->repaint();
    PaintCounter listPaints;
    window->widget({Id::Picture2})->installEventFilter(&listPaints);
    const auto paintStart = Clock::now();
    for (int i = 0; i < kRepaints; ++i)
        window->repaint();
    const double repaint = MsSince(paintStart) / kRepaints;
    if (listPaints.count < kRepaints)
        std::fprintf(stderr, "warning: the list was painted %d times in %d repaints\n", listPaints.count, kRepaints);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("build_999_rows_ms: %.1f ms\n", Median(build));
    std::printf("repaint_999_rows_ms: %.3f ms\n", repaint);
    std::printf("peak_rss_999_rows_mb: %.1f MB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}

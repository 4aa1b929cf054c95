// Figures for the window: building the 999-row list, the memory it takes, and one repaint of
// the window with the list shown. Runs on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise; prints "name: value unit" lines.

#include "drill/settings.h"
#include "window/form1.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <variant>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A fresh window on the exercise screen with the count box set, ready for "Start".
std::unique_ptr<window::Form1> ReadyWindow(int count)
{
    auto form = std::make_unique<window::Form1>(2001);
    form->findChild<QWidget*>(QStringLiteral("Picture7"))->hide();
    form->findChild<QWidget*>(QStringLiteral("Picture6"))->hide();
    form->findChild<QWidget*>(QStringLiteral("Picture1"))->show();
    form->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QString::number(count));
    form->show();
    QApplication::processEvents();
    return form;
}

// What "Start" does once the slides are over: read the settings, build the list; then the
// first paint that shows it.
void Start(window::Form1& form)
{
    const drill::SettingsVerdict verdict = drill::CheckSettings(form.settingsInput());
    drill::ReadSettings(form.state(), std::get<drill::Settings>(verdict));
    form.VymysliPriklady();
}

// A repaint that skipped the list would measure nothing; this counts that it was drawn.
struct PaintCounter : QObject {
    int count = 0;
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

void EaseToRest(window::Form1& form)
{
    auto* timer = form.findChild<QTimer*>(QStringLiteral("Timer1"));
    while (timer->isActive())
        form.Timer1_Timer();
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    window::SetUpApplication(app);

    constexpr int kRows = 999;
    constexpr int kRuns = 9;
    std::vector<double> build, buildShown, remove;
    for (int run = 0; run < kRuns; ++run) {
        auto form = ReadyWindow(kRows);
        const auto start = Clock::now();
        Start(*form);
        build.push_back(MsSince(start));
        form->repaint();
        buildShown.push_back(MsSince(start));

        const auto removeStart = Clock::now();
        form->RemoveRows();
        remove.push_back(MsSince(removeStart));
    }

    auto form = ReadyWindow(kRows);
    Start(*form);
    EaseToRest(*form);
    constexpr int kRepaints = 200;
    form->repaint();
    PaintCounter listPaints;
    form->findChild<QWidget*>(QStringLiteral("Picture2"))->installEventFilter(&listPaints);
    const auto paintStart = Clock::now();
    for (int i = 0; i < kRepaints; ++i)
        form->repaint();
    const double repaint = MsSince(paintStart) / kRepaints;
    if (listPaints.count < kRepaints)
        std::fprintf(stderr, "warning: the list was painted %d times in %d repaints\n",
                     listPaints.count, kRepaints);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);

    std::printf("build_999_rows_ms: %.1f ms\n", Median(buildShown));
    std::printf("build_999_rows_no_paint_ms: %.1f ms\n", Median(build));
    std::printf("remove_999_rows_ms: %.1f ms\n", Median(remove));
    std::printf("repaint_999_rows_ms: %.3f ms\n", repaint);
    std::printf("peak_rss_999_rows_mb: %.1f MB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}

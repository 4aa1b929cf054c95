// Wall time of the Start transition and of the whole finish with 10 and 999 rows, each divided
// by its nominal time (the sum of its pauses). Meant for the real xcb platform under Xvfb, where
// every step is painted; prints "name: value unit" lines.

#include "qt/window.h"

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QTest>

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

// Clicks a button and waits, with the event loop running, until the sequence it starts ends.
double ClickAndWaitMs(qtui::Window& window, form::Id button)
{
    QEventLoop loop;
    QObject::connect(&window, &qtui::Window::sequenceFinished, &loop, &QEventLoop::quit);
    const auto start = Clock::now();
    QTest::mouseClick(window.widget({button}), Qt::LeftButton);
    if (window.form().SequenceRunning())
        loop.exec();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

constexpr double kStartNominalMs = (8 + 11) * 50.0;

double FinishNominalMs(int rows) { return 1000.0 + rows * 6 * 10.0 + 1500.0; }

struct Ratios {
    double Start;
    double Finish;
};

Ratios Run(int rows)
{
    qtui::Window window(2001);
    static_cast<QLineEdit*>(window.widget({form::Id::Text1}))->setText(QString::number(rows));
    window.show();
    QTest::qWaitForWindowExposed(&window);
    const double start = ClickAndWaitMs(window, form::Id::Command3);
    const double finish = ClickAndWaitMs(window, form::Id::Command1);
    return {start / kStartNominalMs, finish / FinishNominalMs(rows)};
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    qtui::SetUpApplication(app);
    const Ratios ten = Run(10);
    std::printf("slide_ratio: %.4f x\n", ten.Start);
    std::printf("finish_ratio_10: %.4f x\n", ten.Finish);
    const Ratios many = Run(999);
    std::printf("finish_ratio_999: %.4f x\n", many.Finish);
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    return 0;
}

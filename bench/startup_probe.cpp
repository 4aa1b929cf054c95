// Starts either the program's window (as app/main_qt.cpp does) or a bare Qt Widgets window, and
// prints the moment its first frame has been painted and flushed (steady clock, nanoseconds), then
// quits. startup_bench subtracts the moment it started the process.

#include "qt/window.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

class FirstFrame : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // The children paint and the backing store flushes in the same pass; the next turn of
            // the event loop sees the whole frame on the display.
            QTimer::singleShot(0, qApp, [] {
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                std::printf("%lld\n", static_cast<long long>(std::chrono::nanoseconds(now).count()));
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen_ = false;
};

} // namespace

int main(int argc, char* argv[])
{
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    std::jthread fonts;
    if (!bare)
        fonts = qtui::ReadFontConfiguration();
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> shown;
    if (bare) {
        shown = std::make_unique<QWidget>();
        shown->resize(520, 243);
    } else {
        fonts.join();
        qtui::SetUpApplication(app);
        shown = std::make_unique<qtui::Window>();
    }
    FirstFrame firstFrame;
    shown->installEventFilter(&firstFrame);
    shown->show();
    return app.exec();
}

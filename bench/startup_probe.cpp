// Starts either the program's window (as app/main.cpp does) or a minimal Qt Widgets window,
// and exits as soon as that window has painted its first frame. startup_bench times whole runs.

#include "qt/window.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <cstring>
#include <memory>

namespace {

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen_ = false;
};

} // namespace

int main(int argc, char* argv[])
{
    const bool minimal = argc > 1 && std::strcmp(argv[1], "minimal") == 0;
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> shown;
    if (minimal) {
        shown = std::make_unique<QWidget>();
        shown->resize(520, 243);
    } else {
        qtui::SetUpApplication(app);
        shown = std::make_unique<qtui::Window>();
    }
    FirstPaint firstPaint;
    shown->installEventFilter(&firstPaint);
    shown->show();
    return app.exec();
}

#include "qt/window.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr char kNoDisplay[] = "Sumatko 2001 se nemůže spustit, protože nenašlo obrazovku, na které by ukázalo "
                              "své okno. / Sumatko 2001 cannot start: it found no display to show its window on.\n";

// While the application object is made, Qt's complaints about a missing or unreachable display
// give way to one sentence the user can act on, and a plain failure instead of an abort.
void StartUpMessages(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type == QtFatalMsg) {
        std::fputs(kNoDisplay, stderr);
        std::_Exit(EXIT_FAILURE);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fputs(kNoDisplay, stderr);
        return EXIT_FAILURE;
    }
    std::jthread fonts = qtui::ReadFontConfiguration();
    const QtMessageHandler previous = qInstallMessageHandler(StartUpMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);
    fonts.join();
    qtui::SetUpApplication(app);
    qtui::Window window;
    window.show();
    return app.exec();
}

#include "app/desktop.h"
#include "qt/window.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr char kNoDisplay[] = "Sumatko 2001 se nemůže spustit, protože nenašlo obrazovku, na které by ukázalo "
                              "své okno. / Sumatko 2001 cannot start: it found no display to show its window on.\n";

constexpr char kSchoolFile[] = "/etc/xdg/sumatko2001/cviceni (nebo v jiné složce z $XDG_CONFIG_DIRS)";

// While the application object is made, Qt's complaints about a missing or unreachable display
// give way to one sentence the user can act on, and a plain failure instead of an abort.
void StartUpMessages(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type == QtFatalMsg) {
        std::fputs(kNoDisplay, stderr);
        std::_Exit(EXIT_FAILURE);
    }
}

// The school's exercise, which the school's administrator installs for every user: the first
// sumatko2001/cviceni of the system's configuration folders. A user's own folder is not asked,
// or a pupil could set aside a locked exercise.
std::optional<std::string> SchoolExercise()
{
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    const std::string list = dirs != nullptr && *dirs != '\0' ? dirs : "/etc/xdg";
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t end = std::min(list.find(':', start), list.size());
        if (end > start)
            if (auto text = app::ReadExerciseFile(list.substr(start, end - start) + "/sumatko2001/cviceni"))
                return text;
        start = end + 1;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[])
{
    const app::Options options = app::ReadOptions(std::vector<std::string>(argv + 1, argv + argc));
    switch (options.What) {
    case app::Options::Action::Help:
        std::fputs(app::HelpText(kSchoolFile).c_str(), stdout);
        return EXIT_SUCCESS;
    case app::Options::Action::Version:
        std::fputs(app::kVersionText.data(), stdout);
        return EXIT_SUCCESS;
    case app::Options::Action::Refuse:
        std::fprintf(stderr, "%s\n", options.Problem.c_str());
        return 2;
    case app::Options::Action::MergeResults:
        return app::PrintResults(options.ResultsFolder, [](const std::string& text, bool error) {
            std::fputs(text.c_str(), error ? stderr : stdout);
        });
    case app::Options::Action::Run:
        break;
    }
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
    // The exercise: the command line's, else the school's, else the settings as they are.
    app::Classroom classroom(window.form(), options.Exercise ? options.Exercise : SchoolExercise());
    window.show();
    classroom.WindowShown();
    return app.exec();
}

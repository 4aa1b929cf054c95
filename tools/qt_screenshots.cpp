// Pictures of every screen for the documentation, from the real window with a fixed seed and a
// pupil played by this program: tools/take-screenshots runs it on a virtual display.
// Usage: qt_screenshots DIR [SUFFIX]; with a suffix only the start screen is saved, as
// DIR/start SUFFIX.png (for the same screen at another scale).

#include "drill/exercise_text.h"
#include "qt/hurried_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <memory>

namespace {

// The exercise of the teachers' screenshots, as a teacher would hand it out.
constexpr char kTeacher[] = "pocet=20&cas=300&cislo1=2..10&cislo2=2..10&vysledek=0..100"
                            "&operace=nasobeni,deleni&zamknout=ano";


// Every pause is over at once, so each shot shows where a sequence comes to rest.
using Hurried = qtui::HurriedWindow;

using form::Control;
using form::Id;

// An exercise is shot in the active window, as the pupil sees it: with the focus drawn.
bool Shown(qtui::Window& window, bool active = true)
{
    window.show();
    if (!active)
        return QTest::qWaitForWindowExposed(&window);
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

void Settle(qtui::Window& window)
{
    while (window.form().SequenceRunning())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    while (window.form().TimerEnabled(Id::Timer1))
        window.form().Timer(Id::Timer1);
}

void Click(qtui::Window& window, Id button)
{
    QTest::mouseClick(window.widget({button}), Qt::LeftButton);
    Settle(window);
}

bool Save(qtui::Window& window, const QString& path)
{
    QCoreApplication::processEvents();
    const bool saved = window.grab().save(path);
    std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(path));
    return saved;
}

void Type(qtui::Window& window, Control box, const QString& text) { QTest::keyClicks(window.widget(box), text); }

int Result(qtui::Window& window, int row)
{
    return window.form().State().Problems[static_cast<std::size_t>(row)].Result;
}

bool Exercise(const QString& dir, int rows)
{
    Hurried window(2001);
    if (!Shown(window))
        return false;
    static_cast<QLineEdit*>(window.widget({Id::Text1}))->setText(QString::number(rows));
    Click(window, Id::Command3);
    if (rows == 999) {
        window.form().KeyDown({Id::txtVysl, 1}, form::keys::End, 0);
        Settle(window);
        return Save(window, dir + QStringLiteral("/exercise-999.png"));
    }
    Type(window, {Id::txtVysl, 1}, QStringLiteral("12"));
    return Save(window, dir + QStringLiteral("/exercise-10.png"));
}

// The marks and the results are clearest without a focus frame: shot in an inactive window.
bool MarkedAndResults(const QString& dir)
{
    Hurried window(2001);
    if (!Shown(window, false))
        return false;
    Click(window, Id::Command3);
    // Rows 1 and 2 right, row 3 wrong, row 4 empty, and so on.
    for (int row = 1; row <= 10; ++row) {
        if (row % 4 == 3)
            Type(window, {Id::txtVysl, row}, QString::number(Result(window, row) + 1));
        else if (row % 4 != 0)
            Type(window, {Id::txtVysl, row}, QString::number(Result(window, row)));
    }
    Click(window, Id::Command1);
    window.form().GotFocus({Id::txtVysl, 3});
    Settle(window);
    if (!Save(window, dir + QStringLiteral("/marked.png")))
        return false;
    Click(window, Id::Command2);
    return Save(window, dir + QStringLiteral("/results.png"));
}

// A teacher's exercise, locked: the settings show the teacher's values and take no edits.
bool Teacher(const QString& dir)
{
    qtui::Window window(2001);
    window.form().ApplyExercise(drill::ReadExerciseText(kTeacher).Read);
    return Shown(window, false) && Save(window, dir + QStringLiteral("/teacher.png"));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    qtui::SetUpApplication(app);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DIR [SUFFIX]\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    qtui::Window start(2001);
    if (!Shown(start, false) || !Save(start, dir + QStringLiteral("/start%1.png").arg(argc > 2 ? argv[2] : "")))
        return 1;
    if (argc > 2)
        return 0;
    return Exercise(dir, 10) && Exercise(dir, 999) && MarkedAndResults(dir) && Teacher(dir) ? 0 : 1;
}

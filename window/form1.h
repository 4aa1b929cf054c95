#pragma once

#include "drill/drill_state.h"
#include "drill/marking.h"
#include "drill/random_source.h"
#include "drill/settings.h"
#include "window/pacer.h"

#include <QCoro/QCoroTask>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QApplication;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace drill {
struct Slide;
}

namespace window {

class Panel;

// Application-wide set-up: name and version, font substitutes, Czech texts of Qt's own
// dialogs and buttons, the window icon.
void SetUpApplication(QApplication& app);

// The one window. Each control's objectName is the name it has here ("Picture6", "txtVysl(3)"),
// and its handlers are named after control and event. The layout is built in form1_layout.cpp,
// the problem list lives in problem_list.cpp, the slides in transitions.cpp and the end of an
// exercise in finish.cpp; the clock is here.
class Form1 : public QWidget {
    Q_OBJECT
public:
    // Without a seed the random source starts from the seconds since midnight; without a
    // pacer every pause waits real time.
    explicit Form1(std::optional<std::uint32_t> seed = std::nullopt, std::unique_ptr<Pacer> pacer = nullptr,
                   QWidget* parent = nullptr);
    ~Form1() override;

    // The twelve values of the settings panel: Text1..Text8 and the states of Check1..Check4.
    drill::SettingsInput settingsInput() const;

    drill::DrillState& state() { return state_; }
    const drill::DrillState& state() const { return state_; }

    // Generates the problems of state().ProblemCount under state().Rules, builds one row per
    // problem, starts the clock and drops the list into place with the focus in row 1.
    void VymysliPriklady();
    // Removes every row; the two templates stay.
    void RemoveRows();
    // The highest row index present (0 when only the templates exist).
    int rowCount() const { return static_cast<int>(txtVysl_.size()) - 1; }
    QLineEdit* txtVysl(int index) const { return txtVysl_.at(static_cast<std::size_t>(index)); }
    QLabel* lblPrikl(int index) const { return lblPrikl_.at(static_cast<std::size_t>(index)); }

    // Handlers of the answer boxes and the easing timer.
    void txtVysl_GotFocus(int index);
    // Moves the focus for a navigation key (Enter, arrows, Page Up/Down, Home, End) and says
    // whether the key was one of them.
    bool txtVysl_KeyDown(int index, int key);
    void Timer1_Timer();

    // The countdown clock.
    void StartClock();
    void tmrCas_Timer();

    // Ends the exercise (called by "Hotovo!" and by the clock reaching zero): locks, scrolls
    // the list out, marks every answer and writes the counts and the grade.
    QCoro::Task<> JeHotovo();

    // Buttons: "Hotovo!", the "Známka"/"Příklady" toggle, "Start" and "Znovu".
    void Command1_Click();
    QCoro::Task<> Command2_Click();
    QCoro::Task<> Command3_Click();
    QCoro::Task<> Command4_Click();

    // True while a slide or the finish runs; input to the window is swallowed meanwhile.
    bool sequenceRunning() const { return sequenceRunning_; }

signals:
    void sequenceFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class InputBlocker;
    class Sequence;
    enum class Axis { Left, Top };

    void ConnectButtons();
    void Form_Load();
    QCoro::Task<bool> SlidePanel(Panel* panel, Axis axis, const drill::Slide& slide);
    QCoro::Task<bool> ToggleResults();
    void ShowRefusal(const drill::SettingsRefusal& refusal);
    static void ShowMark(QLineEdit* box, drill::AnswerMark mark);

    void BuildControls();
    void SetTabOrder();
    void CentreOnScreen();
    void KeepOutOfTaskbar();
    void AddRow(int index, const QString& caption);

    template <class T> T* Control(const QString& name) const;

    drill::DrillState state_;
    drill::RandomSource random_;
    std::unique_ptr<Pacer> pacer_;
    InputBlocker* inputBlocker_ = nullptr;
    bool sequenceRunning_ = false;
    // From the end of "Start" until the finish begins: the only time "Hotovo!" may act.
    bool exerciseRunning_ = false;

    // Set while a slide holds the list still; the easing then waits.
    bool easingHeld_ = false;
    // Row whose box last gained the focus for real; 0 once the focus has left the rows.
    int focusedRow_ = 0;
    bool removingRows_ = false;

    // Rows of the problem list; element 0 of each is the hidden template.
    std::vector<QLabel*> lblPrikl_;
    std::vector<QLineEdit*> txtVysl_;

    Panel* Picture1 = nullptr;
    Panel* Picture2 = nullptr;
    Panel* Picture3 = nullptr;
    Panel* Picture4 = nullptr;
    Panel* Picture5 = nullptr;
    Panel* Picture6 = nullptr;
    Panel* Picture7 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    std::array<QLineEdit*, 8> Text{};   // Text1..Text8
    std::array<QCheckBox*, 4> Check{};  // Check1..Check4
    QLabel* lblCas = nullptr;
    QLabel* lblSipka1 = nullptr;
    QLabel* lblSipka2 = nullptr;
    QLabel* lblZnamka = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QTimer* tmrCas = nullptr;
    QTimer* Timer1 = nullptr;
};

} // namespace window

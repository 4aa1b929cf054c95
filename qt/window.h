#pragma once

#include "form/form1.h"
#include "form/toolkit.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <cstdint>
#include <future>
#include <optional>
#include <thread>

class QApplication;
class QTimer;

namespace qtui {

class Announcer;

// Application-wide set-up: name and version, font substitutes, Czech texts of Qt's own
// dialogs and buttons, the window icon.
void SetUpApplication(QApplication& app);

// Reads the system's font configuration on another core while the application object connects
// to the display; join it before the window is made.
std::jthread ReadFontConfiguration();

// The window on Qt Widgets: it realises Form1's controls, input and time, and nothing else.
// Every widget's objectName is its control's name ("Picture6", "txtVysl(3)"). Its events,
// input and time are in window.cpp, what Form1 asks of its controls in toolkit.cpp, the
// desktop's niceties (centring, the task bar) in platform.cpp.
class Window : public QWidget, public form::Toolkit {
    Q_OBJECT
public:
    // Without a seed the random source starts from the seconds since midnight.
    explicit Window(std::optional<std::uint32_t> seed = std::nullopt, QWidget* parent = nullptr);
    ~Window() override;

    form::Form1& form() { return form_; }
    QWidget* widget(form::Control control) const { return widgets_[control]; }

    void Create(const form::ControlEntry& entry) override;
    void CreateRow(int index) override;
    void RemoveRow(int index) override;
    void SetPosition(form::Control control, float left, float top) override;
    void SetSize(form::Control control, float width, float height) override;
    void SetVisible(form::Control control, bool visible) override;
    void SetEnabled(form::Control control, bool enabled) override;
    void SetText(form::Control control, std::string_view text) override;
    std::string Text(form::Control control) const override;
    int Value(form::Control control) const override;
    void SetValue(form::Control control, int value) override;
    void SetTextColour(form::Control control, form::Rgb colour) override;
    void SetLocked(form::Control control, bool locked) override;
    void SetStrikeOut(form::Control control, bool strikeOut) override;
    void SetFocus(form::Control control) override;
    void SelectAll(form::Control box) override;
    void ClearFocus() override;
    void Announce(std::string_view message) override;
    void SetAccessibleName(form::Control control, std::string_view name) override;
    void SetAccessibleDescription(form::Control control, std::string_view description) override;
    std::int32_t TxtNumOnly(form::Control box, bool on, drill::AnswerRule rule) override;
    void StartTimer(form::Id timer, std::chrono::milliseconds interval) override;
    void StopTimer(form::Id timer) override;
    void ShowMessage(std::string_view message) override;
    void RepaintNow() override;
    Clock::time_point Now() const override;
    void StartPause(Clock::time_point deadline) override;

signals:
    // A slide or the finish has ended.
    void sequenceFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class InputBlocker;

    void Attach(QWidget* widget, form::Control control);
    void PauseDue();
    void CentreOnScreen();
    void KeepOutOfTaskbar();

    form::Form1 form_;
    form::ControlMap<QWidget*> widgets_{nullptr};
    std::array<QTimer*, form::kControlCount> timers_{};
    QTimer* pause_;
    InputBlocker* inputBlocker_;
    Announcer* announcer_;
    QWidget* focusSink_;
    std::future<QImage> title_;
};

} // namespace qtui

#pragma once

#include "form/form1.h"
#include "form/toolkit.h"

#include <emscripten/val.h>

#include <array>
#include <optional>
#include <vector>

namespace web {

// Form1's toolkit in a web page: every control is a native element inside the window's element
// (#Form1, one application for a screen reader): panels are fieldsets that clip, labels spans,
// text boxes inputs, check boxes checkbox inputs in their label, buttons buttons (markup.h). The
// page holds them already, as the window stands once loaded; Create takes each one over. Form1
// owns every position; the page's script (page.js) scales the whole window to the screen and
// reports the pupil's input through the functions bound in page.cpp, and puts what an answer box
// is given through the box's rule. Time comes from the browser's timers.
class Page final : public form::Toolkit {
public:
    Page();
    ~Page() override;
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    // The window reports to this Form1 from now on.
    void Attach(form::Form1& form) { form_ = &form; }
    // The page's address after its '#': a teacher's exercise, when one is shared. Shown anew, it
    // replaces the address without a new entry in the history and without loading the page.
    std::string Fragment() const;
    void ShowFragment(std::string_view fragment);

    // What the page's script reports.
    void Clicked(form::Control control);
    bool KeyDown(form::Control control, int key, int shift);
    void GotFocus(form::Control control);
    void MessageDismissed();
    void Unload();
    // While a pause runs the window takes no clicks, keys or wheel turns.
    bool Pausing() const { return pausing_; }

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
    Clock::time_point Now() const override { return Clock::now(); }
    void StartPause(Clock::time_point deadline) override;

private:
    struct Timer {
        Page* page = nullptr;
        form::Id id{};
        long handle = 0; // setInterval's, 0 while stopped
    };

    emscripten::val Adopt(const form::ControlEntry& entry);
    emscripten::val& Element(form::Control control);
    const emscripten::val& Element(form::Control control) const;
    // What takes the focus: the control's element, or a check box's box.
    emscripten::val Focusable(form::Control control) const;
    void SetAccessibleName(emscripten::val& element, form::Kind type, std::string_view name);
    void PauseDue();

    form::Form1* form_ = nullptr;
    emscripten::val document_;
    emscripten::val announcer_;
    form::ControlMap<emscripten::val> elements_;
    std::array<Timer, form::kControlCount> timers_{};
    bool pausing_ = false;
    long pauseHandle_ = 0;
};

} // namespace web

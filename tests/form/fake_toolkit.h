#pragma once

// A toolkit that draws nothing and remembers everything: what Form1 asked of each control, the
// pauses it waits for and the timers it runs. Time stands still until a test moves it.

#include "form/form1.h"
#include "form/toolkit.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace form::test {

struct FakeControl {
    ControlEntry Entry{};
    float Left = 0, Top = 0, Width = 0, Height = 0;
    bool Visible = true, Enabled = true, Locked = false, StrikeOut = false, AllSelected = false;
    std::optional<drill::AnswerRule> Rule{};
    std::string Text{}, AccessibleName{}, AccessibleDescription{};
    std::optional<Rgb> Fore{};
    int Value = 0;
};

struct Move {
    std::string Name;
    float Left, Top;
};

class FakeToolkit : public Toolkit {
public:
    Form1* form = nullptr; // told of focus changes, as a real toolkit would
    std::map<std::string, FakeControl> controls;
    std::vector<Move> moves;
    std::vector<Clock::time_point> deadlines; // every pause asked for, in order
    std::optional<Clock::time_point> pending;
    std::map<Id, std::chrono::milliseconds> timers; // running timers and their intervals
    std::optional<Control> focus;
    std::vector<std::string> announced;
    std::string refusal;
    int repaints = 0;
    Clock::time_point now{};

    FakeControl& at(Control c) { return controls.at(Name(c)); } // throws for a control never created
    const FakeControl& at(Control c) const { return controls.at(Name(c)); }

    // What the pupil does with the keyboard in a box: the toolkit keeps a locked box as it is,
    // and a box with an input rule takes what the rule lets in.
    bool type(Control c, const std::string& text)
    {
        FakeControl& box = at(c);
        if (box.Locked)
            return false;
        for (Control in = c; in.Which != Id::Form1; in = {form::Entry(in.Which).Container})
            if (!at(in).Enabled || !at(in).Visible)
                return false;
        const int limit = box.Entry.MaxLength;
        box.Text = box.Rule ? drill::AcceptedInsertion(*box.Rule, "", 0, 0, text)
                            : text.substr(0, limit > 0 ? static_cast<std::size_t>(limit) : text.size());
        box.AllSelected = false;
        return true;
    }

    // Lets time run to the next deadline and resumes the waiting sequence; false when none waits.
    bool step()
    {
        if (!pending)
            return false;
        now = std::max(now, *pending);
        pending.reset();
        form->PauseElapsed();
        return true;
    }
    // Runs every pause of the sequences now going.
    void settle()
    {
        while (step()) {
        }
    }

    void Create(const ControlEntry& entry) override
    {
        controls[Name({entry.Which})] = {.Entry = entry, .Left = entry.Left, .Top = entry.Top,
                                         .Width = entry.Width, .Height = entry.Height,
                                         .Visible = !entry.Has(Hidden), .Text = entry.Text,
                                         .AccessibleName = entry.AccessibleName ? entry.AccessibleName : "",
                                         .Fore = entry.Fore, .Value = entry.Has(Checked) ? 1 : 0};
    }
    void CreateRow(int index) override
    {
        for (Id which : {Id::lblPrikl, Id::txtVysl}) {
            FakeControl copy = at({which});
            copy.Visible = false;
            ASSERT_TRUE(controls.emplace(Name({which, index}), copy).second) << "row " << index << " exists twice";
        }
    }
    void RemoveRow(int index) override
    {
        EXPECT_EQ(controls.erase(Name({Id::lblPrikl, index})), 1U);
        EXPECT_EQ(controls.erase(Name({Id::txtVysl, index})), 1U);
        if (focus && focus->Index == index && focus->Which == Id::txtVysl)
            focus.reset();
    }
    void SetPosition(Control c, float left, float top) override
    {
        std::tie(at(c).Left, at(c).Top) = std::pair(left, top);
        moves.push_back({Name(c), left, top});
    }
    void SetSize(Control c, float w, float h) override { std::tie(at(c).Width, at(c).Height) = std::pair(w, h); }
    void SetVisible(Control c, bool visible) override
    {
        // A real toolkit would pass the focus on to a control of its own choosing.
        for (Control in = focus.value_or(Control{Id::Form1}); in.Which != Id::Form1 && !visible;
             in = {form::Entry(in.Which).Container})
            EXPECT_NE(in, c) << Name(c) << " hidden with the focus in it";
        at(c).Visible = visible;
    }
    void SetEnabled(Control c, bool enabled) override { at(c).Enabled = enabled; }
    void SetText(Control c, std::string_view text) override { at(c).Text = text; }
    std::string Text(Control c) const override { return at(c).Text; }
    int Value(Control c) const override { return at(c).Value; }
    void SetValue(Control c, int value) override { at(c).Value = value; }
    void SetTextColour(Control c, Rgb colour) override { at(c).Fore = colour; }
    void SetLocked(Control c, bool locked) override { at(c).Locked = locked; }
    void SetStrikeOut(Control c, bool strikeOut) override { at(c).StrikeOut = strikeOut; }
    void SetFocus(Control c) override
    {
        if (focus)
            at(*focus).AllSelected = false;
        focus = c;
        if (form != nullptr)
            form->GotFocus(c);
    }
    void SelectAll(Control c) override
    {
        EXPECT_EQ(focus, c) << "selected out of the focus";
        at(c).AllSelected = true;
    }
    void ClearFocus() override { focus.reset(); }
    // A screen reader is told of these changes only when they do not land on the focus.
    void SetAccessibleName(Control c, std::string_view name) override
    {
        EXPECT_NE(focus, c) << Name(c) << " renamed under the focus";
        at(c).AccessibleName = name;
    }
    void SetAccessibleDescription(Control c, std::string_view d) override
    {
        EXPECT_NE(focus, c) << Name(c) << " described anew under the focus";
        at(c).AccessibleDescription = d;
    }
    void Announce(std::string_view message) override { announced.emplace_back(message); }
    std::int32_t TxtNumOnly(Control box, bool on, drill::AnswerRule rule) override
    {
        at(box).Rule = on ? std::optional(rule) : std::nullopt;
        return 0;
    }
    void StartTimer(Id timer, std::chrono::milliseconds interval) override { timers[timer] = interval; }
    void StopTimer(Id timer) override { timers.erase(timer); }
    void ShowMessage(std::string_view message) override { refusal = message; }
    void RepaintNow() override { ++repaints; }
    Clock::time_point Now() const override { return now; }
    void StartPause(Clock::time_point deadline) override
    {
        EXPECT_FALSE(pending) << "a second pause while one runs";
        pending = deadline;
        deadlines.push_back(deadline);
    }
};

// A loaded window with its fake toolkit; the random source is seeded the same every time.
struct Window {
    FakeToolkit toolkit;
    Form1 form{toolkit, 2001};

    Window()
    {
        toolkit.form = &form;
        form.Load();
    }
    FakeControl& operator[](Control c) { return toolkit.at(c); }
    FakeControl& box(int row) { return toolkit.at({Id::txtVysl, row}); }
    const std::string& text(Id which) { return toolkit.at({which}).Text; }
    std::pair<float, float> place(Id which) { return {toolkit.at({which}).Left, toolkit.at({which}).Top}; }
    void click(Id button)
    {
        form.Clicked({button});
        toolkit.settle();
    }
    int result(int row) const { return form.State().Problems[static_cast<std::size_t>(row)].Result; }
    // Runs the easing timer's ticks until it switches itself off; the ticks it took, or -1.
    int easeToRest()
    {
        for (int ticks = 0; ticks < 10000; ++ticks) {
            if (!form.TimerEnabled(Id::Timer1))
                return ticks;
            form.Timer(Id::Timer1);
        }
        return -1;
    }
    // "Start" with a count and a time limit, all its slides run.
    void start(int count, const char* timeLimit = "100")
    {
        toolkit.at({Id::Text1}).Text = std::to_string(count);
        toolkit.at({Id::Text2}).Text = timeLimit;
        click(Id::Command3);
        ASSERT_EQ(form.RowCount(), count) << toolkit.refusal;
    }
};

} // namespace form::test

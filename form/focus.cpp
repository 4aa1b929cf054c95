// The focus and the keyboard: which control a key goes to, Tab through what can be seen, and
// which controls can be seen at all.

#include "form/form1.h"

#include <algorithm>

namespace form {

namespace {

bool IsRowBox(Control control) { return IsRow(control) && control.Which == Id::txtVysl; }

bool IsSettingsBox(Id which) { return which >= Id::Text8 && which <= Id::Text1; }

bool IsButton(Id which) { return Entry(which).Type == Kind::Button; }

} // namespace

bool Form1::KeyDown(Control control, int key, int shift)
{
    // The window takes no keys while a sequence runs, nor once it is closing.
    if (closed_ || sequence_)
        return true;
    if (key == keys::Tab) {
        MoveFocusByTab(control, (shift & keys::Shift) != 0);
        return true;
    }
    if (IsRowBox(control))
        return txtVysl_KeyDown(control.Index, key, shift);
    if (key == keys::Enter && IsButton(control.Which)) {
        Clicked(control);
        return true;
    }
    // As in a dialog: Enter in a settings box starts the exercise.
    if (key == keys::Enter && IsSettingsBox(control.Which)) {
        Clicked({Id::Command3});
        return true;
    }
    return false;
}

void Form1::GotFocus(Control control)
{
    if (closed_ || focused_ == control)
        return;
    const bool leftClock = focused_ == Control{Id::Picture4};
    focused_ = control;
    if (leftClock)
        ClockLeft();
    if (IsRowBox(control) && control.Index <= RowCount())
        txtVysl_GotFocus(control.Index);
}

bool Form1::Effective(Control control, bool ControlState::*flag) const
{
    if (!(StateOf(control).*flag))
        return false;
    for (Id c = Entry(control.Which).Container; c != Id::Form1; c = Entry(c).Container)
        if (!(StateOf({c}).*flag))
            return false;
    return true;
}

Form1::Rect Form1::BoundsInWindow(Control control) const
{
    const ControlState& state = StateOf(control);
    Rect r{state.Left, state.Top, state.Left + state.Width, state.Top + state.Height};
    for (Id c = Entry(control.Which).Container; c != Id::Form1; c = Entry(c).Container) {
        const ControlState& container = StateOf({c});
        r = {r.Left + container.Left, r.Top + container.Top, r.Right + container.Left, r.Bottom + container.Top};
    }
    return r;
}

bool Form1::Covered(Control control, const Rect& visible, float slack) const
{
    // A control is covered when a shown panel or button listed above it, or above one of its
    // containers, takes in all of what is left of it, or all but `slack` pixels at its edges.
    const auto table = ControlTable();
    for (Control node = control; node.Which != Id::Form1; node = {Entry(node.Which).Container}) {
        const Id container = Entry(node.Which).Container;
        for (const ControlEntry& above : table) {
            if (above.Which == node.Which)
                break;
            if (above.Container != container || (above.Type != Kind::Panel && above.Type != Kind::Button) ||
                !StateOf({above.Which}).Shown)
                continue;
            const Rect r = BoundsInWindow({above.Which});
            if (r.Left <= visible.Left + slack && r.Top <= visible.Top + slack && r.Right + slack >= visible.Right &&
                r.Bottom + slack >= visible.Bottom)
                return true;
        }
    }
    return false;
}

bool Form1::InView(Control control) const
{
    if (!loaded_ || !Effective(control, &ControlState::Visible))
        return false;
    // The list scrolls any row into the band once it has the focus: a row is as much in view
    // as the list frame.
    const Control shown = IsRowBox(control) ? Control{Id::Picture1} : control;
    if (IsRowBox(control) && !Effective(shown, &ControlState::Visible))
        return false;
    const Rect r = VisiblePart(shown);
    return !r.Empty() && !Covered(shown, r);
}

Form1::Rect Form1::VisiblePart(Control control) const
{
    Rect r = BoundsInWindow(control);
    const ControlState& window = controls_[{Id::Form1}];
    auto clip = [&r](const Rect& by) {
        r = {std::max(r.Left, by.Left), std::max(r.Top, by.Top), std::min(r.Right, by.Right), std::min(r.Bottom, by.Bottom)};
    };
    for (Id c = Entry(control.Which).Container; c != Id::Form1; c = Entry(c).Container)
        clip(BoundsInWindow({c}));
    clip({0, 0, window.Width, window.Height});
    return r;
}

bool Form1::CanTakeFocus(Control control) const
{
    if (!Effective(control, &ControlState::Enabled) || !InView(control))
        return false;
    // The clock panel shows a pixel's edge beside the title panel; Tab does not stop at it.
    const Rect r = VisiblePart(control);
    return IsRowBox(control) || !Covered(control, r, 1);
}

void Form1::MoveFocusByTab(Control from, bool backwards)
{
    // The tab order with the answer boxes in row order in place of their template.
    std::vector<Control> order;
    for (Id which : TabOrder()) {
        if (which == Id::txtVysl)
            for (int i = 1; i <= RowCount(); ++i)
                order.push_back({Id::txtVysl, i});
        else
            order.push_back({which});
    }
    const auto at = std::find(order.begin(), order.end(), from);
    const std::size_t n = order.size();
    std::size_t start = at == order.end() ? (backwards ? 0 : n - 1) : static_cast<std::size_t>(at - order.begin());
    for (std::size_t step = 1; step <= n; ++step) {
        const std::size_t i = backwards ? (start + n - step) % n : (start + step) % n;
        if (CanTakeFocus(order[i])) {
            if (!(order[i] == from))
                Focus(order[i]);
            return;
        }
    }
}

} // namespace form

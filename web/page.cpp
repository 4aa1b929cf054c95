#include "web/page.h"

#include "web/markup.h"

#include <emscripten/bind.h>
#include <emscripten/eventloop.h>

#include <algorithm>
#include <string>
#include <utility>

namespace web {

using emscripten::val;
using form::Control;
using form::Id;
using form::Kind;

namespace {

Page* thePage = nullptr;

// Texts go to the page as std::string: embind reads a const char* as Latin-1, not UTF-8.
val Str(std::string_view text) { return val(std::string(text)); }

// Where a control shows its caption: a label in its first child (a second one, not shown, may
// carry what a screen reader says instead), a check box beside its box.
val CaptionOf(const val& element, Kind type)
{
    switch (type) {
    case Kind::Label: return element["firstElementChild"];
    case Kind::CheckBox: return element["lastElementChild"];
    default: return element;
    }
}

} // namespace

Page::Page()
    : document_(val::global("document")), announcer_(document_.call<val>("getElementById", std::string("announcer"))),
      elements_(val::null())
{
    thePage = this;
    for (std::size_t i = 0; i < timers_.size(); ++i) {
        timers_[i].page = this;
        timers_[i].id = static_cast<Id>(i);
    }
}

Page::~Page()
{
    thePage = nullptr;
    for (const Timer& timer : timers_)
        if (timer.handle != 0)
            emscripten_clear_interval(timer.handle);
    if (pauseHandle_ != 0)
        emscripten_clear_timeout(pauseHandle_);
}

val& Page::Element(Control control) { return elements_[control]; }

const val& Page::Element(Control control) const { return elements_[control]; }

val Page::Focusable(Control control) const
{
    const val& element = Element(control);
    return form::Entry(control.Which).Type == Kind::CheckBox ? element["firstElementChild"] : element;
}

void Page::Create(const form::ControlEntry& entry)
{
    if (entry.Type == Kind::Timer)
        return;
    elements_[{entry.Which}] = Adopt(entry);
    if (entry.Type == Kind::Window)
        document_.set("title", Str(entry.Text));
}

val Page::Adopt(const form::ControlEntry& entry)
{
    // The page comes with the window as it stands once loaded (packaging/web prerenders it from
    // this same markup), so that it shows before the program runs; the program takes it over.
    val element = document_.call<val>("getElementById", std::string(entry.Name));
    if (!element.isNull())
        return element;
    // A control the page lacks is made from its markup; pictures come only with the page.
    val container = entry.Type == Kind::Window ? document_["body"] : Element({entry.Container});
    container.call<void>("insertAdjacentHTML", std::string("beforeend"), Markup(entry));
    return container["lastElementChild"];
}

void Page::CreateRow(int index)
{
    val label = Element({Id::lblPrikl}).call<val>("cloneNode", true);
    val box = Element({Id::txtVysl}).call<val>("cloneNode", true);
    for (val* element : {&label, &box}) {
        element->set("hidden", true);
        element->operator[]("dataset").set("index", index);
    }
    label.set("id", form::Name({Id::lblPrikl, index}));
    box.set("id", form::Name({Id::txtVysl, index}));
    label.set("htmlFor", form::Name({Id::txtVysl, index}));
    // Each row is an application of its own, named by its caption. Chromium tells of the caret
    // in the box that takes the focus before it tells of the focus, and Orca takes a caret that
    // moves after Up, Down, Home, End or a Page key for the pupil moving it through the text:
    // it reads only the box's text. A caret that moves in another application than the one
    // holding the focus it leaves to the focus change, which reads the row whole, as after Tab.
    val row = document_.call<val>("createElement", std::string("div"));
    row.set("className", std::string("row"));
    row.call<void>("setAttribute", std::string("role"), std::string("application"));
    row.call<void>("setAttribute", std::string("aria-labelledby"), form::Name({Id::lblPrikl, index}));
    row.call<void>("append", label, box);
    Element({Id::Picture2}).call<void>("append", row);
    elements_.AddRow(index, label, box);
}

void Page::RemoveRow(int index)
{
    // The row's caption and box go with it.
    Element({Id::txtVysl, index})["parentElement"].call<void>("remove");
    elements_.RemoveRow(index);
}

void Page::SetPosition(Control control, float left, float top)
{
    val style = Element(control)["style"];
    style.set("left", Px(left));
    style.set("top", Px(top));
}

void Page::SetSize(Control control, float width, float height)
{
    val style = Element(control)["style"];
    style.set("width", Px(width));
    style.set("height", Px(height));
}

void Page::SetVisible(Control control, bool visible) { Element(control).set("hidden", !visible); }

void Page::SetEnabled(Control control, bool enabled)
{
    // A fieldset disables what it holds.
    Focusable(control).set("disabled", !enabled);
}

void Page::SetText(Control control, std::string_view text)
{
    const Kind type = form::Entry(control.Which).Type;
    if (type == Kind::TextBox)
        Element(control).set("value", Str(text));
    else
        CaptionOf(Element(control), type).set("textContent", Str(text));
}

std::string Page::Text(Control control) const
{
    const Kind type = form::Entry(control.Which).Type;
    if (type == Kind::TextBox)
        return Element(control)["value"].as<std::string>();
    return CaptionOf(Element(control), type)["textContent"].as<std::string>();
}

int Page::Value(Control control) const
{
    const val box = Focusable(control);
    return box["indeterminate"].as<bool>() ? 2 : box["checked"].as<bool>() ? 1 : 0;
}

void Page::SetTextColour(Control control, form::Rgb colour) { Element(control)["style"].set("color", Colour(colour)); }

void Page::SetValue(Control control, int value)
{
    val box = Focusable(control);
    box.set("checked", value == 1);
    box.set("indeterminate", value == 2);
}

void Page::SetLocked(Control control, bool locked)
{
    // A locked check box keeps its state (page.js cancels its clicks); a screen reader hears
    // that it is read-only.
    val element = Focusable(control);
    if (form::Entry(control.Which).Type == Kind::CheckBox)
        element.call<void>("setAttribute", std::string("aria-readonly"), std::string(locked ? "true" : "false"));
    else
        element.set("readOnly", locked);
}

void Page::SetStrikeOut(Control control, bool strikeOut)
{
    Element(control)["style"].set("textDecoration", std::string(strikeOut ? "line-through" : "none"));
}

void Page::SetFocus(Control control)
{
    // The panels clip and never scroll: the list brings the focused row into view itself.
    val options = val::object();
    options.set("preventScroll", true);
    Focusable(control).call<void>("focus", options);
}

void Page::SelectAll(Control box) { Element(box).call<void>("select"); }

void Page::ClearFocus()
{
    const val focused = document_["activeElement"];
    if (!Element({Id::Form1}).call<bool>("contains", focused))
        return;
    focused.call<void>("blur");
    // The caret goes with the focus. Orca looks for it once the focus has gone, and found in the
    // box just left, it would take that box for still focused and stay silent when the box
    // takes the focus again (row 1 when the time runs out on it).
    val::global("getSelection")().call<void>("removeAllRanges");
}

void Page::Announce(std::string_view message)
{
    // A new node each time: a live region reads what is added, even the same words again.
    val line = document_.call<val>("createElement", std::string("p"));
    line.set("textContent", Str(message));
    announcer_.call<void>("replaceChildren", line);
}

void Page::SetAccessibleName(val& element, Kind type, std::string_view name)
{
    if (type != Kind::Label) {
        element.call<void>("setAttribute", std::string("aria-label"), Str(name));
        return;
    }
    // Names are prohibited on plain text elements: the shown caption is hidden from a screen
    // reader and the name is given as text it reads instead.
    val shown = element["firstElementChild"];
    shown.call<void>("setAttribute", std::string("aria-hidden"), std::string("true"));
    val spoken = shown["nextElementSibling"];
    if (spoken.isNull()) {
        spoken = document_.call<val>("createElement", std::string("span"));
        spoken.set("className", std::string("spoken"));
        element.call<void>("append", spoken);
    }
    spoken.set("textContent", Str(name));
}

void Page::SetAccessibleName(Control control, std::string_view name)
{
    SetAccessibleName(Element(control), form::Entry(control.Which).Type, name);
}

void Page::SetAccessibleDescription(Control control, std::string_view description)
{
    Focusable(control).call<void>("setAttribute", std::string("aria-description"), Str(description));
}

std::int32_t Page::TxtNumOnly(Control box, bool on, drill::AnswerRule rule)
{
    // page.js passes whatever comes into a box so marked through its rule (acceptedInsertion,
    // below), however it arrives.
    val element = Element(box);
    val dataset = element["dataset"];
    if (on) {
        dataset.set("minusSign", rule.MinusSign);
        dataset.set("maxDigits", rule.MaxDigits);
        element.set("maxLength", rule.MaxDigits + (rule.MinusSign ? 1 : 0));
    } else {
        dataset.delete_("minusSign");
        dataset.delete_("maxDigits");
        element.set("maxLength", form::Entry(box.Which).MaxLength);
    }
    // A tablet shows its number pad for digits alone; phones' number pads have no minus key, so a
    // box that takes a sign gets the whole keyboard.
    element.set("inputMode", std::string(on && !rule.MinusSign ? "numeric" : "text"));
    element.call<void>("setAttribute", std::string("enterkeyhint"), std::string(on ? "next" : "enter"));
    return 0;
}

void Page::StartTimer(Id id, std::chrono::milliseconds interval)
{
    StopTimer(id);
    Timer& timer = timers_[static_cast<std::size_t>(id)];
    timer.handle = emscripten_set_interval(
        [](void* data) {
            const auto& due = *static_cast<Timer*>(data);
            due.page->form_->Timer(due.id);
        },
        static_cast<double>(interval.count()), &timer);
}

void Page::StopTimer(Id id)
{
    Timer& timer = timers_[static_cast<std::size_t>(id)];
    if (timer.handle != 0)
        emscripten_clear_interval(timer.handle);
    timer.handle = 0;
}

namespace {

template <class Duration> double Milliseconds(Duration wait)
{
    return static_cast<double>(std::max<long long>(0, std::chrono::ceil<std::chrono::milliseconds>(wait).count()));
}

} // namespace

void Page::ShowMessage(std::string_view message) { val::module_property("showMessage")(Str(message)); }

// The browser paints when the program next waits, and a sequence waits after every repaint.
void Page::RepaintNow() {}

void Page::StartPause(Clock::time_point deadline)
{
    pausing_ = true;
    pauseHandle_ = emscripten_set_timeout([](void* page) { static_cast<Page*>(page)->PauseDue(); },
                                          Milliseconds(deadline - Now()), this);
}

void Page::PauseDue()
{
    pauseHandle_ = 0;
    pausing_ = false;
    form_->PauseElapsed();
}

std::string Page::Fragment() const { return val::global("location")["hash"].as<std::string>(); }

void Page::ShowFragment(std::string_view fragment)
{
    val::global("history").call<void>("replaceState", val::null(), std::string(), Str("#" + std::string(fragment)));
}

void Page::Clicked(Control control) { form_->Clicked(control); }

bool Page::KeyDown(Control control, int key, int shift) { return form_->KeyDown(control, key, shift); }

void Page::GotFocus(Control control) { form_->GotFocus(control); }

void Page::MessageDismissed() { form_->MessageDismissed(); }

void Page::Unload()
{
    if (pauseHandle_ != 0)
        emscripten_clear_timeout(pauseHandle_);
    pauseHandle_ = 0;
    pausing_ = false;
    form_->Form_Unload();
}

} // namespace web

// What page.js calls: the pupil's input, by control id and index.
namespace {

form::Control ControlOf(int which, int index) { return {static_cast<form::Id>(which), index}; }

void Clicked(int which, int index) { web::thePage->Clicked(ControlOf(which, index)); }
bool KeyDown(int which, int index, int key, int shift) { return web::thePage->KeyDown(ControlOf(which, index), key, shift); }
void GotFocus(int which, int index) { web::thePage->GotFocus(ControlOf(which, index)); }
void MessageDismissed() { web::thePage->MessageDismissed(); }
std::string AcceptedInsertion(bool minusSign, int maxDigits, const std::string& text, int from, int to,
                              const std::string& inserted)
{
    const drill::AnswerRule rule{.MinusSign = minusSign, .MaxDigits = static_cast<std::size_t>(std::max(0, maxDigits))};
    return drill::AcceptedInsertion(rule, text, static_cast<std::size_t>(std::max(0, from)),
                                    static_cast<std::size_t>(std::max(0, to)), inserted);
}
void Unload() { web::thePage->Unload(); }
bool Pausing() { return web::thePage != nullptr && web::thePage->Pausing(); }

} // namespace

EMSCRIPTEN_BINDINGS(sumatko)
{
    emscripten::function("clicked", &Clicked);
    emscripten::function("keyDown", &KeyDown);
    emscripten::function("gotFocus", &GotFocus);
    emscripten::function("messageDismissed", &MessageDismissed);
    emscripten::function("acceptedInsertion", &AcceptedInsertion);
    emscripten::function("unload", &Unload);
    emscripten::function("pausing", &Pausing);
}

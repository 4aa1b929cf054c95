#include "web/markup.h"

#include <algorithm>
#include <cmath>

namespace web {

using form::Id;
using form::Kind;

std::string Px(float value)
{
    constexpr float kLimit = 1 << 24;
    return std::to_string(std::lround(std::clamp(value, -kLimit, kLimit))) + "px";
}

std::string Colour(form::Rgb rgb)
{
    return "rgb(" + std::to_string(rgb.R) + "," + std::to_string(rgb.G) + "," + std::to_string(rgb.B) + ")";
}

namespace {

// The element's place, size, font, colours and alignment as one style text.
std::string StyleOf(const form::ControlEntry& entry)
{
    std::string css = "left:" + Px(entry.Left) + ";top:" + Px(entry.Top) + ";";
    if (!(entry.Type == Kind::Label && entry.Has(form::AutoSize)))
        css += "width:" + Px(entry.Width) + ";height:" + Px(entry.Height) + ";";
    if (entry.Font != form::Face::None) {
        css += "font:";
        css += entry.Has(form::Regular) ? "" : "bold ";
        css += std::to_string(entry.FontPx) + "px ";
        // Every face but the hidden symbol label is drawn in the page's own Liberation Sans,
        // the metric twin of Arial that the desktop programs draw too.
        css += entry.Font == form::Face::Wingdings ? "Wingdings;" : "'Liberation Sans';";
    }
    if (entry.Fore)
        css += "color:" + Colour(*entry.Fore) + ";";
    if (entry.Back)
        css += "background:" + Colour(*entry.Back) + ";";
    if (entry.Has(form::AlignRight))
        css += "text-align:right;";
    else if (entry.Has(form::Centred))
        css += "text-align:center;";
    // The table lists siblings topmost first.
    css += "z-index:" + std::to_string(form::kControlCount - static_cast<int>(entry.Which)) + ";";
    return css;
}

std::string Escaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string Attribute(const char* name, std::string_view value)
{
    return std::string(" ") + name + "=\"" + Escaped(value) + "\"";
}

// A label's caption, and in a second child not shown what a screen reader says instead.
std::string LabelContent(std::string_view caption, const char* spoken)
{
    if (spoken == nullptr)
        return "<span>" + Escaped(caption) + "</span>";
    return "<span aria-hidden=\"true\">" + Escaped(caption) + "</span><span class=\"spoken\">" + Escaped(spoken) +
           "</span>";
}

} // namespace

std::string Markup(const form::ControlEntry& entry, std::string_view content)
{
    if (entry.Type == Kind::Window) {
        // One application for a screen reader, named by its title.
        const std::string style = "width:" + Px(entry.Width) + ";height:" + Px(entry.Height) +
                                  ";background:" + Colour(entry.Back.value_or(form::Rgb{}));
        return "<div" + Attribute("id", entry.Name) + " role=\"application\"" + Attribute("aria-label", entry.Text) +
               Attribute("style", style) + ">" + std::string(content) + "</div>";
    }
    const char* name = entry.AccessibleName;
    std::string common = Attribute("id", entry.Name) + Attribute("data-which", std::to_string(static_cast<int>(entry.Which))) +
                         Attribute("style", StyleOf(entry)) + (entry.Has(form::Hidden) ? " hidden" : "");
    auto named = [&] { return name != nullptr ? Attribute("aria-label", name) : std::string(); };
    switch (entry.Type) {
    case Kind::Panel:
        // A panel that takes the focus is read as the clock it holds; the others are groups
        // whose children a fieldset disables with it.
        if (entry.Has(form::TabStop))
            return "<div class=\"panel\" role=\"timer\" tabindex=\"-1\"" + common + named() + ">" + std::string(content) +
                   "</div>";
        return "<fieldset class=\"panel\"" + common + named() + ">" + std::string(content) + "</fieldset>";
    case Kind::Label: {
        // Row captions label their answer boxes: a tap on the caption focuses the box.
        const char* tag = entry.Which == Id::lblPrikl ? "label" : "span";
        return std::string("<") + tag + " class=\"label\"" + common + ">" + LabelContent(entry.Text, name) + "</" + tag +
               ">";
    }
    case Kind::Image:
        return "<div role=\"img\"" + common + named() + ">" + std::string(content) + "</div>";
    case Kind::TextBox:
        return "<input class=\"control\" type=\"text\" autocomplete=\"off\" spellcheck=\"false\"" + common + named() +
               (entry.MaxLength > 0 ? Attribute("maxlength", std::to_string(entry.MaxLength)) : std::string()) +
               Attribute("value", entry.Text) + ">";
    case Kind::CheckBox:
        return "<label class=\"check\"" + common + "><input type=\"checkbox\"" + named() +
               (entry.Has(form::Checked) ? " checked" : "") + "><span>" + Escaped(entry.Text) + "</span></label>";
    case Kind::Button:
        return "<button class=\"control\" type=\"button\"" + common + named() + ">" + Escaped(entry.Text) + "</button>";
    case Kind::Window:
    case Kind::Timer:
        break;
    }
    return {};
}

} // namespace web

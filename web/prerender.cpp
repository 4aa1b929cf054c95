// Writes the browser program's window as Form1::Load() leaves it, as markup for the page:
//
//   prerender PICTURE_DIR OUTPUT
//
// The page shows it as soon as it is read, before the program runs; the program then takes over
// each element (web::Page::Create). Rows are made only by the program.
#include "form/form1.h"
#include "form/toolkit.h"
#include "web/markup.h"

#include <array>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

using form::Control;
using form::ControlEntry;
using form::Id;

// Form1's toolkit that draws nothing and keeps each control's table entry as Form1 leaves it.
// The focus, the timers and what a screen reader is told on the way come with the program.
class Recorder final : public form::Toolkit {
public:
    explicit Recorder(std::string pictures) : pictures_(std::move(pictures)) {}

    // The control and all it holds, nested as in the table.
    std::string Markup(Id which) const
    {
        const ControlEntry& entry = At({which});
        std::string content = entry.Type == form::Kind::Image ? Picture(entry.Text) : std::string();
        for (const ControlEntry& child : form::ControlTable())
            if (child.Container == which && child.Which != which)
                content += Markup(child.Which);
        return web::Markup(entry, content);
    }

    void Create(const ControlEntry& entry) override { At({entry.Which}) = entry; }
    void CreateRow(int) override {}
    void RemoveRow(int) override {}
    void SetPosition(Control control, float left, float top) override
    {
        At(control).Left = left;
        At(control).Top = top;
    }
    void SetSize(Control control, float width, float height) override
    {
        At(control).Width = width;
        At(control).Height = height;
    }
    void SetVisible(Control control, bool visible) override
    {
        std::uint16_t& flags = At(control).Flags;
        flags = visible ? flags & ~form::Hidden : flags | form::Hidden;
    }
    void SetEnabled(Control, bool) override {}
    void SetText(Control control, std::string_view text) override
    {
        std::string& kept = texts_[static_cast<std::size_t>(control.Which)];
        kept = text;
        At(control).Text = kept.c_str();
    }
    std::string Text(Control control) const override { return At(control).Text; }
    int Value(Control control) const override { return At(control).Has(form::Checked) ? 1 : 0; }
    void SetValue(Control, int) override {}
    void SetTextColour(Control control, form::Rgb colour) override { At(control).Fore = colour; }
    void SetLocked(Control, bool) override {}
    void SetStrikeOut(Control, bool) override {}
    void SetFocus(Control) override {}
    void SelectAll(Control) override {}
    void ClearFocus() override {}
    void SetAccessibleName(Control, std::string_view) override {}
    void SetAccessibleDescription(Control, std::string_view) override {}
    void Announce(std::string_view) override {}
    std::int32_t TxtNumOnly(Control, bool, drill::AnswerRule) override { return 0; }
    void StartTimer(Id, std::chrono::milliseconds) override {}
    void StopTimer(Id) override {}
    void ShowMessage(std::string_view) override {}
    void RepaintNow() override {}
    Clock::time_point Now() const override { return Clock::now(); }
    void StartPause(Clock::time_point) override {}

private:
    // Loading makes no rows: a control is its table entry.
    ControlEntry& At(Control control) { return entries_[static_cast<std::size_t>(control.Which)]; }
    const ControlEntry& At(Control control) const { return entries_[static_cast<std::size_t>(control.Which)]; }

    // The picture's own markup, without what precedes its <svg> element.
    std::string Picture(const std::string& name) const
    {
        std::ifstream file(pictures_ + "/" + name + ".svg", std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        const std::size_t start = text.find("<svg");
        if (start == std::string::npos)
            throw std::runtime_error("no picture " + name + ".svg in " + pictures_);
        return text.substr(start, text.find_last_not_of(" \n") + 1 - start);
    }

    std::string pictures_;
    std::array<ControlEntry, form::kControlCount> entries_{};
    std::array<std::string, form::kControlCount> texts_;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: prerender PICTURE_DIR OUTPUT\n";
        return 2;
    }
    try {
        Recorder recorder(argv[1]);
        form::Form1 form(recorder, 0);
        form.Load();
        std::ofstream out(argv[2], std::ios::binary);
        out << recorder.Markup(Id::Form1) << '\n';
        return out ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << "prerender: " << error.what() << '\n';
        return 1;
    }
}

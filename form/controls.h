#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace form {

// Every control of the window, in the order of the control table: each container before its
// children, siblings topmost first. txtVysl and lblPrikl are the two control arrays; their
// element 0 is the hidden template that every row copies.
enum class Id : std::uint8_t {
    Form1,
    Picture6, Picture7, Picture5, Command2, Command1, tmrCas, Picture4, Timer1, Picture1, lblUCT, Label1,
    Text8, Text7, Text6, Text5, Text4, Text3, Text2, Text1, Check4, Check3, Check2, Check1,
    Label18, Label17, Label16, Label15, Label14, Label13, Label7,
    Command3, Label2, Image1,
    Command4, Label10, Label12, Label11, lblZnamka, Label5, Label4, Label3,
    lblCas,
    Picture2, Picture3,
    txtVysl, lblPrikl,
    lblSipka2, lblSipka1,
};
inline constexpr int kControlCount = static_cast<int>(Id::lblSipka1) + 1;

// One control: an entry of the table, or element `Index` of a control array.
struct Control {
    Id Which;
    int Index = 0;
    friend bool operator==(const Control&, const Control&) = default;
};

// A row's caption or answer box, lblPrikl(i) or txtVysl(i) for i of 1 and up; element 0 of
// either array is the table's template.
inline bool IsRow(Control control)
{
    return (control.Which == Id::txtVysl || control.Which == Id::lblPrikl) && control.Index > 0;
}

enum class Kind : std::uint8_t { Window, Panel, Label, Image, TextBox, CheckBox, Button, Timer };
enum class Face : std::uint8_t { None, Arial, MsSansSerif, Wingdings };

struct Rgb {
    std::uint8_t R = 0, G = 0, B = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum Flag : std::uint16_t {
    Hidden = 1U << 0,
    AutoSize = 1U << 1,    // a label that grows right and down from its corner to fit its caption
    AlignRight = 1U << 2,
    Centred = 1U << 3,
    Checked = 1U << 4,
    Regular = 1U << 5,     // regular weight and the symbol character set; every other font is bold, Central European
    Disabled = 1U << 6,    // a timer created switched off
    TabStop = 1U << 7,     // a panel that takes the focus from the keyboard, for a screen reader to read
};

struct ControlEntry {
    Id Which;
    Kind Type;
    const char* Name;      // "Picture6"; a control array's element i is named "txtVysl(i)"
    Id Container;          // Form1 for the window's own controls (and for Form1 itself)
    float Left, Top;
    float Width, Height;
    const char* Text;      // caption or text, UTF-8; an image's picture name; empty for the rest
    Face Font;
    int FontPx;            // character height in pixels (8.25 pt is 11 px at 96 dpi)
    std::optional<Rgb> Fore; // text colour; none: the toolkit's own
    std::optional<Rgb> Back; // what a panel, text box or check box paints behind its content
    std::uint16_t Flags;
    int MaxLength;         // characters a text box accepts; 0 for no limit of its own
    int IntervalMs;        // a timer's interval
    const char* AccessibleName; // what a screen reader calls it, where its caption does not say

    bool Has(Flag flag) const { return (Flags & flag) != 0; }
};

// What a frontend (or Form1) keeps for each control: one T for every entry of the table, made
// as `blank`, and for each row of the problem list one for its caption and one for its answer
// box. Rows are added in index order and removed by index.
template <class T> class ControlMap {
public:
    explicit ControlMap(const T& blank = T{}) : table_(kControlCount, blank) {}

    T& operator[](Control c) { return const_cast<T&>(std::as_const(*this)[c]); }
    const T& operator[](Control c) const
    {
        if (!IsRow(c))
            return table_[static_cast<std::size_t>(c.Which)];
        const auto& row = rows_.at(static_cast<std::size_t>(c.Index - 1)).value();
        return c.Which == Id::lblPrikl ? row.first : row.second;
    }
    // Whether the control has its place here: every entry of the table, and each row present.
    bool Has(Control c) const
    {
        return static_cast<int>(c.Which) < kControlCount &&
               (!IsRow(c) || (static_cast<std::size_t>(c.Index) <= rows_.size() &&
                              rows_[static_cast<std::size_t>(c.Index - 1)].has_value()));
    }
    // The highest row index present.
    int RowCount() const { return static_cast<int>(rows_.size()); }

    void AddRow(int index, T label, T box)
    {
        if (rows_.size() < static_cast<std::size_t>(index))
            rows_.resize(static_cast<std::size_t>(index));
        rows_[static_cast<std::size_t>(index - 1)].emplace(std::move(label), std::move(box));
    }
    void RemoveRow(int index)
    {
        rows_.at(static_cast<std::size_t>(index - 1)).reset();
        while (!rows_.empty() && !rows_.back())
            rows_.pop_back();
    }

    // Every item, the table's first, then each row's caption and box.
    template <class F> void ForEach(F&& f)
    {
        for (T& item : table_)
            f(item);
        for (auto& row : rows_)
            if (row) {
                f(row->first);
                f(row->second);
            }
    }

private:
    std::vector<T> table_;
    std::vector<std::optional<std::pair<T, T>>> rows_; // rows_[i - 1] is row i
};

// The whole table, in the order of Id.
std::span<const ControlEntry> ControlTable();
const ControlEntry& Entry(Id which);

// The settings panel's twelve values in the order of drill::SettingsInput: the eight boxes, then
// the four operations.
inline constexpr Id kSettingsBoxes[] = {Id::Text1, Id::Text2, Id::Text3,  Id::Text4,  Id::Text5,  Id::Text6,
                                        Id::Text7, Id::Text8, Id::Check1, Id::Check2, Id::Check3, Id::Check4};

// Keyboard order of the controls that take the focus; txtVysl stands for all answer boxes.
std::span<const Id> TabOrder();

// "Picture6", "txtVysl(3)".
std::string Name(Control control);

} // namespace form

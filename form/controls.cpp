// The window's control table: every control with its container, place, caption, font, colours
// and starting state. Each frontend creates its controls from these entries and nothing else.

#include "form/controls.h"

#include <array>

namespace form {

namespace {

constexpr Rgb kSettingsGrey{224, 224, 224};
constexpr Rgb kSettingsText{64, 64, 64};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kMarkerGrey{128, 128, 128};
constexpr std::optional<Rgb> kNone;

#define RANGE_CAPTION(head) head " : <            ;            >"

using enum Id;
using enum Kind;

// clang-format off
constexpr std::array<ControlEntry, kControlCount> kControls{{
    // id         kind      name          container  left  top    w    h    text                 font             px   fore             back              flags                  max  ms   accessible name
    {Form1,     Window,   "Form1",       Form1,       0,    0,  520, 243, "Sumatko 2001",      Face::None,       0, kNone,           kBlack,           0,                       0,    0, nullptr},
    {Picture6,  Panel,    "Picture6",    Form1,     300,   27,  192, 184, "",                  Face::None,       0, kNone,           kSettingsGrey,    0,                       0,    0, "Nastavení"},
    {Picture7,  Panel,    "Picture7",    Form1,       6,    6,  508, 230, "",                  Face::None,       0, kNone,           Rgb{192, 192, 192}, 0,                     0,    0, nullptr},
    {Picture5,  Panel,    "Picture5",    Form1,       6,  238,  510, 184, "",                  Face::None,       0, kNone,           Rgb{255, 255, 192}, 0,                     0,    0, "Výsledky"},
    {Command2,  Button,   "Command2",    Form1,     150,  197,  138,  39, "Známka",            Face::Arial,     21, kNone,           kNone,            Hidden,                  0,    0, nullptr},
    {Command1,  Button,   "Command1",    Form1,     150,  197,  138,  39, "Hotovo!",           Face::Arial,     16, kNone,           kNone,            0,                       0,    0, nullptr},
    {tmrCas,    Timer,    "tmrCas",      Form1,       0,    0,    0,   0, "",                  Face::None,       0, kNone,           kNone,            Disabled,                0, 1000, nullptr},
    {Picture4,  Panel,    "Picture4",    Form1,       5,  197,  138,  39, "",                  Face::None,       0, kNone,           Rgb{0, 0, 128},   TabStop,                 0,    0, "Zbývající čas"},
    {Timer1,    Timer,    "Timer1",      Form1,       0,    0,    0,   0, "",                  Face::None,       0, kNone,           kNone,            0,                       0,    5, nullptr},
    {Picture1,  Panel,    "Picture1",    Form1,       5,    5,  510, 184, "",                  Face::None,       0, kNone,           Rgb{192, 192, 192}, Hidden,                0,    0, "Seznam příkladů"},
    {lblUCT,    Label,    "lblUCT",      Form1,     475,  193,   40,  53, "J",                 Face::Wingdings, 48, Rgb{192, 255, 255}, kNone,         Hidden | AutoSize | Regular, 0, 0, nullptr},
    {Label1,    Label,    "Label1",      Form1,     425,  199,   48,  16, "Učitel : ",         Face::Arial,     13, kWhite,          kNone,            Hidden | AutoSize,       0,    0, nullptr},

    // Settings panel: the boxes sit over the gaps of the range captions beneath them.
    {Text8,     TextBox,  "Text8",       Picture6,  140,  157,   33,  16, "100",               Face::Arial,      9, kBlack,          kWhite,           Centred,                 0,    0, "Výsledek nejvýše"},
    {Text7,     TextBox,  "Text7",       Picture6,  101,  157,   33,  16, "0",                 Face::Arial,      9, kBlack,          kWhite,           Centred,                 0,    0, "Výsledek nejméně"},
    {Text6,     TextBox,  "Text6",       Picture6,  140,  137,   33,  16, "10",                Face::Arial,      9, kBlack,          kWhite,           Centred,                 0,    0, "2. číslo nejvýše"},
    {Text5,     TextBox,  "Text5",       Picture6,  101,  137,   33,  16, "0",                 Face::Arial,      9, kBlack,          kWhite,           Centred,                 0,    0, "2. číslo nejméně"},
    {Text4,     TextBox,  "Text4",       Picture6,  140,  117,   33,  16, "10",                Face::Arial,      9, kBlack,          kWhite,           Centred,                 0,    0, "1. číslo nejvýše"},
    {Text3,     TextBox,  "Text3",       Picture6,  101,  117,   33,  16, "0",                 Face::Arial,      9, kBlack,          kWhite,           Centred,                 0,    0, "1. číslo nejméně"},
    {Text2,     TextBox,  "Text2",       Picture6,  101,   30,   43,  16, "100",               Face::Arial,      9, kBlack,          kWhite,           Centred,                 0,    0, "Čas v sekundách"},
    {Text1,     TextBox,  "Text1",       Picture6,  101,    8,   43,  16, "10",                Face::Arial,      9, kBlack,          kWhite,           Centred,                 3,    0, "Počet příkladů"},
    {Check4,    CheckBox, "Check4",      Picture6,  101,  100,   59,  13, "Dělení",            Face::MsSansSerif, 11, kSettingsText, kSettingsGrey,    Checked,                 0,    0, nullptr},
    {Check3,    CheckBox, "Check3",      Picture6,  101,   84, 76.33F, 13, "Násobení",         Face::MsSansSerif, 11, kSettingsText, kSettingsGrey,    Checked,                 0,    0, nullptr},
    {Check2,    CheckBox, "Check2",      Picture6,  101,   68,   71,  13, "Odčítání",          Face::MsSansSerif, 11, kSettingsText, kSettingsGrey,    Checked,                 0,    0, nullptr},
    {Check1,    CheckBox, "Check1",      Picture6,  101,   52,   63,  13, "Sčítání",           Face::MsSansSerif, 11, kSettingsText, kSettingsGrey,    Checked,                 0,    0, nullptr},
    {Label18,   Label,    "Label18",     Picture6,   42,   51,   52,  14, "Operace :",         Face::Arial,     11, kSettingsText,   kNone,            AutoSize | AlignRight,   0,    0, nullptr},
    {Label17,   Label,    "Label17",     Picture6,   33,  158,  148,  14, RANGE_CAPTION("Výsledek"), Face::Arial, 11, kSettingsText, kNone,          AutoSize | AlignRight,   0,    0, "Výsledek"},
    {Label16,   Label,    "Label16",     Picture6,   47,  138,  134,  14, RANGE_CAPTION("2. číslo"), Face::Arial, 11, kSettingsText, kNone,          AutoSize,                0,    0, "2. číslo"},
    {Label15,   Label,    "Label15",     Picture6,   47,  118,  134,  14, RANGE_CAPTION("1. číslo"), Face::Arial, 11, kSettingsText, kNone,          AutoSize,                0,    0, "1. číslo"},
    {Label14,   Label,    "Label14",     Picture6,  149,   31,    7,  14, "s",                 Face::Arial,     11, kSettingsText,   kNone,            AutoSize | AlignRight,   0,    0, nullptr},
    {Label13,   Label,    "Label13",     Picture6,   67,   30,   27,  14, "Čas :",             Face::Arial,     11, kSettingsText,   kNone,            AutoSize | AlignRight,   0,    0, nullptr},
    {Label7,    Label,    "Label7",      Picture6,    9,    9,   85,  14, "Počet příkladů :",  Face::Arial,     11, kSettingsText,   kNone,            AutoSize,                0,    0, nullptr},

    // Title panel.
    {Command3,  Button,   "Command3",    Picture7,   22,  173,  250,  32, "Start",             Face::Arial,     19, kNone,           kNone,            0,                       0,    0, nullptr},
    {Label2,    Label,    "Label2",      Picture7,   22,  147,  250,  19, "Naprogramoval tým Sumatko 2001", Face::Arial, 13, Rgb{96, 48, 0}, kNone,   Centred,                 0,    0, nullptr},
    {Image1,    Image,    "Image1",      Picture7,   22,    4,  250, 147, "title",             Face::None,       0, kNone,           kNone,            0,                       0,    0, "Sumatko 2001: čísla a tužka"},

    // Results panel.
    {Command4,  Button,   "Command4",    Picture5,   14,  131,  126,  37, "Znovu",             Face::Arial,     21, kNone,           kNone,            0,                       0,    0, nullptr},
    {Label10,   Label,    "Label10",     Picture5,  108,   34,   33,  22, "000",               Face::Arial,     19, kRed,            kNone,            AutoSize,                0,    0, nullptr},
    {Label12,   Label,    "Label12",     Picture5,  108,   72,   33,  22, "000",               Face::Arial,     19, kRed,            kNone,            AutoSize,                0,    0, nullptr},
    {Label11,   Label,    "Label11",     Picture5,  108,   53,   33,  22, "000",               Face::Arial,     19, kRed,            kNone,            AutoSize,                0,    0, nullptr},
    {lblZnamka, Label,    "lblZnamka",   Picture5,  371,  -30,  118, 243, "4",                 Face::Arial,    213, kRed,            kNone,            AutoSize,                0,    0, nullptr},
    {Label5,    Label,    "Label5",      Picture5,   61,   76,   44,  14, "Nestihl :",         Face::Arial,     11, kRed,            kNone,            AutoSize,                0,    0, nullptr},
    {Label4,    Label,    "Label4",      Picture5,   15,   57,   90,  14, "Špatně spočítal :", Face::Arial,     11, kRed,            kNone,            AutoSize,                0,    0, nullptr},
    {Label3,    Label,    "Label3",      Picture5,   20,   38,   85,  14, "Dobře spočítal :",  Face::Arial,     11, kRed,            kNone,            AutoSize,                0,    0, nullptr},

    // Clock panel.
    {lblCas,    Label,    "lblCas",      Picture4,    4,    0,  128,  37, "00:00:00",          Face::Arial,     32, kWhite,          kNone,            0,                       0,    0, nullptr},

    // List frame: the list covers the marker band where they overlap.
    {Picture2,  Panel,    "Picture2",    Picture1,   48, 3.47F, 412, 176, "",                  Face::None,       0, kNone,           kWhite,           Hidden,                  0,    0, nullptr},
    {Picture3,  Panel,    "Picture3",    Picture1,    1,   68,  507,  42, "",                  Face::None,       0, kNone,           kSettingsGrey,    0,                       0,    0, nullptr},

    // The row templates; rows are copies of them.
    {txtVysl,   TextBox,  "txtVysl",     Picture2,  292,    0,  119,  44, "",                  Face::Arial,     37, Rgb{0, 0, 255},  kWhite,           Hidden,                  5,    0, nullptr},
    {lblPrikl,  Label,    "lblPrikl",    Picture2,    0,    0,  284,  44, "",                  Face::Arial,     37, kBlack,          kNone,            Hidden | AlignRight,     0,    0, nullptr},

    // Marker band.
    {lblSipka2, Label,    "lblSipka2",   Picture3,  465,  -22,   36,  75, "«",                 Face::Arial,     64, kMarkerGrey,     kNone,            AutoSize,                0,    0, nullptr},
    {lblSipka1, Label,    "lblSipka1",   Picture3,    6,  -22,   36,  75, "»",                 Face::Arial,     64, kMarkerGrey,     kNone,            AutoSize,                0,    0, nullptr},
}};
// clang-format on

#undef RANGE_CAPTION

constexpr bool InIdOrder()
{
    for (std::size_t i = 0; i < kControls.size(); ++i)
        if (static_cast<std::size_t>(kControls[i].Which) != i)
            return false;
    return true;
}
static_assert(InIdOrder(), "the control table must list the controls in the order of Id");

constexpr std::array kTabOrder{
    txtVysl, Picture4, Command1, Command2, Check1, Check2, Check3, Check4, Text1, Text2,
    Text3,   Text4,    Text5,    Text6,  Text7,  Text8,  Command3, Command4,
};

} // namespace

std::span<const ControlEntry> ControlTable() { return kControls; }

const ControlEntry& Entry(Id which) { return kControls[static_cast<std::size_t>(which)]; }

std::span<const Id> TabOrder() { return kTabOrder; }

std::string Name(Control control)
{
    std::string name = Entry(control.Which).Name;
    if (control.Which == Id::txtVysl || control.Which == Id::lblPrikl)
        name += "(" + std::to_string(control.Index) + ")";
    return name;
}

} // namespace form

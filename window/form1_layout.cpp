// The window's controls, built from one table: every control with its container, place,
// caption, font, colours and starting state.

#include "window/controls.h"
#include "window/form1.h"
#include "window/panel.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <string_view>
#include <unordered_map>

namespace window {

namespace {

enum class Kind { Panel, Label, Image, TextBox, CheckBox, Button };
enum class Face { Default, Arial, SansSerif, Wingdings };

struct Rgb {
    int r = -1, g = 0, b = 0;
    bool given() const { return r >= 0; }
    QColor colour() const { return QColor(r, g, b); }
};
constexpr Rgb kNone{};

enum Flag : unsigned {
    Hidden = 1U << 0,
    AutoSize = 1U << 1,
    AlignRight = 1U << 2,
    Centred = 1U << 3,
    Checked = 1U << 4,
};

struct ControlEntry {
    Kind kind;
    const char* name;
    const char* container; // nullptr: the window itself
    float left, top;
    int width, height;
    const char* text;      // caption or text (UTF-8)
    Face face;
    int fontPx;            // pixel size: 8.25 pt is 11 px at 96 dpi
    Rgb fore, back;        // text colour; a panel's, box's or check box's background
    unsigned flags;
    int maxLength;         // 0: no limit of its own
    const char* accessibleName;
};

constexpr Rgb kSettingsGrey{224, 224, 224};
constexpr Rgb kSettingsText{64, 64, 64};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kMarkerGrey{128, 128, 128};

#define RANGE_CAPTION(head) head " : <            ;            >"

// Siblings are listed topmost first; every container comes before its children.
// clang-format off
const ControlEntry kControls[] = {
    // kind            name          container   left  top   w    h    text          face          px   fore          back               flags                  max acc
    {Kind::Panel,    "Picture6",    nullptr,     300,  27, 192, 184, "",          Face::Default,   0, kNone,        kSettingsGrey,     0,                       0, nullptr},
    {Kind::Panel,    "Picture7",    nullptr,       6,   6, 508, 230, "",          Face::Default,   0, kNone,        {192, 192, 192},   0,                       0, nullptr},
    {Kind::Panel,    "Picture5",    nullptr,       6, 238, 510, 184, "",          Face::Default,   0, kNone,        {255, 255, 192},   0,                       0, nullptr},
    {Kind::Button,   "Command2",    nullptr,     150, 197, 138,  39, "Známka",    Face::Arial,    21, kNone,        kNone,             Hidden,                  0, nullptr},
    {Kind::Button,   "Command1",    nullptr,     150, 197, 138,  39, "Hotovo!",   Face::Arial,    16, kNone,        kNone,             0,                       0, nullptr},
    {Kind::Panel,    "Picture4",    nullptr,       5, 197, 138,  39, "",          Face::Default,   0, kNone,        {0, 0, 128},       0,                       0, nullptr},
    {Kind::Panel,    "Picture1",    nullptr,       5,   5, 510, 184, "",          Face::Default,   0, kNone,        {192, 192, 192},   Hidden,                  0, nullptr},
    {Kind::Label,    "lblUCT",      nullptr,     475, 193,  40,  53, "J",         Face::Wingdings,48, {192, 255, 255}, kNone,          Hidden | AutoSize,       0, nullptr},
    {Kind::Label,    "Label1",      nullptr,     425, 199,  48,  16, "Učitel : ", Face::Arial,    13, kWhite,       kNone,             Hidden | AutoSize,       0, nullptr},

    // Settings panel: the boxes sit over the gaps of the range captions beneath them.
    {Kind::TextBox,  "Text8",       "Picture6",  140, 157,  33,  16, "100",       Face::Arial,     9, kBlack,       kWhite,            Centred,                 0, "Výsledek nejvýše"},
    {Kind::TextBox,  "Text7",       "Picture6",  101, 157,  33,  16, "0",         Face::Arial,     9, kBlack,       kWhite,            Centred,                 0, "Výsledek nejméně"},
    {Kind::TextBox,  "Text6",       "Picture6",  140, 137,  33,  16, "10",        Face::Arial,     9, kBlack,       kWhite,            Centred,                 0, "2. číslo nejvýše"},
    {Kind::TextBox,  "Text5",       "Picture6",  101, 137,  33,  16, "0",         Face::Arial,     9, kBlack,       kWhite,            Centred,                 0, "2. číslo nejméně"},
    {Kind::TextBox,  "Text4",       "Picture6",  140, 117,  33,  16, "10",        Face::Arial,     9, kBlack,       kWhite,            Centred,                 0, "1. číslo nejvýše"},
    {Kind::TextBox,  "Text3",       "Picture6",  101, 117,  33,  16, "0",         Face::Arial,     9, kBlack,       kWhite,            Centred,                 0, "1. číslo nejméně"},
    {Kind::TextBox,  "Text2",       "Picture6",  101,  30,  43,  16, "100",       Face::Arial,     9, kBlack,       kWhite,            Centred,                 0, "Čas v sekundách"},
    {Kind::TextBox,  "Text1",       "Picture6",  101,   8,  43,  16, "10",        Face::Arial,     9, kBlack,       kWhite,            Centred,                 3, "Počet příkladů"},
    {Kind::CheckBox, "Check4",      "Picture6",  101, 100,  59,  13, "Dělení",    Face::SansSerif,11, kSettingsText, kSettingsGrey,    Checked,                 0, nullptr},
    {Kind::CheckBox, "Check3",      "Picture6",  101,  84,  76,  13, "Násobení",  Face::SansSerif,11, kSettingsText, kSettingsGrey,    Checked,                 0, nullptr},
    {Kind::CheckBox, "Check2",      "Picture6",  101,  68,  71,  13, "Odčítání",  Face::SansSerif,11, kSettingsText, kSettingsGrey,    Checked,                 0, nullptr},
    {Kind::CheckBox, "Check1",      "Picture6",  101,  52,  63,  13, "Sčítání",   Face::SansSerif,11, kSettingsText, kSettingsGrey,    Checked,                 0, nullptr},
    {Kind::Label,    "Label18",     "Picture6",   42,  51,  52,  14, "Operace :", Face::Arial,    11, kSettingsText, kNone,            AutoSize | AlignRight,   0, nullptr},
    {Kind::Label,    "Label17",     "Picture6",   33, 158, 148,  14, RANGE_CAPTION("Výsledek"), Face::Arial, 11, kSettingsText, kNone, AutoSize | AlignRight,  0, nullptr},
    {Kind::Label,    "Label16",     "Picture6",   47, 138, 134,  14, RANGE_CAPTION("2. číslo"), Face::Arial, 11, kSettingsText, kNone, AutoSize,               0, nullptr},
    {Kind::Label,    "Label15",     "Picture6",   47, 118, 134,  14, RANGE_CAPTION("1. číslo"), Face::Arial, 11, kSettingsText, kNone, AutoSize,               0, nullptr},
    {Kind::Label,    "Label14",     "Picture6",  149,  31,   7,  14, "s",         Face::Arial,    11, kSettingsText, kNone,            AutoSize | AlignRight,   0, nullptr},
    {Kind::Label,    "Label13",     "Picture6",   67,  30,  27,  14, "Čas :",     Face::Arial,    11, kSettingsText, kNone,            AutoSize | AlignRight,   0, nullptr},
    {Kind::Label,    "Label7",      "Picture6",    9,   9,  85,  14, "Počet příkladů :", Face::Arial, 11, kSettingsText, kNone,        AutoSize,                0, nullptr},

    // Title panel.
    {Kind::Button,   "Command3",    "Picture7",   22, 173, 250,  32, "Start",     Face::Arial,    19, kNone,        kNone,             0,                       0, nullptr},
    {Kind::Label,    "Label2",      "Picture7",   22, 147, 250,  19, "Naprogramoval tým Sumatko 2001", Face::Arial, 13, {96, 48, 0}, kNone, Centred,         0, nullptr},
    {Kind::Image,    "Image1",      "Picture7",   22,   4, 250, 147, ":/pictures/title.png", Face::Default, 0, kNone, kNone,           0,                       0, nullptr},

    // Results panel.
    {Kind::Button,   "Command4",    "Picture5",   14, 131, 126,  37, "Znovu",     Face::Arial,    21, kNone,        kNone,             0,                       0, nullptr},
    {Kind::Label,    "Label10",     "Picture5",  108,  34,  33,  22, "000",       Face::Arial,    19, kRed,         kNone,             AutoSize,                0, nullptr},
    {Kind::Label,    "Label12",     "Picture5",  108,  72,  33,  22, "000",       Face::Arial,    19, kRed,         kNone,             AutoSize,                0, nullptr},
    {Kind::Label,    "Label11",     "Picture5",  108,  53,  33,  22, "000",       Face::Arial,    19, kRed,         kNone,             AutoSize,                0, nullptr},
    {Kind::Label,    "lblZnamka",   "Picture5",  371, -30, 118, 243, "4",         Face::Arial,   213, kRed,         kNone,             AutoSize,                0, nullptr},
    {Kind::Label,    "Label5",      "Picture5",   61,  76,  44,  14, "Nestihl :", Face::Arial,    11, kRed,         kNone,             AutoSize,                0, nullptr},
    {Kind::Label,    "Label4",      "Picture5",   15,  57,  90,  14, "Špatně spočítal :", Face::Arial, 11, kRed,    kNone,             AutoSize,                0, nullptr},
    {Kind::Label,    "Label3",      "Picture5",   20,  38,  85,  14, "Dobře spočítal :",  Face::Arial, 11, kRed,    kNone,             AutoSize,                0, nullptr},

    // Clock panel.
    {Kind::Label,    "lblCas",      "Picture4",    4,   0, 128,  37, "00:00:00",  Face::Arial,    32, kWhite,       kNone,             0,                       0, "Zbývající čas"},

    // List frame: the list covers the marker band where they overlap.
    {Kind::Panel,    "Picture2",    "Picture1",   48, 3.47F, 412, 176, "",        Face::Default,   0, kNone,        kWhite,            Hidden,                  0, nullptr},
    {Kind::Panel,    "Picture3",    "Picture1",    1,  68, 507,  42, "",          Face::Default,   0, kNone,        kSettingsGrey,     0,                       0, nullptr},

    // The row templates; rows are copies of them.
    {Kind::TextBox,  "txtVysl(0)",  "Picture2",  292,   0, 119,  44, "",          Face::Arial,    37, {0, 0, 255},  kWhite,            Hidden,                  5, nullptr},
    {Kind::Label,    "lblPrikl(0)", "Picture2",    0,   0, 284,  44, "",          Face::Arial,    37, kBlack,       kNone,             Hidden | AlignRight,     0, nullptr},

    // Marker band.
    {Kind::Label,    "lblSipka2",   "Picture3",  465, -22,  36,  75, "«",         Face::Arial,    64, kMarkerGrey,  kNone,             AutoSize,                0, nullptr},
    {Kind::Label,    "lblSipka1",   "Picture3",    6, -22,  36,  75, "»",         Face::Arial,    64, kMarkerGrey,  kNone,             AutoSize,                0, nullptr},
};
// clang-format on

#undef RANGE_CAPTION

// Keyboard order of the controls that take the focus; the answer boxes follow their
// template as they are created.
constexpr const char* kTabOrder[] = {
    "txtVysl(0)", "Command1", "Command2", "Check1", "Check2", "Check3", "Check4",
    "Text1",      "Text2",    "Text3",    "Text4",  "Text5",  "Text6",  "Text7",
    "Text8",      "Command3", "Command4",
};

QFont FontOf(const ControlEntry& entry)
{
    switch (entry.face) {
    case Face::Arial:
        return ArialBold(entry.fontPx);
    case Face::SansSerif: {
        QFont font(QStringLiteral("MS Sans Serif"));
        font.setPixelSize(entry.fontPx);
        font.setBold(true);
        return font;
    }
    case Face::Wingdings: {
        QFont font(QStringLiteral("Wingdings"));
        font.setPixelSize(entry.fontPx);
        return font;
    }
    case Face::Default:
        break;
    }
    return {};
}

Qt::Alignment AlignmentOf(const ControlEntry& entry)
{
    const Qt::Alignment horizontal = (entry.flags & AlignRight) != 0U ? Qt::AlignRight
                                     : (entry.flags & Centred) != 0U  ? Qt::AlignHCenter
                                                                     : Qt::AlignLeft;
    // Captions start at the top of their label; a box's line sits in its middle.
    return horizontal | (entry.kind == Kind::TextBox ? Qt::AlignVCenter : Qt::AlignTop);
}

QWidget* Create(const ControlEntry& entry, QWidget* container)
{
    const QString text = QString::fromUtf8(entry.text);
    switch (entry.kind) {
    case Kind::Panel:
        return new Panel(entry.back.colour(), container);
    case Kind::Label:
        return new QLabel(text, container);
    case Kind::Image: {
        auto* image = new QLabel(container);
        image->setPixmap(QPixmap(text));
        return image;
    }
    case Kind::TextBox: {
        auto* box = new QLineEdit(text, container);
        if (entry.maxLength > 0)
            box->setMaxLength(entry.maxLength);
        return box;
    }
    case Kind::CheckBox: {
        auto* check = new QCheckBox(text, container);
        check->setCheckState((entry.flags & Checked) != 0U ? Qt::Checked : Qt::Unchecked);
        return check;
    }
    case Kind::Button: {
        auto* button = new QPushButton(text, container);
        // Enter belongs to the answer boxes; no button may take it as a default.
        button->setAutoDefault(false);
        return button;
    }
    }
    return nullptr;
}

void Style(QWidget* control, const ControlEntry& entry)
{
    if (entry.face != Face::Default)
        control->setFont(FontOf(entry));
    if (entry.fore.given())
        SetTextColour(control, entry.fore.colour());
    if (entry.back.given() && entry.kind != Kind::Panel)
        SetBackColour(control, entry.back.colour());
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setAlignment(AlignmentOf(entry));
    else if (auto* box = qobject_cast<QLineEdit*>(control))
        box->setAlignment(AlignmentOf(entry));
    if (entry.accessibleName != nullptr)
        control->setAccessibleName(QString::fromUtf8(entry.accessibleName));
}

void Place(QWidget* control, const ControlEntry& entry)
{
    if (auto* panel = qobject_cast<Panel*>(control)) {
        panel->resize(entry.width, entry.height);
        panel->setPositionF(entry.left, entry.top);
        return;
    }
    control->setGeometry(qRound(entry.left), qRound(entry.top), entry.width, entry.height);
    if ((entry.flags & AutoSize) != 0U)
        MarkAutoSize(static_cast<QLabel*>(control));
}

} // namespace

template <class T> T* Form1::Control(const QString& name) const
{
    T* control = findChild<T*>(name);
    Q_ASSERT(control != nullptr);
    return control;
}

void Form1::BuildControls()
{
    std::unordered_map<std::string_view, QWidget*> made;
    for (const ControlEntry& entry : kControls) {
        QWidget* container = entry.container == nullptr ? this : made.at(entry.container);
        QWidget* control = Create(entry, container);
        control->setObjectName(QLatin1String(entry.name));
        Style(control, entry);
        Place(control, entry);
        control->setVisible((entry.flags & Hidden) == 0U);
        made.emplace(entry.name, control);
    }
    // Later siblings paint over earlier ones: raise from the bottom of each list to its top.
    for (auto it = std::rbegin(kControls); it != std::rend(kControls); ++it)
        made.at(it->name)->raise();

    Picture1 = Control<Panel>("Picture1");
    Picture2 = Control<Panel>("Picture2");
    Picture3 = Control<Panel>("Picture3");
    Picture4 = Control<Panel>("Picture4");
    Picture5 = Control<Panel>("Picture5");
    Picture6 = Control<Panel>("Picture6");
    Picture7 = Control<Panel>("Picture7");
    Command1 = Control<QPushButton>("Command1");
    Command2 = Control<QPushButton>("Command2");
    Command3 = Control<QPushButton>("Command3");
    Command4 = Control<QPushButton>("Command4");
    for (std::size_t i = 0; i < Text.size(); ++i)
        Text[i] = Control<QLineEdit>(QStringLiteral("Text%1").arg(i + 1));
    for (std::size_t i = 0; i < Check.size(); ++i)
        Check[i] = Control<QCheckBox>(QStringLiteral("Check%1").arg(i + 1));
    lblCas = Control<QLabel>("lblCas");
    lblSipka1 = Control<QLabel>("lblSipka1");
    lblSipka2 = Control<QLabel>("lblSipka2");
    lblZnamka = Control<QLabel>("lblZnamka");
    Label10 = Control<QLabel>("Label10");
    Label11 = Control<QLabel>("Label11");
    Label12 = Control<QLabel>("Label12");
    lblPrikl_ = {Control<QLabel>("lblPrikl(0)")};
    txtVysl_ = {Control<QLineEdit>("txtVysl(0)")};

    tmrCas = new QTimer(this);
    tmrCas->setObjectName(QStringLiteral("tmrCas"));
    tmrCas->setInterval(1000);
    tmrCas->setTimerType(Qt::PreciseTimer);
    connect(tmrCas, &QTimer::timeout, this, &Form1::tmrCas_Timer);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5);
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    Timer1->start();
}

void Form1::SetTabOrder()
{
    QWidget* previous = nullptr;
    for (const char* name : kTabOrder) {
        auto* control = Control<QWidget>(QLatin1String(name));
        if (previous != nullptr)
            setTabOrder(previous, control);
        previous = control;
    }
}

} // namespace window

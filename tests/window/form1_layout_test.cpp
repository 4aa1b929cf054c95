// The window as it opens: frame, panels, stacking, looks, keyboard order and the settings
// that "Start" will read.

#include "window_test_support.h"

#include "window/controls.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <string>
#include <vector>

namespace window::test {
namespace {

std::vector<std::string> WidgetChildren(const QWidget* parent)
{
    std::vector<std::string> names;
    for (const QObject* child : parent->children())
        if (child->isWidgetType())
            names.push_back(child->objectName().toStdString());
    return names;
}

QColor PixelOf(QWidget* widget, QPoint at) { return widget->grab().toImage().pixelColor(at); }

TEST(Form1Layout, WindowFrameSizeAndPlace)
{
    Form1 form(1);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Sumatko 2001"));
    EXPECT_EQ(form.minimumSize(), QSize(520, 243));
    EXPECT_EQ(form.maximumSize(), QSize(520, 243));

    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));

    const QRect area = form.screen()->availableGeometry();
    EXPECT_LE(std::abs(form.geometry().center().x() - area.center().x()), 1);
    EXPECT_LE(std::abs(form.geometry().center().y() - area.center().y()), 1);

    // Black wherever no panel lies: the strip right of the clock and the buttons.
    EXPECT_EQ(PixelOf(&form, QPoint(515, 240)), QColor(Qt::black));
}

TEST(Form1Layout, PanelsAndButtonsStartInTheirPlaces)
{
    Form1 form(1);
    struct Expected {
        const char* name;
        QRect geometry;
        bool shown;
    };
    const Expected expected[] = {
        {"Picture6", {300, 27, 192, 184}, true},   {"Picture7", {6, 6, 508, 230}, true},
        {"Picture5", {600, 5, 510, 184}, true},    {"Command2", {150, 197, 138, 39}, false},
        {"Command1", {150, 197, 138, 39}, true},   {"Picture4", {5, 197, 138, 39}, true},
        {"Picture1", {5, 5, 510, 184}, false},     {"Picture3", {1, 68, 507, 42}, true},
        {"Picture2", {48, 80000, 412, 176}, false}, {"Command3", {22, 173, 250, 32}, true},
        {"Command4", {14, 131, 126, 37}, true},    {"lblCas", {4, 0, 128, 37}, true},
        {"Image1", {22, 4, 250, 147}, true},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        auto* control = Find<QWidget>(form, QLatin1String(e.name));
        EXPECT_EQ(control->geometry(), e.geometry);
        EXPECT_EQ(control->isVisibleTo(control->parentWidget()), e.shown);
    }
    EXPECT_EQ(Find<QLabel>(form, QStringLiteral("lblCas"))->text(), QStringLiteral("00:00:00"));
    EXPECT_FALSE(Find<QTimer>(form, QStringLiteral("tmrCas"))->isActive());
    EXPECT_TRUE(Timer1(form)->isActive());
}

TEST(Form1Layout, SiblingsStackTopmostLast)
{
    Form1 form(1);
    // Bottom first: each later sibling paints over the earlier ones.
    EXPECT_EQ(WidgetChildren(&form),
              (std::vector<std::string>{"Label1", "lblUCT", "Picture1", "Picture4", "Command1",
                                        "Command2", "Picture5", "Picture7", "Picture6"}));
    EXPECT_EQ(WidgetChildren(Find<QWidget>(form, QStringLiteral("Picture1"))),
              (std::vector<std::string>{"Picture3", "Picture2"}));
    EXPECT_EQ(WidgetChildren(Find<QWidget>(form, QStringLiteral("Picture7"))),
              (std::vector<std::string>{"Image1", "Label2", "Command3"}));
    const std::vector<std::string> settings =
        WidgetChildren(Find<QWidget>(form, QStringLiteral("Picture6")));
    ASSERT_EQ(settings.size(), 19U);
    EXPECT_EQ(settings.front(), "Label7");
    EXPECT_EQ(settings[7], "Check1");
    EXPECT_EQ(settings.back(), "Text8");
}

TEST(Form1Layout, FontsAndColoursReachTheScreen)
{
    Form1 form(1);
    struct Expected {
        const char* name;
        int pixelSize;
        bool bold;
        QColor text;
    };
    const Expected expected[] = {
        {"Text1", 9, true, Qt::black},          {"Check1", 11, true, QColor(64, 64, 64)},
        {"Label7", 11, true, QColor(64, 64, 64)}, {"lblCas", 32, true, Qt::white},
        {"lblZnamka", 213, true, Qt::red},      {"Label2", 13, true, QColor(96, 48, 0)},
        {"lblSipka1", 64, true, QColor(128, 128, 128)},
        {"txtVysl(0)", 37, true, QColor(0, 0, 255)}, {"lblPrikl(0)", 37, true, Qt::black},
        {"lblUCT", 48, false, QColor(192, 255, 255)},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        auto* control = Find<QWidget>(form, QLatin1String(e.name));
        EXPECT_EQ(control->font().pixelSize(), e.pixelSize);
        EXPECT_EQ(control->font().bold(), e.bold);
        EXPECT_EQ(TextColour(control), e.text);
    }
    EXPECT_EQ(Find<QPushButton>(form, QStringLiteral("Command2"))->font().pixelSize(), 21);

    // Arial, or its metric twin where Arial is not installed.
    const QString family = QFontInfo(Find<QWidget>(form, QStringLiteral("lblCas"))->font()).family();
    EXPECT_TRUE(family == QStringLiteral("Arial") || family == QStringLiteral("Liberation Sans"))
        << family.toStdString();

    // Painted colours: a check box fills its own background, the title picture lets the
    // panel's grey through, the clock panel is navy.
    auto* check = Find<QWidget>(form, QStringLiteral("Check1"));
    EXPECT_EQ(PixelOf(check, QPoint(check->width() - 1, 1)), QColor(224, 224, 224));
    auto* title = Find<QWidget>(form, QStringLiteral("Picture7"));
    EXPECT_EQ(PixelOf(title, QPoint(22, 4)), QColor(192, 192, 192));
    EXPECT_EQ(Find<QLabel>(form, QStringLiteral("Image1"))->pixmap().size(), QSize(250, 147));
    EXPECT_EQ(PixelOf(Find<QWidget>(form, QStringLiteral("Picture4")), QPoint(136, 37)),
              QColor(0, 0, 128));
}

TEST(Form1Layout, AutoSizeLabelsGrowFromTheirCornerOthersKeepTheirSize)
{
    Form1 form(1);
    auto* count = Find<QLabel>(form, QStringLiteral("Label10"));
    const int narrow = count->width();
    SetCaption(count, QStringLiteral("1000"));
    EXPECT_EQ(count->pos(), QPoint(108, 34));
    EXPECT_GT(count->width(), narrow);

    auto* grade = Find<QLabel>(form, QStringLiteral("lblZnamka"));
    SetCaption(grade, QStringLiteral("1"));
    EXPECT_EQ(grade->pos(), QPoint(371, -30));

    auto* clock = Find<QLabel>(form, QStringLiteral("lblCas"));
    SetCaption(clock, QStringLiteral("23:59:59"));
    EXPECT_EQ(clock->geometry(), QRect(4, 0, 128, 37));
}

TEST(Form1Layout, SettingsStartAtTheirDefaultsAndReadAsTyped)
{
    Form1 form(1);
    const drill::SettingsInput defaults = form.settingsInput();
    EXPECT_EQ(defaults.Texts, (std::array<std::string, 8>{"10", "100", "0", "10", "0", "10",
                                                          "0", "100"}));
    EXPECT_EQ(defaults.Checks, (std::array<int, 4>{1, 1, 1, 1}));

    const char* typed[] = {"25", "90", "-3", "12", "1", "9", "-20", "150"};
    for (int i = 0; i < 8; ++i) {
        auto* box = Find<QLineEdit>(form, QStringLiteral("Text%1").arg(i + 1));
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, QLatin1String(typed[i]));
    }
    QTest::mouseClick(Find<QCheckBox>(form, QStringLiteral("Check2")), Qt::LeftButton);
    Find<QCheckBox>(form, QStringLiteral("Check3"))->setCheckState(Qt::PartiallyChecked);

    const drill::SettingsInput input = form.settingsInput();
    EXPECT_EQ(input.Texts, (std::array<std::string, 8>{"25", "90", "-3", "12", "1", "9", "-20",
                                                       "150"}));
    EXPECT_EQ(input.Checks, (std::array<int, 4>{1, 0, 2, 1}));

    const drill::SettingsVerdict verdict = drill::CheckSettings(input);
    ASSERT_TRUE(std::holds_alternative<drill::Settings>(verdict));
    const auto& settings = std::get<drill::Settings>(verdict);
    EXPECT_EQ(settings.ProblemCount, 25);
    EXPECT_EQ(settings.TimeLimit, 90);
    EXPECT_EQ(settings.Rules.FirstMin, -3);
    EXPECT_EQ(settings.Rules.ResultMax, 150);
    EXPECT_EQ(settings.Rules.OpEnabled, (std::array<bool, 4>{true, false, true, true}));

    // Only the count box has a limit of its own.
    auto* count = Find<QLineEdit>(form, QStringLiteral("Text1"));
    QTest::keyClicks(count, QStringLiteral("34"));
    EXPECT_EQ(count->text(), QStringLiteral("253"));
    auto* limit = Find<QLineEdit>(form, QStringLiteral("Text2"));
    QTest::keyClicks(limit, QStringLiteral("000"));
    EXPECT_EQ(limit->text(), QStringLiteral("90000"));
}

TEST(Form1Layout, TabOrderTakesRowsThenButtonsThenSettings)
{
    Form1 form(1);
    StartExercise(form, 3);
    std::vector<std::string> order;
    QWidget* start = form.txtVysl(0);
    for (QWidget* w = start;;) {
        if ((w->focusPolicy() & Qt::TabFocus) != 0)
            order.push_back(w->objectName().toStdString());
        w = w->nextInFocusChain();
        if (w == start)
            break;
    }
    EXPECT_EQ(order, (std::vector<std::string>{
                         "txtVysl(0)", "txtVysl(1)", "txtVysl(2)", "txtVysl(3)", "Command1",
                         "Command2", "Check1", "Check2", "Check3", "Check4", "Text1", "Text2",
                         "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Command3",
                         "Command4"}));
}

TEST(Form1Layout, QtsOwnButtonsSpeakCzech)
{
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
              QStringLiteral("Zrušit"));
}

} // namespace
} // namespace window::test

// The window as Qt realises the control table: frame, places, stacking, fonts and colours.

#include "test_window.h"

#include "qt/controls.h"

#include <QDialogButtonBox>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace qtui::test {
namespace {

using form::Id;
using form::Kind;

QColor PixelOf(QWidget* widget, QPoint at) { return widget->grab().toImage().pixelColor(at); }

int TableIndex(const QWidget* w)
{
    for (const form::ControlEntry& entry : form::ControlTable())
        if (form::Name({entry.Which}) == w->objectName().toStdString())
            return static_cast<int>(entry.Which);
    return -1;
}

TEST(Layout, FrameSizeAndPlace)
{
    Window window(1);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Sumatko 2001"));
    EXPECT_EQ(window.minimumSize(), QSize(520, 243));
    EXPECT_EQ(window.maximumSize(), QSize(520, 243));
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint) || flags.testFlag(Qt::WindowMaximizeButtonHint));
    const QRect area = window.screen()->availableGeometry();
    EXPECT_LE(std::abs(window.geometry().center().x() - area.center().x()), 1);
    // Black wherever no panel lies: the strip right of the clock and the buttons.
    EXPECT_EQ(PixelOf(&window, QPoint(515, 240)), QColor(Qt::black));
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')), QStringLiteral("Zrušit"))
        << "Qt's own texts in Czech";
}

// Every widget stands where Form1 put it, in the table's stacking order, with the table's font.
TEST(Layout, WidgetsFollowTheTable)
{
    Window window(1);
    for (const form::ControlEntry& entry : form::ControlTable()) {
        if (entry.Type == Kind::Window || entry.Type == Kind::Timer)
            continue;
        SCOPED_TRACE(entry.Name);
        QWidget* w = window.widget({entry.Which});
        const form::ControlState& state = window.form().StateOf({entry.Which});
        EXPECT_EQ(w->pos(), QPoint(qRound(state.Left), qRound(state.Top)));
        if (!entry.Has(form::AutoSize)) {
            EXPECT_EQ(w->size(), QSize(qRound(entry.Width), qRound(entry.Height)));
        }
        if (entry.Font != form::Face::None) {
            EXPECT_EQ(w->font().pixelSize(), entry.FontPx);
            EXPECT_EQ(w->font().bold(), !entry.Has(form::Regular));
        }
        if (entry.Fore) {
            EXPECT_EQ(TextColour(w), QColor(entry.Fore->R, entry.Fore->G, entry.Fore->B));
        }
        // Qt lists siblings bottom first; the table lists them topmost first.
        QWidget* below = nullptr;
        for (QObject* sibling : w->parentWidget()->children()) {
            if (sibling == w)
                break;
            if (sibling->isWidgetType())
                below = static_cast<QWidget*>(sibling);
        }
        if (below != nullptr) {
            EXPECT_GT(TableIndex(below), static_cast<int>(entry.Which))
                << "above " << below->objectName().toStdString();
        }
    }
    const QString family = QFontInfo(window.widget({Id::lblCas})->font()).family();
    EXPECT_TRUE(family == QStringLiteral("Arial") || family == QStringLiteral("Liberation Sans")) << family.toStdString();
    // Painted colours: a check box fills its background, the title lets the panel's grey through.
    EXPECT_EQ(PixelOf(window.widget({Id::Check1}), QPoint(60, 1)), QColor(224, 224, 224));
    EXPECT_EQ(PixelOf(window.widget({Id::Picture7}), QPoint(22, 4)), QColor(192, 192, 192));
    EXPECT_EQ(PixelOf(window.widget({Id::Picture4}), QPoint(136, 37)), QColor(0, 0, 128));
}

TEST(Layout, CheckBoxIndicatorsShowAllFourBorders)
{
    Window window(1);
    const QImage image = window.widget({Id::Check2})->grab().toImage();
    ASSERT_EQ(image.height(), 13);
    auto border = [&](int x, int y) { return qGray(image.pixel(x, y)) < 200; };
    EXPECT_TRUE(border(6, 0) && border(6, 12)) << "top and bottom";
    EXPECT_TRUE(border(0, 6) && border(12, 6)) << "left and right";
    EXPECT_FALSE(border(6, 11) || border(11, 1)) << "the inside stays light";
}

} // namespace
} // namespace qtui::test

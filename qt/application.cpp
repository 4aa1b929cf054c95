#include "qt/window.h"

#include "qt/accessibility.h"
#include "qt/controls.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QLibraryInfo>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTranslator>

#include <algorithm>
#include <mutex>

#include <fontconfig/fontconfig.h>

// Resources of a static library must be registered by name, from the global namespace.
static void InitPictures()
{
    static std::once_flag once;
    std::call_once(once, [] { Q_INIT_RESOURCE(pictures); });
}

namespace qtui {

namespace {

// Rendered sizes rather than the drawing: asking Qt for SVG would load its image plugins
// before the first frame.
QIcon AppIcon()
{
    QIcon icon;
    for (const char* size : {"16", "32", "48"})
        icon.addPixmap(QPixmap::fromImage(ReadPicture(QStringLiteral(":/pictures/icon-%1.png").arg(QLatin1String(size)))));
    return icon;
}

// Fusion, with a check box indicator that fits the window's 13-pixel check boxes whole: one
// pixel smaller than Fusion's own, and one pixel more space after it, so the caption stays put.
class FittedCheckBoxes : public QProxyStyle {
public:
    FittedCheckBoxes() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int fusion = QProxyStyle::pixelMetric(metric, option, widget);
        switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
            return std::min(fusion, kIndicator);
        case PM_CheckBoxLabelSpacing:
            return fusion + std::max(0, QProxyStyle::pixelMetric(PM_IndicatorWidth, option, widget) - kIndicator);
        default:
            return fusion;
        }
    }

private:
    static constexpr int kIndicator = 13;
};

} // namespace

std::jthread ReadFontConfiguration()
{
    // The first text the window lays out would otherwise wait some milliseconds for this; Qt's
    // own FcInit later finds it done. Fontconfig initialises its configuration atomically.
    return std::jthread([] { FcInit(); });
}

void SetUpApplication(QApplication& app)
{
    InitPictures();
    QApplication::setApplicationName(QStringLiteral("Sumatko 2001"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    // The layout is fixed to the pixel; Fusion's thin frames leave the small settings boxes and
    // the answer boxes room for their text under every desktop theme.
    QApplication::setStyle(new FittedCheckBoxes);
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));

    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_cs"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;

    QApplication::setWindowIcon(AppIcon());
    SetUpAccessibility();
}

} // namespace qtui

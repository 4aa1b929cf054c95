#include "qt/window.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QImageReader>
#include <QLibraryInfo>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTranslator>

#include <algorithm>
#include <mutex>

// Resources of a static library must be registered by name, from the global namespace.
static void InitPictures()
{
    static std::once_flag once;
    std::call_once(once, [] { Q_INIT_RESOURCE(pictures); });
}

namespace qtui {

namespace {

QIcon AppIcon()
{
    QIcon icon(QStringLiteral(":/pictures/icon-16.png"));
    // The drawing scales to large sizes only where Qt can read SVG.
    if (QImageReader::supportedImageFormats().contains("svg"))
        icon.addFile(QStringLiteral(":/pictures/icon.svg"));
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

void SetUpApplication(QApplication& app)
{
    InitPictures();
    QApplication::setApplicationName(QStringLiteral("Sumatko 2001"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    // The layout is fixed to the pixel; Fusion's thin frames leave the small settings boxes and
    // the answer boxes room for their text under every desktop theme.
    QApplication::setStyle(new FittedCheckBoxes);
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));

    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_cs"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;

    QApplication::setWindowIcon(AppIcon());
}

} // namespace qtui

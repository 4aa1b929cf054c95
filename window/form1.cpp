#include "window/form1.h"

#include "drill/clock.h"
#include "window/controls.h"
#include "window/pacer.h"
#include "window/panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QIcon>
#include <QImageReader>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

#include <mutex>

#ifdef SUMATKO_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#endif

// Resources of a static library must be registered by name, from the global namespace.
static void InitPictures()
{
    static std::once_flag once;
    std::call_once(once, [] { Q_INIT_RESOURCE(pictures); });
}

namespace window {

namespace {

QIcon AppIcon()
{
    QIcon icon(QStringLiteral(":/pictures/icon-16.png"));
    // The drawing scales to large sizes only where Qt can read SVG.
    if (QImageReader::supportedImageFormats().contains("svg"))
        icon.addFile(QStringLiteral(":/pictures/icon.svg"));
    return icon;
}

} // namespace

void SetUpApplication(QApplication& app)
{
    InitPictures();
    QApplication::setApplicationName(QStringLiteral("Sumatko 2001"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    // The layout is fixed to the pixel; Fusion's thin frames leave the small settings boxes and
    // the answer boxes room for their text under every desktop theme.
    QApplication::setStyle(QStringLiteral("Fusion"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));

    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_cs"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;

    QApplication::setWindowIcon(AppIcon());
}

Form1::Form1(std::optional<std::uint32_t> seed, std::unique_ptr<Pacer> pacer, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      random_(seed.value_or(drill::SecondsSinceMidnightSeed())),
      pacer_(pacer ? std::move(pacer) : std::make_unique<RealTimePacer>())
{
    InitPictures();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Sumatko 2001"));
    setFixedSize(520, 243);

    BuildControls();
    SetTabOrder();

    ConnectButtons();
    Form_Load();

    Command3->setFocus();
    CentreOnScreen();
    KeepOutOfTaskbar();
}

Form1::~Form1()
{
    // A sequence still waiting for its next pause ends here, while every control still exists.
    pacer_->stop();
}

void Form1::closeEvent(QCloseEvent* event)
{
    pacer_->stop();
    QWidget::closeEvent(event);
}

drill::SettingsInput Form1::settingsInput() const
{
    drill::SettingsInput input;
    for (std::size_t i = 0; i < Text.size(); ++i)
        input.Texts[i] = Text[i]->text().toStdString();
    // Qt numbers the states clear 0, greyed 1, ticked 2; the settings count ticked as 1.
    for (std::size_t i = 0; i < Check.size(); ++i) {
        switch (Check[i]->checkState()) {
        case Qt::Unchecked:
            input.Checks[i] = 0;
            break;
        case Qt::Checked:
            input.Checks[i] = 1;
            break;
        case Qt::PartiallyChecked:
            input.Checks[i] = 2;
            break;
        }
    }
    return input;
}

void Form1::paintEvent(QPaintEvent* event)
{
    QPainter(this).fillRect(event->rect(), Qt::black);
}

void Form1::CentreOnScreen()
{
    const QScreen* screen = this->screen();
    if (screen == nullptr)
        return;
    // Centred by the client area; the frame the window manager adds goes around it.
    const QRect area = screen->availableGeometry();
    setGeometry(area.x() + (area.width() - width()) / 2,
                area.y() + (area.height() - height()) / 2, width(), height());
}

void Form1::KeepOutOfTaskbar()
{
#ifdef SUMATKO_HAVE_XCB
    // Qt has no flag for this short of Qt::Tool, which would change the frame too. Before the
    // window is first mapped the state may be written directly; Qt merges its own states
    // into what it finds there.
    // Other platforms (offscreen among them) may answer for X11 too, without a connection
    // that belongs to this window.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr)
        return;
    auto atom = [connection](const char* name) -> xcb_atom_t {
        const auto cookie =
            xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    };
    const xcb_atom_t netWmState = atom("_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = atom("_NET_WM_STATE_SKIP_TASKBAR");
    if (netWmState == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE)
        return;
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(winId()),
                        netWmState, XCB_ATOM_ATOM, 32, 1, &skipTaskbar);
    xcb_flush(connection);
#endif
}

void Form1::StartClock()
{
    drill::StartCountdown(state_.SecondsLeft, state_.TimeLimit);
    tmrCas_Timer();
    // A limit that is already used up by the first tick has finished the exercise; the
    // timer must not run on below zero.
    if (state_.SecondsLeft > 0)
        tmrCas->start();
}

void Form1::tmrCas_Timer()
{
    const bool timeIsUp = drill::CountdownTick(state_.SecondsLeft);
    SetCaption(lblCas, QString::fromStdString(drill::FormatClock(state_.SecondsLeft)));
    if (timeIsUp)
        JeHotovo();
}


} // namespace window

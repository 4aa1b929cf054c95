// The window's events: what of the pupil's input reaches Form1, the focus, time and closing.

#include "qt/window.h"

#include "qt/accessibility.h"
#include "qt/controls.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

namespace qtui {

using form::Control;
using form::Id;

// While a pause runs, clicks and keys aimed at this window are swallowed: no second transition
// can start and no button of the screen being left can be pressed. Closing the window is not
// an input event and still works.
class Window::InputBlocker : public QObject {
public:
    explicit InputBlocker(Window* window) : QObject(window), window_(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut: {
            auto* widget = qobject_cast<QWidget*>(watched);
            return widget != nullptr && widget->window() == window_;
        }
        default:
            return false;
        }
    }

private:
    Window* window_;
};

namespace {

// Qt's keys as the Windows virtual-key codes that Form1's key handler takes.
int VirtualKey(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return form::keys::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return form::keys::Enter;
    case Qt::Key_PageUp: return form::keys::PageUp;
    case Qt::Key_PageDown: return form::keys::PageDown;
    case Qt::Key_End: return form::keys::End;
    case Qt::Key_Home: return form::keys::Home;
    case Qt::Key_Left: return form::keys::Left;
    case Qt::Key_Up: return form::keys::Up;
    case Qt::Key_Right: return form::keys::Right;
    case Qt::Key_Down: return form::keys::Down;
    case Qt::Key_Space: return form::keys::Space;
    default:
        // Characters are the box's to take or refuse; none of them moves the focus.
        return 0;
    }
}

int ShiftState(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers m = key.modifiers();
    return (m.testFlag(Qt::ShiftModifier) || key.key() == Qt::Key_Backtab ? form::keys::Shift : 0) |
           (m.testFlag(Qt::ControlModifier) ? form::keys::Ctrl : 0) | (m.testFlag(Qt::AltModifier) ? form::keys::Alt : 0);
}

constexpr char kId[] = "formId";
constexpr char kIndex[] = "formIndex";

Control ControlOf(const QObject* widget)
{
    return {static_cast<Id>(widget->property(kId).toInt()), widget->property(kIndex).toInt()};
}

// The title rendering that fits the screen's scale best, so that it stays crisp on a projector
// at 1.5 or 2 times.
qreal TitleScale(qreal screenScale) { return screenScale >= 1.75 ? 2.0 : screenScale >= 1.25 ? 1.5 : 1.0; }

QString TitleFile(qreal titleScale)
{
    return titleScale == 2.0   ? QStringLiteral(":/pictures/title@2x.png")
           : titleScale == 1.5 ? QStringLiteral(":/pictures/title@1.5x.png")
                               : QStringLiteral(":/pictures/title.png");
}

} // namespace

Window::Window(std::optional<std::uint32_t> seed, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      form_(*this, seed), pause_(new QTimer(this)), inputBlocker_(new InputBlocker(this)),
      announcer_(new Announcer(this)), focusSink_(new QWidget(this))
{
    // Holds the focus while no control may: a screen reader then hears nothing, and the next
    // control to take the focus is heard as new even if it held the focus before.
    focusSink_->setObjectName(QStringLiteral("focusSink"));
    focusSink_->setGeometry(0, 0, 0, 0);
    focusSink_->setFocusPolicy(Qt::ClickFocus);
    focusSink_->installEventFilter(this);
    pause_->setSingleShot(true);
    pause_->setTimerType(Qt::PreciseTimer);
    connect(pause_, &QTimer::timeout, this, &Window::PauseDue);
    // The title decodes on another core while the controls before it are made.
    title_ = std::async(std::launch::async, [scale = TitleScale(devicePixelRatioF())] {
        QImage title = ReadPicture(TitleFile(scale));
        title.setDevicePixelRatio(scale);
        return title;
    });
    // A text box lays out its empty text in the application's font the moment it is made, before
    // it gets its own; in the boxes' own font that costs nothing, in the desktop's it would load a
    // font the first frame never shows. Dialogs and menus get the desktop's font back at once.
    const QFont desktopFont = QApplication::font();
    QApplication::setFont(ArialBold(9));
    form_.Load();
    QApplication::setFont(desktopFont);
    CentreOnScreen();
    KeepOutOfTaskbar();
}

Window::~Window()
{
    // A sequence still waiting for its next pause ends here, while every widget still exists.
    form_.Form_Unload();
    qApp->removeEventFilter(inputBlocker_);
}

void Window::closeEvent(QCloseEvent* event)
{
    form_.Form_Unload();
    pause_->stop();
    qApp->removeEventFilter(inputBlocker_);
    QWidget::closeEvent(event);
}

void Window::paintEvent(QPaintEvent* event)
{
    QPainter(this).fillRect(event->rect(), ColourOf(form::Entry(Id::Form1).Back.value_or(form::Rgb{})));
}

void Window::Attach(QWidget* widget, Control control)
{
    widget->setObjectName(QString::fromStdString(form::Name(control)));
    widget->setProperty(kId, static_cast<int>(control.Which));
    widget->setProperty(kIndex, control.Index);
    if (widget->focusPolicy() != Qt::NoFocus)
        widget->installEventFilter(this);
}

bool Window::eventFilter(QObject* watched, QEvent* event)
{
    // Keys pressed while no control holds the focus go to the window itself, so Tab finds one.
    const Control control = watched == focusSink_ ? Control{Id::Form1} : ControlOf(watched);
    if (event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        const int code = VirtualKey(key);
        if (code != 0 && form_.KeyDown(control, code, ShiftState(key)))
            return true;
    } else if (event->type() == QEvent::FocusIn && watched != focusSink_) {
        form_.GotFocus(control);
    }
    return QWidget::eventFilter(watched, event);
}

void Window::StartTimer(Id timer, std::chrono::milliseconds interval)
{
    timers_[static_cast<std::size_t>(timer)]->start(interval);
}

void Window::StopTimer(Id timer) { timers_[static_cast<std::size_t>(timer)]->stop(); }

void Window::RepaintNow() { repaint(); }

Window::Clock::time_point Window::Now() const { return Clock::now(); }

void Window::StartPause(Clock::time_point deadline)
{
    qApp->installEventFilter(inputBlocker_);
    // Rounded up, so that the timer does not come before the deadline.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Now());
    pause_->start(std::max(std::chrono::milliseconds(0), left));
}

void Window::PauseDue()
{
    qApp->removeEventFilter(inputBlocker_);
    form_.PauseElapsed();
    if (!form_.SequenceRunning())
        emit sequenceFinished();
}

} // namespace qtui

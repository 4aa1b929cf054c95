#include "qt/window.h"

#include "qt/accessibility.h"
#include "qt/controls.h"
#include "qt/panel.h"
#include "qt/txt_num_only.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <cstring>
#include <memory>
#include <utility>

#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>

namespace qtui {

using form::Control;
using form::Id;
using form::Kind;

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

constexpr char kId[] = "formId";
constexpr char kIndex[] = "formIndex";

QColor ColourOf(form::Rgb rgb) { return QColor(rgb.R, rgb.G, rgb.B); }

QFont FontOf(const form::ControlEntry& entry)
{
    // Linux has no MS Sans Serif; its stand-in is Arial's, and one family is one font to load.
    QFont font = ArialBold(entry.FontPx);
    if (entry.Font == form::Face::Wingdings)
        font.setFamily(QStringLiteral("Wingdings"));
    font.setBold(!entry.Has(form::Regular));
    return font;
}

Qt::Alignment AlignmentOf(const form::ControlEntry& entry)
{
    const Qt::Alignment horizontal = entry.Has(form::AlignRight) ? Qt::AlignRight
                                     : entry.Has(form::Centred)  ? Qt::AlignHCenter
                                                                : Qt::AlignLeft;
    // Captions start at the top of their label; a box's line sits in its middle.
    return horizontal | (entry.Type == Kind::TextBox ? Qt::AlignVCenter : Qt::AlignTop);
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

QWidget* Make(const form::ControlEntry& entry, QWidget* container)
{
    const QString text = QString::fromUtf8(entry.Text);
    switch (entry.Type) {
    case Kind::Panel:
        return new Panel(ColourOf(entry.Back.value_or(form::Rgb{})), container);
    case Kind::Label:
        if (entry.Has(form::AutoSize))
            return new AutoSizeLabel(text, container);
        return new QLabel(text, container);
    case Kind::Image:
        return new QLabel(container);
    case Kind::TextBox: {
        // The text comes once the font is set: a box lays out its text at once, and a layout in
        // the default font would load that font for nothing.
        auto* box = new TextBox(container);
        if (entry.MaxLength > 0)
            box->setMaxLength(entry.MaxLength);
        return box;
    }
    case Kind::CheckBox: {
        auto* check = new QCheckBox(text, container);
        check->setCheckState(entry.Has(form::Checked) ? Qt::Checked : Qt::Unchecked);
        return check;
    }
    case Kind::Button: {
        auto* button = new QPushButton(text, container);
        // Enter is for Form1 to decide; no button may take it as a default.
        button->setAutoDefault(false);
        return button;
    }
    case Kind::Window:
    case Kind::Timer:
        break;
    }
    return nullptr;
}

void Style(QWidget* widget, const form::ControlEntry& entry)
{
    if (entry.Font != form::Face::None)
        widget->setFont(FontOf(entry));
    if (entry.Fore)
        SetTextColour(widget, ColourOf(*entry.Fore));
    if (entry.Back && entry.Type != Kind::Panel)
        SetBackColour(widget, ColourOf(*entry.Back));
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setAlignment(AlignmentOf(entry));
    else if (auto* box = qobject_cast<QLineEdit*>(widget))
        box->setAlignment(AlignmentOf(entry));
    if (entry.AccessibleName != nullptr)
        widget->setAccessibleName(QString::fromUtf8(entry.AccessibleName));
    if (entry.Has(form::TabStop))
        widget->setFocusPolicy(Qt::TabFocus);
}

// A row is a copy of its template in everything but its place, caption and visibility.
template <class W> W* CopyOf(const W* model, QWidget* container)
{
    auto* copy = new W(container);
    if (model->testAttribute(Qt::WA_SetFont))
        copy->setFont(model->font());
    if (model->testAttribute(Qt::WA_SetPalette))
        copy->setPalette(model->palette());
    copy->setAutoFillBackground(model->autoFillBackground());
    copy->setAlignment(model->alignment());
    copy->setGeometry(model->geometry());
    copy->hide();
    return copy;
}

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

Control ControlOf(const QObject* widget)
{
    return {static_cast<Id>(widget->property(kId).toInt()), widget->property(kIndex).toInt()};
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
    connect(pause_, &QTimer::timeout, this, &Window::ResumeWhenDue);
    // The title decodes on another core while the controls before it are made.
    title_ = std::async(std::launch::async, ReadPicture, TitleFile(TitleScale(devicePixelRatioF())));
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

QWidget* Window::widget(Control control) const
{
    if (control.Which == Id::txtVysl)
        return txtVysl_.at(static_cast<std::size_t>(control.Index));
    if (control.Which == Id::lblPrikl)
        return lblPrikl_.at(static_cast<std::size_t>(control.Index));
    return widgets_[static_cast<std::size_t>(control.Which)];
}

void Window::Attach(QWidget* widget, Control control)
{
    widget->setObjectName(QString::fromStdString(form::Name(control)));
    widget->setProperty(kId, static_cast<int>(control.Which));
    widget->setProperty(kIndex, control.Index);
    if (widget->focusPolicy() != Qt::NoFocus)
        widget->installEventFilter(this);
}

void Window::Create(const form::ControlEntry& entry)
{
    const auto slot = static_cast<std::size_t>(entry.Which);
    if (entry.Type == Kind::Window) {
        setObjectName(QString::fromLatin1(entry.Name));
        setWindowTitle(QString::fromUtf8(entry.Text));
        setFixedSize(qRound(entry.Width), qRound(entry.Height));
        // What the controls inherit until they get their own fonts (see the constructor).
        setFont(ArialBold(9));
        widgets_[slot] = this;
        return;
    }
    if (entry.Type == Kind::Timer) {
        auto* timer = new QTimer(this);
        timer->setObjectName(QString::fromLatin1(entry.Name));
        timer->setTimerType(Qt::PreciseTimer);
        timer->setInterval(entry.IntervalMs);
        connect(timer, &QTimer::timeout, this, [this, which = entry.Which] { form_.Timer(which); });
        if (!entry.Has(form::Disabled))
            timer->start();
        timers_[slot] = timer;
        return;
    }
    QWidget* widget = Make(entry, widgets_[static_cast<std::size_t>(entry.Container)]);
    Style(widget, entry);
    if (entry.Type == Kind::Image) {
        QPixmap title = QPixmap::fromImage(title_.get());
        title.setDevicePixelRatio(TitleScale(devicePixelRatioF()));
        static_cast<QLabel*>(widget)->setPixmap(title);
    }
    if (auto* box = qobject_cast<QLineEdit*>(widget))
        box->setText(QString::fromUtf8(entry.Text));
    widget->setGeometry(Shown(entry.Left), Shown(entry.Top), qRound(entry.Width), qRound(entry.Height));
    if (entry.Has(form::Hidden))
        widget->hide();
    // The table lists siblings topmost first: each new one goes beneath those before it.
    widget->lower();
    Attach(widget, {entry.Which});
    if (auto* button = qobject_cast<QPushButton*>(widget))
        connect(button, &QPushButton::clicked, this, [this, which = entry.Which] { form_.Clicked({which}); });
    widgets_[slot] = widget;
    if (entry.Which == Id::txtVysl)
        txtVysl_ = {static_cast<TextBox*>(widget)};
    else if (entry.Which == Id::lblPrikl)
        lblPrikl_ = {static_cast<QLabel*>(widget)};
}

void Window::CreateRow(int index)
{
    QWidget* list = widgets_[static_cast<std::size_t>(Id::Picture2)];
    auto* label = CopyOf(lblPrikl_.front(), list);
    auto* box = CopyOf(txtVysl_.front(), list);
    box->setMaxLength(txtVysl_.front()->maxLength());
    Attach(label, {Id::lblPrikl, index});
    Attach(box, {Id::txtVysl, index});
    lblPrikl_.resize(static_cast<std::size_t>(index) + 1);
    txtVysl_.resize(static_cast<std::size_t>(index) + 1);
    lblPrikl_[static_cast<std::size_t>(index)] = label;
    txtVysl_[static_cast<std::size_t>(index)] = box;
}

void Window::RemoveRow(int index)
{
    const auto i = static_cast<std::size_t>(index);
    delete std::exchange(lblPrikl_.at(i), nullptr);
    delete std::exchange(txtVysl_.at(i), nullptr);
    while (txtVysl_.size() > 1 && txtVysl_.back() == nullptr) {
        txtVysl_.pop_back();
        lblPrikl_.pop_back();
    }
}

void Window::SetPosition(Control control, float left, float top) { widget(control)->move(Shown(left), Shown(top)); }

void Window::SetSize(Control control, float width, float height)
{
    widget(control)->resize(qRound(width), qRound(height));
}

void Window::SetVisible(Control control, bool visible) { widget(control)->setVisible(visible); }

void Window::SetEnabled(Control control, bool enabled) { widget(control)->setEnabled(enabled); }

void Window::SetText(Control control, std::string_view text)
{
    const QString value = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QWidget* w = widget(control);
    if (auto* label = qobject_cast<QLabel*>(w))
        SetCaption(label, value);
    else if (auto* box = qobject_cast<QLineEdit*>(w))
        box->setText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(value);
}

std::string Window::Text(Control control) const
{
    const QWidget* w = widget(control);
    if (const auto* box = qobject_cast<const QLineEdit*>(w))
        return box->text().toStdString();
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return label->text().toStdString();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text().toStdString();
    return {};
}

int Window::Value(Control control) const
{
    // Qt numbers the states clear 0, greyed 1, ticked 2; Form1 counts ticked as 1.
    switch (static_cast<const QCheckBox*>(widget(control))->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    case Qt::Unchecked: break;
    }
    return 0;
}

void Window::SetTextColour(Control control, form::Rgb colour) { qtui::SetTextColour(widget(control), ColourOf(colour)); }

void Window::SetLocked(Control control, bool locked) { static_cast<QLineEdit*>(widget(control))->setReadOnly(locked); }

void Window::SetStrikeOut(Control control, bool strikeOut)
{
    QWidget* w = widget(control);
    QFont font = w->font();
    font.setStrikeOut(strikeOut);
    w->setFont(font);
}

void Window::SetFocus(Control control) { widget(control)->setFocus(Qt::OtherFocusReason); }

void Window::ClearFocus() { focusSink_->setFocus(Qt::OtherFocusReason); }

void Window::Announce(std::string_view message)
{
    announcer_->Say(QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
}

void Window::SetAccessibleName(Control control, std::string_view name)
{
    widget(control)->setAccessibleName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

void Window::SetAccessibleDescription(Control control, std::string_view description)
{
    widget(control)->setAccessibleDescription(
        QString::fromUtf8(description.data(), static_cast<qsizetype>(description.size())));
}

std::int32_t Window::TxtNumOnly(Control box, bool on)
{
    qtui::TxtNumOnly(static_cast<QLineEdit*>(widget(box)), on);
    return 0;
}

void Window::StartTimer(Id timer, std::chrono::milliseconds interval)
{
    timers_[static_cast<std::size_t>(timer)]->start(interval);
}

void Window::StopTimer(Id timer) { timers_[static_cast<std::size_t>(timer)]->stop(); }

void Window::ShowRefusal(Control box, std::string_view message)
{
    QWidget* offending = widget(box);
    auto* dialog = new QMessageBox(QMessageBox::Warning, windowTitle(),
                                   QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())),
                                   QMessageBox::Ok, this);
    dialog->setObjectName(QStringLiteral("refusal"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::finished, offending, [offending] {
        offending->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(offending))
            edit->selectAll();
    });
    dialog->open();
}

void Window::RepaintNow() { repaint(); }

Window::Clock::time_point Window::Now() const { return Clock::now(); }

void Window::StartPause(Clock::time_point deadline)
{
    deadline_ = deadline;
    qApp->installEventFilter(inputBlocker_);
    ResumeWhenDue();
}

void Window::ResumeWhenDue()
{
    const auto now = Now();
    if (now < deadline_) {
        // Round up, so the timer never fires just before the deadline and has to wait again.
        pause_->start(std::chrono::ceil<std::chrono::milliseconds>(deadline_ - now));
        return;
    }
    qApp->removeEventFilter(inputBlocker_);
    form_.PauseElapsed();
    if (!form_.SequenceRunning())
        emit sequenceFinished();
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

void Window::CentreOnScreen()
{
    const QScreen* screen = this->screen();
    if (screen == nullptr)
        return;
    // Centred by the client area; the frame the window manager adds goes around it.
    const QRect area = screen->availableGeometry();
    setGeometry(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2, width(), height());
}

void Window::KeepOutOfTaskbar()
{
    // Qt has no flag for this short of Qt::Tool, which would change the frame too. Before the
    // window is first mapped the state may be written directly; Qt merges its own states
    // into what it finds there. Other platforms (offscreen among them) may answer for X11
    // too, without a connection that belongs to this window.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr)
        return;
    // Both names go out before either answer is awaited: one round trip to the server, not two.
    auto ask = [connection](const char* name) {
        return xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    };
    auto answer = [connection](xcb_intern_atom_cookie_t cookie) -> xcb_atom_t {
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    };
    const auto stateCookie = ask("_NET_WM_STATE");
    const auto skipCookie = ask("_NET_WM_STATE_SKIP_TASKBAR");
    const xcb_atom_t netWmState = answer(stateCookie);
    const xcb_atom_t skipTaskbar = answer(skipCookie);
    if (netWmState == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE)
        return;
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(winId()), netWmState,
                        XCB_ATOM_ATOM, 32, 1, &skipTaskbar);
    xcb_flush(connection);
}

} // namespace qtui

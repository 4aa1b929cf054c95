#include "qt/accessibility.h"

#include "qt/panel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionFrame>

namespace qtui {

namespace {

// A text box as a screen reader reads it. Qt's own interface answers every question about the
// text's attributes with an empty run, and Orca, walking the runs, then drops the last
// character of what it reads: "1" for "10". Here the whole text is one run without attributes.
class TextBoxAccessible : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
public:
    explicit TextBoxAccessible(QLineEdit* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    QLineEdit* box() const { return static_cast<QLineEdit*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? box()->text() : QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !box()->isReadOnly();
        state.readOnly = box()->isReadOnly();
        state.selectableText = true;
        return state;
    }

    // Selection and cursor.
    void selection(int index, int* start, int* end) const override
    {
        *start = *end = 0;
        if (index == 0 && box()->hasSelectedText()) {
            *start = box()->selectionStart();
            *end = *start + static_cast<int>(box()->selectedText().size());
        }
    }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { box()->deselect(); }
    void setSelection(int, int start, int end) override { box()->setSelection(start, end - start); }
    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }

    // The text.
    QString text(int start, int end) const override { return box()->text().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(box()->text().size()); }
    QString attributes(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }

    QRect characterRect(int offset) const override
    {
        // The box draws its one line centred, right or left in its frame.
        const QString text = box()->text();
        if (offset < 0 || offset >= text.size())
            return {};
        const QFontMetrics metrics(box()->font());
        const QRect frame = box()->contentsRect().adjusted(2, 0, -2, 0);
        const int whole = metrics.horizontalAdvance(text);
        int x = frame.left();
        if (box()->alignment() & Qt::AlignHCenter)
            x += (frame.width() - whole) / 2;
        else if (box()->alignment() & Qt::AlignRight)
            x = frame.right() - whole;
        x += metrics.horizontalAdvance(text.left(offset));
        const QRect rect(x, frame.top() + (frame.height() - metrics.height()) / 2,
                         metrics.horizontalAdvance(text.at(offset)), metrics.height());
        return QRect(box()->mapToGlobal(rect.topLeft()), rect.size());
    }
    int offsetAtPoint(const QPoint& point) const override { return box()->cursorPositionAt(box()->mapFromGlobal(point)); }
    void scrollToSubstring(int start, int) override { box()->setCursorPosition(start); }

    // Editing, as the pupil could type it.
    void deleteText(int start, int end) override { replaceText(start, end, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override
    {
        if (box()->isReadOnly())
            return;
        box()->setSelection(start, end - start);
        box()->insert(text);
    }
};

QAccessibleInterface* Interface(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr)
        return nullptr;
    if (className == QLatin1String("qtui::TextBox"))
        return new TextBoxAccessible(static_cast<QLineEdit*>(widget));
    if (className == QLatin1String("qtui::Announcer"))
        return new QAccessibleWidget(widget, QAccessible::Notification);
    // The window as a window, so that a screen reader reads its title.
    if (className == QLatin1String("qtui::Window"))
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

// Qt 6.4's AT-SPI bridge sends the changed object where the new name or description belongs,
// and tells only of "showing", never of "visible", when a widget is shown or hidden. Orca then
// fails on every rename of the focused control and keeps thinking a panel shown after it was
// first seen is invisible. The corrected events go out on the bridge's own connection, so they
// come from the same application as everything else.
QDBusConnection Bridge() { return QDBusConnection(QStringLiteral("a11y")); }

QString PathOf(QAccessibleInterface* iface)
{
    return QStringLiteral("/org/a11y/atspi/accessible/") + QString::number(QAccessible::uniqueId(iface));
}

// An object as AT-SPI names it: the application's bus name and the object's path.
QVariant Reference(const QDBusConnection& bus, const QString& path)
{
    QDBusArgument reference;
    reference.beginStructure();
    reference << bus.baseService() << QDBusObjectPath(path);
    reference.endStructure();
    return QVariant::fromValue(reference);
}

void SendObjectEvent(const QDBusConnection& bus, QAccessibleInterface* iface, const QString& member,
                     const QString& detail, int detail1, const QVariant& data)
{
    QDBusMessage signal =
        QDBusMessage::createSignal(PathOf(iface), QStringLiteral("org.a11y.atspi.Event.Object"), member);
    signal << detail << detail1 << 0 << QVariant::fromValue(QDBusVariant(data))
           << Reference(bus, QStringLiteral("/org/a11y/atspi/accessible/root"));
    bus.send(signal);
}

void Mended(QAccessibleEvent* event);

void Forward(QAccessibleEvent* event)
{
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(&Mended);
}

void Mended(QAccessibleEvent* event)
{
    QDBusConnection bus = Bridge();
    QAccessibleInterface* iface = event->accessibleInterface();
    if (!bus.isConnected() || iface == nullptr || !iface->isValid()) {
        Forward(event);
        return;
    }
    switch (event->type()) {
    case QAccessible::NameChanged:
        SendObjectEvent(bus, iface, QStringLiteral("PropertyChange"), QStringLiteral("accessible-name"), 0,
                        iface->text(QAccessible::Name));
        break;
    case QAccessible::DescriptionChanged:
        SendObjectEvent(bus, iface, QStringLiteral("PropertyChange"), QStringLiteral("accessible-description"), 0,
                        iface->text(QAccessible::Description));
        break;
    case QAccessible::ObjectShow:
    case QAccessible::ObjectHide: {
        Forward(event);
        const int shown = event->type() == QAccessible::ObjectShow ? 1 : 0;
        SendObjectEvent(bus, iface, QStringLiteral("StateChanged"), QStringLiteral("visible"), shown,
                        Reference(bus, PathOf(iface)));
        break;
    }
    case QAccessible::TextCaretMoved:
    case QAccessible::TextSelectionChanged:
    case QAccessible::TextInserted:
    case QAccessible::TextRemoved:
    case QAccessible::TextUpdated:
        // A box being made is still hidden. Orca takes a caret move it hears of late for a move
        // within the focused box, and would take the new row for known before its focus event.
        if (auto* widget = qobject_cast<QWidget*>(event->object()); widget == nullptr || widget->isVisible())
            Forward(event);
        break;
    default:
        Forward(event);
        break;
    }
}

} // namespace

void SetUpAccessibility()
{
    QAccessible::installFactory(&Interface);
    QAccessible::installUpdateHandler(&Mended);
}

void TextBox::focusInEvent(QFocusEvent* event)
{
    // Qt selects the whole text of a box reached by Tab; here Tab only moves the focus.
    QFocusEvent plain(event->type(), Qt::OtherFocusReason);
    QLineEdit::focusInEvent(&plain);
}

Announcer::Announcer(QWidget* window) : QWidget(window)
{
    setObjectName(QStringLiteral("announcer"));
    setGeometry(-1, -1, 1, 1);
    hide();
}

void Announcer::Say(const QString& message)
{
    // A screen reader speaks a notification as it appears; gone again at once, it is no line of
    // the window's when the pupil reviews what it shows.
    setAccessibleName(message);
    show();
    hide();
}

} // namespace qtui

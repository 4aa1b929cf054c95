// What Form1 asks of its controls, realised on the window's widgets.

#include "qt/window.h"

#include "qt/accessibility.h"
#include "qt/controls.h"
#include "qt/panel.h"
#include "qt/txt_num_only.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

namespace qtui {

using form::Control;
using form::Id;
using form::Kind;

namespace {

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

} // namespace

void Window::Create(const form::ControlEntry& entry)
{
    if (entry.Type == Kind::Window) {
        setObjectName(QString::fromLatin1(entry.Name));
        setWindowTitle(QString::fromUtf8(entry.Text));
        setFixedSize(qRound(entry.Width), qRound(entry.Height));
        // What the controls inherit until they get their own fonts (see the constructor).
        setFont(ArialBold(9));
        widgets_[{entry.Which}] = this;
        return;
    }
    if (entry.Type == Kind::Timer) {
        auto* timer = new QTimer(this);
        timer->setObjectName(QString::fromLatin1(entry.Name));
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, [this, which = entry.Which] { form_.Timer(which); });
        timers_[static_cast<std::size_t>(entry.Which)] = timer;
        return;
    }
    QWidget* widget = MakeControl(entry, widgets_[{entry.Container}]);
    if (entry.Type == Kind::Image)
        static_cast<QLabel*>(widget)->setPixmap(QPixmap::fromImage(title_.get()));
    // The table lists siblings topmost first: each new one goes beneath those before it.
    widget->lower();
    Attach(widget, {entry.Which});
    if (auto* button = qobject_cast<QPushButton*>(widget))
        connect(button, &QPushButton::clicked, this, [this, which = entry.Which] { form_.Clicked({which}); });
    widgets_[{entry.Which}] = widget;
}

void Window::CreateRow(int index)
{
    QWidget* list = widgets_[{Id::Picture2}];
    auto* label = CopyOf(static_cast<const QLabel*>(widgets_[{Id::lblPrikl}]), list);
    auto* box = CopyOf(static_cast<const TextBox*>(widgets_[{Id::txtVysl}]), list);
    Attach(label, {Id::lblPrikl, index});
    Attach(box, {Id::txtVysl, index});
    widgets_.AddRow(index, label, box);
}

void Window::RemoveRow(int index)
{
    delete widgets_[{Id::lblPrikl, index}];
    delete widgets_[{Id::txtVysl, index}];
    widgets_.RemoveRow(index);
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
    const QString value = FromUtf8(text);
    QWidget* w = widget(control);
    if (auto* label = qobject_cast<QLabel*>(w))
        SetCaption(label, value);
    else if (auto* box = qobject_cast<QLineEdit*>(w))
        SetBoxText(box, value);
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

void Window::SetTextColour(Control control, form::Rgb colour)
{
    qtui::SetTextColour(widget(control), ColourOf(colour));
}

void Window::SetValue(Control control, int value)
{
    static_cast<QCheckBox*>(widget(control))->setCheckState(value == 1   ? Qt::Checked
                                                            : value == 2 ? Qt::PartiallyChecked
                                                                         : Qt::Unchecked);
}

void Window::SetLocked(Control control, bool locked)
{
    if (auto* check = dynamic_cast<CheckBox*>(widget(control)))
        check->SetLocked(locked);
    else
        static_cast<QLineEdit*>(widget(control))->setReadOnly(locked);
}

void Window::SetStrikeOut(Control control, bool strikeOut)
{
    QWidget* w = widget(control);
    QFont font = w->font();
    font.setStrikeOut(strikeOut);
    w->setFont(font);
}

void Window::SetFocus(Control control) { widget(control)->setFocus(Qt::OtherFocusReason); }

void Window::SelectAll(Control box) { static_cast<QLineEdit*>(widget(box))->selectAll(); }

void Window::ClearFocus() { focusSink_->setFocus(Qt::OtherFocusReason); }

void Window::Announce(std::string_view message) { announcer_->Say(FromUtf8(message)); }

void Window::SetAccessibleName(Control control, std::string_view name)
{
    widget(control)->setAccessibleName(FromUtf8(name));
}

void Window::SetAccessibleDescription(Control control, std::string_view description)
{
    widget(control)->setAccessibleDescription(FromUtf8(description));
}

std::int32_t Window::TxtNumOnly(Control box, bool on, drill::AnswerRule rule)
{
    qtui::TxtNumOnly(static_cast<QLineEdit*>(widget(box)), on, rule);
    return 0;
}

void Window::ShowMessage(std::string_view message)
{
    auto* dialog = new QMessageBox(QMessageBox::Warning, windowTitle(), FromUtf8(message), QMessageBox::Ok, this);
    dialog->setObjectName(QStringLiteral("message"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::finished, this, [this] { form_.MessageDismissed(); });
    dialog->open();
}

} // namespace qtui

#include "qt/controls.h"

#include "qt/accessibility.h"
#include "qt/panel.h"

#include <QCheckBox>
#include <QEvent>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace qtui {

using form::Kind;

namespace {

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
        auto* check = new CheckBox(text, container);
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

} // namespace

QWidget* MakeControl(const form::ControlEntry& entry, QWidget* container)
{
    QWidget* widget = Make(entry, container);
    if (entry.Font != form::Face::None)
        widget->setFont(FontOf(entry));
    if (entry.Fore)
        SetTextColour(widget, ColourOf(*entry.Fore));
    if (entry.Back && entry.Type != Kind::Panel)
        SetBackColour(widget, ColourOf(*entry.Back));
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setAlignment(AlignmentOf(entry));
    else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
        box->setAlignment(AlignmentOf(entry));
        box->setText(QString::fromUtf8(entry.Text));
    }
    if (entry.AccessibleName != nullptr)
        widget->setAccessibleName(QString::fromUtf8(entry.AccessibleName));
    if (entry.Has(form::TabStop))
        widget->setFocusPolicy(Qt::TabFocus);
    widget->setGeometry(Shown(entry.Left), Shown(entry.Top), qRound(entry.Width), qRound(entry.Height));
    if (entry.Has(form::Hidden))
        widget->hide();
    return widget;
}

QFont ArialBold(int pixelSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

QImage ReadPicture(const QString& path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

bool AutoSizeLabel::event(QEvent* event)
{
    if (event->type() == QEvent::Show && !fitted_) {
        fitted_ = true;
        adjustSize();
    }
    return QLabel::event(event);
}

void SetCaption(QLabel* label, const QString& caption)
{
    label->setText(caption);
    auto* autoSize = dynamic_cast<AutoSizeLabel*>(label);
    if (autoSize != nullptr && (autoSize->fitted_ || autoSize->isVisible())) {
        autoSize->fitted_ = true;
        autoSize->adjustSize();
    }
}

// Each kind of control names its own roles (a text box draws Text on Base, a check box
// WindowText on Button), so the roles are asked of the control rather than assumed.
void SetTextColour(QWidget* control, const QColor& colour)
{
    QPalette palette = control->palette();
    palette.setColor(control->foregroundRole(), colour);
    control->setPalette(palette);
}

QColor TextColour(const QWidget* control)
{
    return control->palette().color(control->foregroundRole());
}

void SetBackColour(QWidget* control, const QColor& colour)
{
    QPalette palette = control->palette();
    palette.setColor(control->backgroundRole(), colour);
    control->setPalette(palette);
    // A text box paints its own background; other controls only when asked to.
    if (qobject_cast<const QLineEdit*>(control) == nullptr)
        control->setAutoFillBackground(true);
}

} // namespace qtui

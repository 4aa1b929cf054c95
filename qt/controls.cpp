#include "qt/controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QVariant>
#include <QWidget>

namespace qtui {

namespace {

constexpr char kAutoSize[] = "autoSize";

} // namespace

QFont ArialBold(int pixelSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

void MarkAutoSize(QLabel* label)
{
    label->setProperty(kAutoSize, true);
    label->adjustSize();
}

bool IsAutoSize(const QLabel* label) { return label->property(kAutoSize).toBool(); }

void SetCaption(QLabel* label, const QString& caption)
{
    label->setText(caption);
    if (IsAutoSize(label))
        label->adjustSize();
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

#include "qt/controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QEvent>
#include <QImageReader>
#include <QWidget>

namespace qtui {

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

#pragma once

#include "form/controls.h"

#include <QCheckBox>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QString>

#include <type_traits>

class QLineEdit;
class QWidget;

namespace qtui {

inline QColor ColourOf(form::Rgb rgb) { return QColor(rgb.R, rgb.G, rgb.B); }

// The widget that stands for a control of the table, made inside its container with the
// entry's place, text, font, colours, alignment, accessible name and starting state.
QWidget* MakeControl(const form::ControlEntry& entry, QWidget* container);

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
    if constexpr (std::is_base_of_v<QLineEdit, W>)
        copy->setMaxLength(model->maxLength());
    copy->hide();
    return copy;
}

// The window's fonts are bold Arial (Liberation Sans where Arial is missing) at pixel sizes,
// so the layout comes out the same whatever the screen's dots per inch.
QFont ArialBold(int pixelSize);

// One of the program's own PNG pictures. Naming the format spares Qt from loading every image
// plugin it has to ask whether one of them reads PNG better: a millisecond of the start.
QImage ReadPicture(const QString& path);

// A label that grows from its top-left corner to fit each new caption. It first fits itself
// when it is first shown: labels that wait out of view load no font before they are needed,
// which keeps the first frame quick.
class AutoSizeLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    bool event(QEvent* event) override;

private:
    friend void SetCaption(QLabel* label, const QString& caption);
    bool fitted_ = false;
};

// A check box that can be locked: it then keeps its state whatever clicks it, the mouse, the
// keyboard or a screen reader's action.
class CheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;
    void SetLocked(bool locked) { locked_ = locked; }

protected:
    void nextCheckState() override
    {
        if (!locked_)
            QCheckBox::nextCheckState();
    }

private:
    bool locked_ = false;
};

// Use this for every caption change of a label; other labels keep their size.
void SetCaption(QLabel* label, const QString& caption);

// The colour of a control's characters: a text box's text, a label's or a check box's caption.
void SetTextColour(QWidget* control, const QColor& colour);
QColor TextColour(const QWidget* control);

// The background a text box or check box paints itself.
void SetBackColour(QWidget* control, const QColor& colour);

} // namespace qtui

#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

namespace qtui {

// The window's fonts are bold Arial (Liberation Sans where Arial is missing) at pixel sizes,
// so the layout comes out the same whatever the screen's dots per inch.
QFont ArialBold(int pixelSize);

// Labels that were created auto-size grow from their top-left corner to fit each new
// caption; the others keep their size. Use this for every caption change of a label.
void SetCaption(QLabel* label, const QString& caption);
void MarkAutoSize(QLabel* label);
bool IsAutoSize(const QLabel* label);

// The colour of a control's characters: a text box's text, a label's or a check box's caption.
void SetTextColour(QWidget* control, const QColor& colour);
QColor TextColour(const QWidget* control);

// The background a text box or check box paints itself.
void SetBackColour(QWidget* control, const QColor& colour);

} // namespace qtui

#pragma once

#include <QLineEdit>
#include <QString>
#include <QWidget>

namespace qtui {

// Gives the window's widgets the accessible interfaces a screen reader needs from them, and
// mends what Qt 6.4's AT-SPI bridge tells screen readers on Linux. Call once, after the
// application object is made.
void SetUpAccessibility();

// Every text box of the window: the settings boxes and the answer boxes. Taking the focus never
// selects its text; only a refused setting is shown selected.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override;
};

// What a screen reader says on its own when asked: an invisible notification of the window.
class Announcer : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget* window);
    void Say(const QString& message);
};

} // namespace qtui

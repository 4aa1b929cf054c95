#pragma once

#include "window/form1.h"
#include "window/pacer.h"

#include <QApplication>
#include <QEvent>

namespace window {

// While a sequence runs, clicks and keys aimed at this window are swallowed: no second
// transition can start and no button of the screen being left can be pressed. Closing the
// window is not an input event and still works.
class Form1::InputBlocker : public QObject {
public:
    explicit InputBlocker(Form1* form) : QObject(form), form_(form) {}

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
            return widget != nullptr && widget->window() == form_;
        }
        default:
            return false;
        }
    }

private:
    Form1* form_;
};

// Marks one sequence as running for as long as it lives, however the sequence ends.
class Form1::Sequence {
public:
    explicit Sequence(Form1& form) : form_(form)
    {
        form_.sequenceRunning_ = true;
        form_.easingHeld_ = true;
        qApp->installEventFilter(form_.inputBlocker_);
        form_.pacer_->begin();
    }
    ~Sequence()
    {
        qApp->removeEventFilter(form_.inputBlocker_);
        form_.easingHeld_ = false;
        form_.sequenceRunning_ = false;
        emit form_.sequenceFinished();
    }
    Sequence(const Sequence&) = delete;
    Sequence& operator=(const Sequence&) = delete;

private:
    Form1& form_;
};

} // namespace window

#pragma once

#include "drill/settings.h"
#include "window/form1.h"
#include "window/panel.h"

#include <QLineEdit>
#include <QString>
#include <QTimer>

#include <gtest/gtest.h>

#include <variant>

namespace window::test {

template <class T> T* Find(const Form1& form, const QString& name)
{
    T* control = form.findChild<T*>(name);
    EXPECT_NE(control, nullptr) << name.toStdString();
    return control;
}

inline Panel* List(const Form1& form) { return Find<Panel>(form, QStringLiteral("Picture2")); }
inline QTimer* Timer1(const Form1& form) { return Find<QTimer>(form, QStringLiteral("Timer1")); }

// The exercise screen as "Start" leaves it, without the slides that lead there: the title and
// settings panels out of the way, the list frame shown, the settings as typed checked and
// copied, the list built.
inline void StartExercise(Form1& form, int count, const char* timeLimit = "100")
{
    Find<QWidget>(form, QStringLiteral("Picture7"))->hide();
    Find<QWidget>(form, QStringLiteral("Picture6"))->hide();
    Find<QWidget>(form, QStringLiteral("Picture1"))->show();
    Find<QLineEdit>(form, QStringLiteral("Text1"))->setText(QString::number(count));
    Find<QLineEdit>(form, QStringLiteral("Text2"))->setText(QString::fromLatin1(timeLimit));
    const drill::SettingsVerdict verdict = drill::CheckSettings(form.settingsInput());
    ASSERT_TRUE(std::holds_alternative<drill::Settings>(verdict));
    drill::ReadSettings(form.state(), std::get<drill::Settings>(verdict));
    form.VymysliPriklady();
}

// Runs the easing timer's ticks directly until it switches itself off; returns the ticks run,
// or -1 when it was still running after far more ticks than any distance needs.
inline int EaseToRest(Form1& form)
{
    for (int ticks = 0; ticks < 10000; ++ticks) {
        if (!Timer1(form)->isActive())
            return ticks;
        form.Timer1_Timer();
    }
    return -1;
}

} // namespace window::test

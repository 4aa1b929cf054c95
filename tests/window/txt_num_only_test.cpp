// Digits-only answer boxes: what typing and pasting may put into them.

#include "window/txt_num_only.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace window {
namespace {

class DigitsOnlyBox : public testing::Test {
protected:
    DigitsOnlyBox()
    {
        box.setMaxLength(5);
        TxtNumOnly(&box, true);
    }

    void Paste(const QString& text)
    {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    }

    // A key of a Czech keyboard's number row: no Qt key of its own, only its text.
    void TypeLetter(const QString& letter)
    {
        QKeyEvent press(QEvent::KeyPress, letter.at(0).toUpper().unicode(), Qt::NoModifier, letter);
        QApplication::sendEvent(&box, &press);
    }

    QLineEdit box;
};

TEST_F(DigitsOnlyBox, TypedDigitsPassEverythingElseIsRefused)
{
    QTest::keyClicks(&box, QStringLiteral("1a-2,.3 "));
    EXPECT_EQ(box.text(), QStringLiteral("123"));
    QTest::keyClick(&box, Qt::Key_4, Qt::KeypadModifier);
    EXPECT_EQ(box.text(), QStringLiteral("1234"));
    QTest::keyClick(&box, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(box.text(), QStringLiteral("1234"));
}

TEST_F(DigitsOnlyBox, CzechNumberRowLettersAndASixthDigitAreRefused)
{
    for (const QChar letter : QStringLiteral("ěščřžýáíé"))
        TypeLetter(QString(letter));
    EXPECT_EQ(box.text(), QString());
    QTest::keyClicks(&box, QStringLiteral("123456"));
    EXPECT_EQ(box.text(), QStringLiteral("12345"));
}

TEST_F(DigitsOnlyBox, PastedTextMustBeDigitsOnly)
{
    for (const char* refused : {"+12", "1 234", "a7", "-5", "3.5", "2,5"}) {
        Paste(QLatin1String(refused));
        EXPECT_EQ(box.text(), QString()) << refused;
    }
    Paste(QStringLiteral("42"));
    EXPECT_EQ(box.text(), QStringLiteral("42"));
}

TEST_F(DigitsOnlyBox, SwitchingOffAcceptsAnythingAgainAndKeepsTheLimit)
{
    TxtNumOnly(&box, false);
    QTest::keyClicks(&box, QStringLiteral("a-1,5x9"));
    EXPECT_EQ(box.text(), QStringLiteral("a-1,5"));

    // Switching on twice leaves one filter that can be switched off once.
    box.clear();
    TxtNumOnly(&box, true);
    TxtNumOnly(&box, true);
    TxtNumOnly(&box, false);
    QTest::keyClicks(&box, QStringLiteral("x"));
    EXPECT_EQ(box.text(), QStringLiteral("x"));
}

} // namespace
} // namespace window

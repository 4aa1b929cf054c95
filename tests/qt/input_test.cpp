// What only Qt can get wrong for Form1: digits-only boxes, keys by meaning, no input during a
// slide, the marks as Qt shows them, and what a screen reader is told.

#include "test_window.h"

#include "qt/txt_num_only.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>

namespace qtui::test {
namespace {

using form::Id;

// A key of a Czech keyboard's number row: no Qt key of its own, only its text.
void TypeLetter(QWidget* box, QChar letter)
{
    QKeyEvent press(QEvent::KeyPress, letter.toUpper().unicode(), Qt::NoModifier, QString(letter));
    QApplication::sendEvent(box, &press);
}

void Paste(QWidget* box, const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}

TEST(AnswerRule, EveryWayTextComesInGoesThroughIt)
{
    // Typed, pasted, dropped and from an input method: the box keeps what the rule allows.
    TestWindow w;
    w.click(Id::Command3);
    QLineEdit* box = w.box(1);
    QTest::keyClicks(box, QStringLiteral("1a-2"));
    for (const QChar letter : QStringLiteral("ěšč"))
        TypeLetter(box, letter);
    EXPECT_EQ(box->text(), QStringLiteral("12"));
    Paste(box, QStringLiteral("x34567"));
    EXPECT_EQ(box->text(), QStringLiteral("12345")) << "a paste cut by the rule, not before it";
    box->clear();
    QMimeData dropped;
    dropped.setText(QStringLiteral("a7"));
    QDragEnterEvent enter(box->rect().center(), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(box->rect().center(), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    QApplication::sendEvent(box, &drop);
    EXPECT_EQ(box->text(), QStringLiteral("7"));
    box->end(false); // a drop leaves what it brought selected
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("\uFF18b"));
    QApplication::sendEvent(box, &composed);
    EXPECT_EQ(box->text(), QStringLiteral("78"));
    // The program's own texts are set as they are; switched off, the box takes anything again.
    w.SetText({Id::txtVysl, 1}, "?");
    EXPECT_EQ(box->text(), QStringLiteral("?"));
    TxtNumOnly(box, false, {});
    box->clear();
    QTest::keyClicks(box, QStringLiteral("a-1,5x9"));
    EXPECT_EQ(box->text(), QStringLiteral("a-1,5"));
}

TEST(Input, NothingTypedOrClickedDuringASlideArrives)
{
    Window w(2001); // real pauses
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* count = static_cast<QLineEdit*>(w.widget({Id::Text1}));
    QTest::mouseClick(w.widget({Id::Command3}), Qt::LeftButton);
    ASSERT_TRUE(w.form().SequenceRunning());
    QTest::keyClicks(count, QStringLiteral("5"));
    QTest::mouseClick(w.widget({Id::Check1}), Qt::LeftButton);
    QTest::mouseClick(w.widget({Id::Command3}), Qt::LeftButton);
    EXPECT_EQ(count->text(), QStringLiteral("10"));
    EXPECT_EQ(w.Value({Id::Check1}), 1) << "a check box was clicked during the slide";
    // Closing in the middle of the slide ends it at once.
    w.close();
    EXPECT_FALSE(w.form().SequenceRunning());
    EXPECT_EQ(w.form().RowCount(), 0);
}

QString Spoken(QWidget* w, QAccessible::Text what = QAccessible::Name)
{
    return QAccessible::queryAccessibleInterface(w)->text(what);
}

TEST(Input, EveryPrintableCharacterStaysInItsBox)
{
    // Qt's codes of "!" or "$" are Windows' codes of Page Up or Home: keys go by meaning.
    TestWindow w;
    w.click(Id::Command3);
    QTest::keyClick(w.box(1), Qt::Key_Down);
    for (char c = ' '; c <= '~'; ++c) {
        QTest::keyClicks(w.box(2), QString(QLatin1Char(c)));
        ASSERT_EQ(QApplication::focusWidget(), w.box(2)) << "after '" << c << "'";
    }
    EXPECT_EQ(w.box(2)->text(), QStringLiteral("01234"));
}

// One exercise through real keys and clicks: what Qt shows of Form1's marks and what it tells a
// screen reader on the way.
TEST(Exercise, WhatTheWindowShowsAndTellsAScreenReader)
{
    TestWindow w;
    auto iface = [](QWidget* p) { return QAccessible::queryAccessibleInterface(p); };
    EXPECT_EQ(iface(&w)->role(), QAccessible::Window);
    EXPECT_EQ(iface(&w)->text(QAccessible::Name), QStringLiteral("Sumatko 2001"));
    EXPECT_TRUE(iface(w.widget({Id::Picture5}))->state().invisible) << "the results wait beyond the edge";
    EXPECT_FALSE(Spoken(w.widget({Id::Image1})).isEmpty());
    // A settings box is read whole: its text is one run of attributes, whatever the offset.
    QAccessibleTextInterface* count = iface(w.widget({Id::Text1}))->textInterface();
    ASSERT_NE(count, nullptr);
    int start = -1, end = -1;
    count->attributes(1, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(0, 2));

    ASSERT_EQ(QApplication::focusWidget(), w.widget({Id::Command3}));
    QTest::keyClick(w.widget({Id::Command3}), Qt::Key_Return);
    w.settle();
    ASSERT_EQ(w.form().RowCount(), 10);
    EXPECT_EQ(Spoken(w.box(3)), QString::fromStdString(form::SpokenProblem(w.form().State().Problems[3])));
    EXPECT_EQ(Spoken(w.widget({Id::Picture4}), QAccessible::Description), QStringLiteral("1 minuta 40 sekund"));
    QTest::mouseClick(w.box(7), Qt::LeftButton);
    EXPECT_EQ(w.form().State().ScrollTarget, 88 - 44 * 7);
    QTest::keyClick(w.box(7), Qt::Key_Backtab);
    ASSERT_EQ(QApplication::focusWidget(), w.box(6)) << "Shift+Tab goes where Form1 says";
    QTest::keyClicks(w.box(6), QString::number(w.result(6)));
    QTest::keyClick(w.box(6), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClicks(w.box(7), QString::number(w.result(7) + 1));
    QTest::keyClick(w.box(7), Qt::Key_End);
    QTest::keyClick(w.box(10), Qt::Key_Tab);
    QTest::keyClick(w.widget({Id::Picture4}), Qt::Key_Tab);
    QTest::keyClick(w.widget({Id::Command1}), Qt::Key_Space);
    w.settle();

    auto colour = [&](int row) { return w.box(row)->palette().color(QPalette::Text); };
    EXPECT_EQ(colour(6), QColor(0, 0, 128));
    EXPECT_EQ(colour(7), QColor(255, 0, 0));
    EXPECT_TRUE(w.box(7)->font().strikeOut() && !w.box(6)->font().strikeOut());
    EXPECT_EQ(w.box(1)->text(), QStringLiteral("?"));
    EXPECT_EQ(colour(1), QColor(255, 64, 64));
    EXPECT_EQ(Spoken(w.box(7), QAccessible::Description), QStringLiteral("špatně"));
    EXPECT_EQ(Spoken(w.widget({Id::Label12})), QStringLiteral("Nestihl 8"));
    ASSERT_EQ(QApplication::focusWidget(), w.box(1));
    EXPECT_FALSE(w.box(1)->hasSelectedText()) << "a marked answer shown selected";
    QTest::keyClicks(w.box(6), QStringLiteral("9"));
    EXPECT_EQ(w.box(6)->text(), QString::number(w.result(6))) << "a locked box took a key";

    // The results are said by a notification that appears with them.
    w.click(Id::Command2);
    auto* announcer = w.findChild<QWidget*>(QStringLiteral("announcer"));
    ASSERT_NE(announcer, nullptr);
    EXPECT_EQ(iface(announcer)->role(), QAccessible::Notification);
    EXPECT_EQ(Spoken(announcer), QStringLiteral("Dobře spočítal 1, špatně spočítal 1, nestihl 8, známka 5"));
}

} // namespace
} // namespace qtui::test

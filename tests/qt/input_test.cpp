// What only Qt can get wrong for Form1: every way into an answer box, and no input during a
// slide. (What Qt's interfaces tell a screen reader, Orca hears: tests/orca.)

#include "test_window.h"

#include "qt/txt_num_only.h"

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

} // namespace
} // namespace qtui::test

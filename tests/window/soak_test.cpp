// Fifty full exercises of 999 rows through one window: the counts must keep adding up, and
// "Znovu" must leave nothing behind — no rows and no widgets piling up from one exercise to the
// next. Under the sanitizer preset, LeakSanitizer checks at exit that nothing leaked either.

#include "window_test_support.h"

#include "drill/marking.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace window::test {
namespace {

constexpr int kExercises = 50;
constexpr int kRows = 999;

enum class Kind { Correct, Wrong, Empty };

// Which answer a row gets; the pattern shifts with each exercise so that the counts differ
// from one exercise to the next.
Kind KindFor(int exercise, int row) { return static_cast<Kind>((row + exercise) % 3); }

// Digits only: a negative result cannot be typed, so it gets only wrong answers.
QString AnswerFor(Kind kind, int result)
{
    const int magnitude = result < 0 ? -result : result;
    if (kind == Kind::Correct && result >= 0)
        return QString::number(result);
    return QString::number(magnitude + 1);
}

class Soak : public testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<Form1>(2001, std::make_unique<InstantPacer>());
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        Type("Text1", QString::number(kRows));
        // Long enough that the clock never ends an exercise while the rows are typed.
        Type("Text2", QStringLiteral("99999"));
    }

    template <class T> T* Get(const char* name) const { return Find<T>(*form, QString::fromLatin1(name)); }
    void Click(const char* name) const
    {
        QTest::mouseClick(Get<QPushButton>(name), Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    void Type(const char* box, const QString& text) const
    {
        auto* edit = Get<QLineEdit>(box);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    int Count(const char* label) const { return Get<QLabel>(label)->text().toInt(); }

    // Answers row by row as a pupil does: type into the focused box, Enter to the next.
    // Returns what was typed into each row (index 0 unused).
    std::vector<QString> AnswerRows(int exercise) const
    {
        std::vector<QString> typed(static_cast<std::size_t>(form->rowCount()) + 1);
        for (int row = 1; row <= form->rowCount(); ++row) {
            QWidget* focused = QApplication::focusWidget();
            EXPECT_EQ(focused, form->txtVysl(row));
            if (focused != form->txtVysl(row))
                return typed;
            QString& text = typed[static_cast<std::size_t>(row)];
            const Kind kind = KindFor(exercise, row);
            if (kind != Kind::Empty)
                text = AnswerFor(kind, Result(row));
            QTest::keyClicks(focused, text);
            EXPECT_EQ(form->txtVysl(row)->text(), text);
            QTest::keyClick(focused, Qt::Key_Return);
        }
        return typed;
    }

    int Result(int row) const { return form->state().Problems[static_cast<std::size_t>(row)].Result; }

    std::unique_ptr<Form1> form;
};

TEST_F(Soak, FiftyExercisesOfNineHundredNinetyNineRowsLeaveNothingBehind)
{
    qsizetype childrenAfterFirst = -1;
    qsizetype widgetsAfterFirst = -1;
    for (int exercise = 0; exercise < kExercises; ++exercise) {
        SCOPED_TRACE(testing::Message() << "exercise " << exercise);
        Click("Command3");
        ASSERT_EQ(form->rowCount(), kRows);
        const std::vector<QString> typed = AnswerRows(exercise);
        ASSERT_FALSE(HasFailure());
        std::array<int, 3> expected{}; // indexed by AnswerMark
        for (int row = 1; row <= kRows; ++row)
            ++expected[static_cast<std::size_t>(drill::MarkAnswer(typed[static_cast<std::size_t>(row)].toStdString(),
                                                                  static_cast<std::int16_t>(Result(row))))];

        Click("Command1");
        const int correct = Count("Label10");
        const int wrong = Count("Label11");
        const int empty = Count("Label12");
        EXPECT_EQ(correct + wrong + empty, kRows);
        EXPECT_EQ(correct, expected[static_cast<std::size_t>(drill::AnswerMark::Correct)]);
        EXPECT_EQ(wrong, expected[static_cast<std::size_t>(drill::AnswerMark::Wrong)]);
        EXPECT_EQ(empty, expected[static_cast<std::size_t>(drill::AnswerMark::Empty)]);
        // Every typed answer is still there, marked in place; the rest became question marks.
        for (int row = 1; row <= kRows; ++row) {
            const QString& text = typed[static_cast<std::size_t>(row)];
            EXPECT_EQ(form->txtVysl(row)->text(), text.isEmpty() ? QStringLiteral("?") : text) << "row " << row;
        }

        Click("Command2");
        ASSERT_EQ(Get<QPushButton>("Command2")->text(), "Příklady");
        Click("Command4");
        EXPECT_EQ(form->rowCount(), 0);
        EXPECT_TRUE(Get<QWidget>("Picture7")->isVisible()) << "not back on the start screen";

        // A row that was only scheduled for deletion would still count as a child.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // Only the two templates, element 0 of each array, may remain.
        const QRegularExpression row(QStringLiteral("^(txtVysl|lblPrikl)\\([1-9]\\d*\\)$"));
        EXPECT_EQ(form->findChildren<QWidget*>(row).size(), 0);
        const qsizetype children = form->findChildren<QObject*>().size();
        const qsizetype widgets = QApplication::allWidgets().size();
        if (exercise == 0) {
            childrenAfterFirst = children;
            widgetsAfterFirst = widgets;
        }
        EXPECT_EQ(children, childrenAfterFirst);
        EXPECT_EQ(widgets, widgetsAfterFirst);
        ASSERT_FALSE(HasFailure()) << "stopping at the first exercise that went wrong";
    }
}

} // namespace
} // namespace window::test

// Whole exercises through the real window: clicks and typed keys, with a pacer that never
// waits (or one the test steps by hand), so even 999 rows finish in no time.

#include "window_test_support.h"

#include "manual_pacer.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

namespace window::test {
namespace {

struct Exercise {
    explicit Exercise(bool holding = false)
    {
        auto owned = std::make_unique<ManualPacer>();
        pacer = owned.get();
        pacer->holding = holding;
        form = std::make_unique<Form1>(2001, std::move(owned));
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    template <class T> T* get(const char* name) const { return Find<T>(*form, QString::fromLatin1(name)); }
    QString caption(const char* name) const { return get<QLabel>(name)->text(); }
    Panel* panel(const char* name) const { return get<Panel>(name); }
    void click(const char* name) const { QTest::mouseClick(get<QPushButton>(name), Qt::LeftButton); }
    void type(const char* box, const QString& text) const
    {
        auto* edit = get<QLineEdit>(box);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    // Answers row by row as a pupil does: type into the focused box, Enter to the next.
    void answer(const std::function<QString(int row, int result)>& answerFor) const
    {
        for (int row = 1; row <= form->rowCount(); ++row) {
            QWidget* focused = QApplication::focusWidget();
            EXPECT_EQ(focused, form->txtVysl(row));
            QTest::keyClicks(focused, answerFor(row, form->state().Problems[static_cast<std::size_t>(row)].Result));
            QTest::keyClick(focused, Qt::Key_Return);
        }
    }
    std::unique_ptr<Form1> form;
    ManualPacer* pacer = nullptr;
};

QColor Colour(QLineEdit* box) { return box->palette().color(QPalette::Text); }

QString Correct(int, int result) { return QString::number(result); }

TEST(Exercise, AllTenCorrectGivesGradeOne)
{
    Exercise e;
    e.click("Command3");
    ASSERT_EQ(e.form->rowCount(), 10);
    e.answer(Correct);
    e.click("Command1");
    EXPECT_EQ(e.caption("Label10"), "010");
    EXPECT_EQ(e.caption("Label11"), "000");
    EXPECT_EQ(e.caption("Label12"), "000");
    EXPECT_EQ(e.caption("lblZnamka"), "1");
    for (int row = 1; row <= 10; ++row) {
        EXPECT_EQ(Colour(e.form->txtVysl(row)), QColor(0, 0, 128));
        EXPECT_TRUE(e.form->txtVysl(row)->isReadOnly());
    }
    EXPECT_TRUE(e.get<QPushButton>("Command2")->isVisible());
    EXPECT_FALSE(e.get<QPushButton>("Command1")->isEnabled()) << "Hotovo! must not run a second time";
}

TEST(Exercise, NothingAnsweredGivesQuestionMarksAndGradeFive)
{
    Exercise e;
    e.click("Command3");
    e.click("Command1");
    for (int row = 1; row <= 10; ++row) {
        EXPECT_EQ(e.form->txtVysl(row)->text(), "?");
        EXPECT_EQ(Colour(e.form->txtVysl(row)), QColor(255, 64, 64));
    }
    EXPECT_EQ(e.caption("Label10"), "000");
    EXPECT_EQ(e.caption("Label11"), "000");
    EXPECT_EQ(e.caption("Label12"), "010");
    EXPECT_EQ(e.caption("lblZnamka"), "5");
    EXPECT_EQ(e.form->txtVysl(3)->accessibleDescription(), "nevyplněno");
    // What a screen reader is given for the results.
    auto spoken = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); };
    EXPECT_EQ(spoken(e.get<QLabel>("Label12")), "Nestihl 10");
    EXPECT_EQ(spoken(e.get<QLabel>("lblZnamka")), "Známka 5");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(e.form->txtVysl(3))->text(QAccessible::Description), "nevyplněno");
}

TEST(Exercise, ThreeWrongAndTwoEmptyGiveGradeThree)
{
    Exercise e;
    e.click("Command3");
    e.answer([](int row, int result) {
        if (row <= 3)
            return QString::number(result + 1);
        if (row <= 5)
            return QString();
        return QString::number(result);
    });
    e.click("Command1");
    EXPECT_EQ(e.caption("Label10"), "005");
    EXPECT_EQ(e.caption("Label11"), "003");
    EXPECT_EQ(e.caption("Label12"), "002");
    EXPECT_EQ(e.caption("lblZnamka"), "3");
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(Colour(e.form->txtVysl(row)), QColor(255, 0, 0));
        EXPECT_TRUE(e.form->txtVysl(row)->font().strikeOut());
        EXPECT_EQ(e.form->txtVysl(row)->accessibleDescription(), "špatně");
    }
    EXPECT_EQ(e.form->txtVysl(4)->text(), "?");
    EXPECT_FALSE(e.form->txtVysl(6)->font().strikeOut());
    EXPECT_EQ(e.form->txtVysl(6)->accessibleDescription(), "správně");
}

TEST(Exercise, ClockRunningOutFinishesAndHotovoKeepsTheTimeLeft)
{
    Exercise e;
    e.type("Text2", "3");
    e.click("Command3");
    EXPECT_EQ(e.caption("lblCas"), "00:00:03");
    e.form->tmrCas_Timer();
    e.form->tmrCas_Timer();
    EXPECT_EQ(e.caption("Label12"), "000") << "not finished yet";
    e.form->tmrCas_Timer();
    EXPECT_EQ(e.caption("lblCas"), "00:00:00");
    EXPECT_EQ(e.caption("Label12"), "010");
    EXPECT_EQ(e.caption("lblZnamka"), "5");

    Exercise early;
    early.type("Text2", "40");
    early.click("Command3");
    for (int i = 0; i < 3; ++i)
        early.form->tmrCas_Timer();
    early.click("Command1");
    EXPECT_EQ(early.caption("lblCas"), "00:00:37");
    EXPECT_FALSE(early.get<QTimer>("tmrCas")->isActive());
}

TEST(Exercise, ListComesBackToRowOneAfterTheFinishEvenWhenRowOneHadTheFocus)
{
    Exercise e;
    e.click("Command3");
    ASSERT_GE(EaseToRest(*e.form), 0);
    ASSERT_EQ(QApplication::focusWidget(), e.form->txtVysl(1));
    e.click("Command1");
    ASSERT_GE(EaseToRest(*e.form), 0);
    EXPECT_EQ(List(*e.form)->topF(), 44.0f);
}

TEST(Exercise, ToggleTwiceReturnsToTheListAndZnovuRestoresTheStartScreen)
{
    Exercise e;
    e.type("Text4", "12");
    e.click("Command3");
    e.click("Command1");
    EXPECT_EQ(e.panel("Picture5")->leftF(), 600.0f);

    e.click("Command2");
    EXPECT_EQ(e.get<QPushButton>("Command2")->text(), "Příklady");
    EXPECT_EQ(e.panel("Picture5")->leftF(), 5.0f);
    EXPECT_EQ(e.panel("Picture6")->leftF(), 165.0f);
    EXPECT_EQ(e.panel("Picture6")->topF(), 5.0f);
    EXPECT_FALSE(e.panel("Picture6")->isEnabled());

    e.click("Command2");
    EXPECT_EQ(e.get<QPushButton>("Command2")->text(), "Známka");
    EXPECT_EQ(e.panel("Picture6")->topF(), -190.0f);
    EXPECT_EQ(e.panel("Picture5")->leftF(), 700.0f);

    e.click("Command2");
    e.click("Command4");
    EXPECT_EQ(e.form->rowCount(), 0);
    EXPECT_TRUE(e.panel("Picture7")->isVisible());
    EXPECT_EQ(e.panel("Picture7")->leftF(), 6.0f);
    EXPECT_EQ(e.panel("Picture6")->leftF(), 300.0f);
    EXPECT_EQ(e.panel("Picture6")->topF(), 27.0f);
    EXPECT_TRUE(e.panel("Picture6")->isEnabled());
    EXPECT_FALSE(e.get<QPushButton>("Command2")->isVisible());
    EXPECT_FALSE(e.panel("Picture1")->isVisible());
    EXPECT_FALSE(e.panel("Picture2")->isVisible());
    EXPECT_EQ(e.get<QLineEdit>("Text4")->text(), "12");
    EXPECT_EQ(QApplication::focusWidget(), e.get<QLineEdit>("Text1"));

    // A second exercise: the results panel now enters from 700.
    e.click("Command3");
    ASSERT_EQ(e.form->rowCount(), 10);
    EXPECT_TRUE(e.get<QPushButton>("Command1")->isEnabled());
    e.answer(Correct);
    e.click("Command1");
    EXPECT_EQ(e.caption("lblZnamka"), "1");
    std::vector<float> path;
    e.pacer->onPause = [&] { path.push_back(e.panel("Picture5")->leftF()); };
    e.click("Command2");
    ASSERT_FALSE(path.empty());
    EXPECT_NEAR(path.front(), 468.33, 0.01);
    EXPECT_EQ(e.panel("Picture5")->leftF(), 5.0f);
}

TEST(Exercise, StartAndFinishPassThroughTheExpectedPositions)
{
    Exercise e;
    std::vector<float> settingsTop, titleLeft, listTop;
    e.pacer->onPause = [&] {
        settingsTop.push_back(e.panel("Picture6")->topF());
        titleLeft.push_back(e.panel("Picture7")->leftF());
    };
    e.click("Command3");
    const std::vector<double> slide1{-48.67, -99.11, -132.74, -155.16, -170.11, -180.07, -186.71, -191.14};
    ASSERT_EQ(settingsTop.size(), 8u + 11u);
    for (std::size_t i = 0; i < slide1.size(); ++i)
        EXPECT_NEAR(settingsTop[i], slide1[i], 0.006) << i;
    EXPECT_EQ(settingsTop[8], -190.0f);
    EXPECT_NEAR(titleLeft[8], -196.0, 0.006);
    EXPECT_NEAR(titleLeft.back(), -592.99, 0.006);
    EXPECT_EQ(e.panel("Picture7")->leftF(), -600.0f);
    EXPECT_FALSE(e.panel("Picture7")->isVisible());

    ASSERT_GE(EaseToRest(*e.form), 0);
    e.pacer->pauses.clear();
    e.pacer->onPause = [&] { listTop.push_back(List(*e.form)->topF()); };
    e.click("Command1");
    // 1 s, then 6 steps of 10 ms per problem, then 1.5 s.
    ASSERT_EQ(e.pacer->pauses.size(), 62u);
    EXPECT_EQ(e.pacer->pauses.front(), std::chrono::milliseconds(1000));
    EXPECT_EQ(e.pacer->pauses[1], std::chrono::milliseconds(10));
    EXPECT_EQ(e.pacer->pauses.back(), std::chrono::milliseconds(1500));
    EXPECT_NEAR(listTop[1], 44 - 44.0 / 3, 0.001);
    EXPECT_NEAR(listTop[60], 44 - 880, 0.01);
}

TEST(Exercise, ClicksAndKeysDuringASlideStartNothing)
{
    Exercise e(/*holding=*/true);
    e.click("Command3");
    ASSERT_TRUE(e.pacer->waiting());
    const std::size_t pausesSoFar = e.pacer->pauses.size();
    e.click("Command3");
    QTest::keyClicks(e.get<QLineEdit>("Text1"), "5");
    QTest::keyClick(e.get<QPushButton>("Command3"), Qt::Key_Space);
    EXPECT_EQ(e.pacer->pauses.size(), pausesSoFar) << "a second Start began";
    EXPECT_EQ(e.get<QLineEdit>("Text1")->text(), "10");

    e.pacer->releaseAll();
    EXPECT_EQ(e.form->rowCount(), 10);
    EXPECT_EQ(e.panel("Picture6")->topF(), -190.0f);

    // The easing holds still while the list scrolls out, and goes on afterwards.
    e.pacer->holding = true;
    e.click("Command1");
    ASSERT_TRUE(e.pacer->waiting());
    const float before = List(*e.form)->topF();
    e.form->Timer1_Timer();
    EXPECT_EQ(List(*e.form)->topF(), before);
    e.pacer->releaseAll();
    EXPECT_EQ(e.caption("Label12"), "010");
}

TEST(Exercise, ClosingMidFinishEndsCleanly)
{
    Exercise e(/*holding=*/false);
    e.click("Command3");
    e.pacer->holding = true;
    e.click("Command1");
    ASSERT_TRUE(e.pacer->waiting());
    e.form->close();
    e.form.reset(); // resumes the waiting sequence, which must end without touching anything
    SUCCEED();
}

TEST(Exercise, BadSettingsNeverSlide)
{
    Exercise e;
    e.type("Text1", "0");
    e.click("Command3");
    auto* box = e.form->findChild<QMessageBox*>(QStringLiteral("refusal"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Sumatko 2001");
    EXPECT_EQ(box->text(), "Počet příkladů musí být celé číslo od 1 do 999.");
    EXPECT_TRUE(e.pacer->pauses.empty());
    EXPECT_EQ(e.panel("Picture6")->topF(), 27.0f);
    EXPECT_TRUE(e.panel("Picture7")->isVisible());
    EXPECT_FALSE(e.panel("Picture1")->isVisible());
    box->accept();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(QApplication::focusWidget(), e.get<QLineEdit>("Text1"));

    e.type("Text1", "10");
    e.get<QCheckBox>("Check1")->setChecked(false);
    e.get<QCheckBox>("Check2")->setChecked(false);
    e.get<QCheckBox>("Check3")->setChecked(false);
    e.get<QCheckBox>("Check4")->setChecked(false);
    e.click("Command3");
    box = e.form->findChild<QMessageBox*>(QStringLiteral("refusal"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Zaškrtněte aspoň jednu operaci.");
    box->accept();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(QApplication::focusWidget(), e.get<QCheckBox>("Check1"));
}

} // namespace
} // namespace window::test

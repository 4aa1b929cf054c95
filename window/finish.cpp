#include "window/form1.h"

#include "drill/marking.h"
#include "drill/motion.h"
#include "window/controls.h"
#include "window/pacer.h"
#include "window/panel.h"
#include "window/sequence.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace window {

using namespace std::chrono_literals;

namespace {

const QColor kMarkerGrey(128, 128, 128);
const QColor kCorrectNavy(0, 0, 128);
const QColor kWrongRed(255, 0, 0);
const QColor kEmptyRed(255, 64, 64);

QString Padded(int count) { return QStringLiteral("%1").arg(count, 3, 10, QLatin1Char('0')); }

} // namespace

void Form1::Command1_Click()
{
    JeHotovo();
}

QCoro::Task<> Form1::JeHotovo()
{
    tmrCas->stop();
    // Once per exercise: a second run would count every "?" as a wrong answer.
    if (!exerciseRunning_ || sequenceRunning_)
        co_return;
    exerciseRunning_ = false;
    Sequence sequence(*this);
    const int n = rowCount();
    for (int i = 1; i <= n; ++i)
        txtVysl(i)->setReadOnly(true);
    SetTextColour(lblSipka1, kMarkerGrey);
    SetTextColour(lblSipka2, kMarkerGrey);
    if (!co_await pacer_->pause(1000ms))
        co_return;

    for (int step = 0; step < drill::ScrollOutSteps(n); ++step) {
        Picture2->setTopF(drill::ScrollOutStep(Picture2->topF()));
        if (!co_await pacer_->pause(10ms))
            co_return;
    }
    if (!co_await pacer_->pause(1500ms))
        co_return;

    int correct = 0;
    int wrong = 0;
    int empty = 0;
    for (int i = 1; i <= n; ++i) {
        QLineEdit* box = txtVysl(i);
        const auto mark = drill::MarkAnswer(box->text().toStdString(), state_.Problems[static_cast<std::size_t>(i)].Result);
        ShowMark(box, mark);
        correct += mark == drill::AnswerMark::Correct;
        wrong += mark == drill::AnswerMark::Wrong;
        empty += mark == drill::AnswerMark::Empty;
    }

    Command2->show();
    // "Hotovo!" stays under "Známka" and must not be reached by Tab or a key either.
    Command1->setEnabled(false);

    const QString grade = QString::number(drill::ComputeGrade(correct, wrong, empty, n));
    SetCaption(lblZnamka, grade);
    SetCaption(Label10, Padded(correct));
    SetCaption(Label11, Padded(wrong));
    SetCaption(Label12, Padded(empty));
    // A screen reader hears each count with what it counts, and the grade as a grade.
    lblZnamka->setAccessibleName(QStringLiteral("Známka %1").arg(grade));
    Label10->setAccessibleName(QStringLiteral("Dobře spočítal %1").arg(correct));
    Label11->setAccessibleName(QStringLiteral("Špatně spočítal %1").arg(wrong));
    Label12->setAccessibleName(QStringLiteral("Nestihl %1").arg(empty));

    // Bring row 1 back between the markers, also when it already had the focus and so no
    // focus change would do it.
    txtVysl(1)->setFocus(Qt::OtherFocusReason);
    txtVysl_GotFocus(1);
}

void Form1::ShowMark(QLineEdit* box, drill::AnswerMark mark)
{
    switch (mark) {
    case drill::AnswerMark::Empty:
        box->setText(QStringLiteral("?"));
        SetTextColour(box, kEmptyRed);
        box->setAccessibleDescription(QStringLiteral("nevyplněno"));
        break;
    case drill::AnswerMark::Wrong: {
        SetTextColour(box, kWrongRed);
        QFont font = box->font();
        font.setStrikeOut(true);
        box->setFont(font);
        box->setAccessibleDescription(QStringLiteral("špatně"));
        break;
    }
    case drill::AnswerMark::Correct:
        SetTextColour(box, kCorrectNavy);
        box->setAccessibleDescription(QStringLiteral("správně"));
        break;
    }
}

} // namespace window

// The end of an exercise: lock, scroll the list out, mark every answer, count and grade.

#include "form/form1.h"

#include "drill/marking.h"
#include "drill/motion.h"
#include "form/sequence.h"

#include <cstdio>
#include <vector>

namespace form {

using namespace std::chrono_literals;

namespace {

constexpr Rgb kMarkerGrey{128, 128, 128};
constexpr Rgb kCorrectNavy{0, 0, 128};
constexpr Rgb kWrongRed{255, 0, 0};
constexpr Rgb kEmptyRed{255, 64, 64};

std::string Padded(int count)
{
    char text[16];
    std::snprintf(text, sizeof text, "%03d", count);
    return text;
}

} // namespace

void Form1::Command1_Click() { (void)JeHotovo(); }

Task<> Form1::JeHotovo()
{
    EnableTimer(Id::tmrCas, false);
    // Once per exercise: a second run would count every "?" as a wrong answer.
    if (closed_ || !exerciseRunning_ || sequence_)
        co_return;
    exerciseRunning_ = false;
    Sequence sequence(*this);
    // Nothing holds the focus while the list is away: the marks go onto boxes that no screen
    // reader is reading, and row 1 is heard whole, verdict and all, when it takes the focus.
    if (focused_)
        DropFocus();
    // The clock may have stopped before its next tick could catch up with a focus that left it.
    DescribeClock();
    const int n = RowCount();
    for (int i = 1; i <= n; ++i) {
        At({Id::txtVysl, i}).Locked = true;
        toolkit_.SetLocked({Id::txtVysl, i}, true);
    }
    // The answers can no longer change: the outcome is known, and kept, before anything moves.
    std::vector<drill::AnswerMark> marks;
    int correct = 0;
    int wrong = 0;
    int empty = 0;
    for (int i = 1; i <= n; ++i) {
        const std::int16_t result = state_.Problems[static_cast<std::size_t>(i)].Result;
        marks.push_back(drill::MarkAnswer(toolkit_.Text({Id::txtVysl, i}), result));
        correct += marks.back() == drill::AnswerMark::Correct;
        wrong += marks.back() == drill::AnswerMark::Wrong;
        empty += marks.back() == drill::AnswerMark::Empty;
    }
    const int grade = drill::ComputeGrade(correct, wrong, empty, n);
    if (Finished)
        Finished({started_, correct, wrong, empty, grade, state_.TimeLimit - state_.SecondsLeft});
    SetColour({Id::lblSipka1}, kMarkerGrey);
    SetColour({Id::lblSipka2}, kMarkerGrey);
    if (!co_await PaintAndWait(1000ms))
        co_return;

    for (int step = 0; step < drill::ScrollOutSteps(n); ++step) {
        SetTop(Id::Picture2, drill::ScrollOutStep(At({Id::Picture2}).Top));
        if (!co_await PaintAndWait(10ms))
            co_return;
    }
    if (!co_await Wait(1500ms))
        co_return;

    for (int i = 1; i <= n; ++i)
        ShowMark(i, marks[static_cast<std::size_t>(i - 1)]);
    Show({Id::Command2}, true);

    SetCaption({Id::lblZnamka}, std::to_string(grade));
    SetCaption({Id::Label10}, Padded(correct));
    SetCaption({Id::Label11}, Padded(wrong));
    SetCaption({Id::Label12}, Padded(empty));
    // A screen reader hears each count with what it counts, and the grade as a grade.
    toolkit_.SetAccessibleName({Id::lblZnamka}, "Známka " + std::to_string(grade));
    toolkit_.SetAccessibleName({Id::Label10}, "Dobře spočítal " + std::to_string(correct));
    toolkit_.SetAccessibleName({Id::Label11}, "Špatně spočítal " + std::to_string(wrong));
    toolkit_.SetAccessibleName({Id::Label12}, "Nestihl " + std::to_string(empty));
    spokenResults_ = "Dobře spočítal " + std::to_string(correct) + ", špatně spočítal " + std::to_string(wrong) +
                     ", nestihl " + std::to_string(empty) + ", známka " + std::to_string(grade);

    // Row 1 takes the focus, which brings it back between the markers.
    if (n > 0)
        Focus({Id::txtVysl, 1});
}

void Form1::ShowMark(int index, drill::AnswerMark mark)
{
    const Control box{Id::txtVysl, index};
    switch (mark) {
    case drill::AnswerMark::Empty:
        SetCaption(box, "?");
        SetColour(box, kEmptyRed);
        toolkit_.SetAccessibleDescription(box, "nevyplněno");
        break;
    case drill::AnswerMark::Wrong:
        SetColour(box, kWrongRed);
        At(box).StrikeOut = true;
        toolkit_.SetStrikeOut(box, true);
        toolkit_.SetAccessibleDescription(box, "špatně");
        break;
    case drill::AnswerMark::Correct:
        SetColour(box, kCorrectNavy);
        toolkit_.SetAccessibleDescription(box, "správně");
        break;
    }
}

} // namespace form

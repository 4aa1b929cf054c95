// The problem list: one row per problem (a caption and a digits-only answer box), moved as a
// whole so that the focused row eases into the marker band.

#include "form/form1.h"

#include "drill/generator.h"
#include "drill/motion.h"

#include <algorithm>
#include <stdexcept>

namespace form {

namespace {

constexpr Rgb kMarkersInUse{0, 0, 192};

std::optional<drill::RowKey> RowKeyOf(int key)
{
    switch (key) {
    case keys::Enter: return drill::RowKey::Enter;
    case keys::Up: return drill::RowKey::Up;
    case keys::Down: return drill::RowKey::Down;
    case keys::PageUp: return drill::RowKey::PageUp;
    case keys::PageDown: return drill::RowKey::PageDown;
    case keys::Home: return drill::RowKey::Home;
    case keys::End: return drill::RowKey::End;
    default: return std::nullopt;
    }
}

} // namespace

std::string RowCaption(const drill::ProblemRecord& problem)
{
    return std::to_string(problem.First) + " " + std::string(drill::OperationSign(problem.Op)) + " " +
           std::to_string(problem.Second) + " =";
}

std::string SpokenProblem(const drill::ProblemRecord& problem)
{
    static constexpr const char* kWords[] = {"plus", "mínus", "krát", "děleno"};
    auto number = [](int n) { return n < 0 ? "mínus " + std::to_string(-n) : std::to_string(n); };
    const auto op = static_cast<std::size_t>(std::clamp(problem.Op, 0, 3));
    return number(problem.First) + " " + kWords[op] + " " + number(problem.Second);
}

void Form1::VymysliPriklady()
{
    // A second run before the rows were removed would otherwise leave two rows per index.
    RemoveRows();
    int count = std::clamp(state_.ProblemCount, 0, drill::kMaxProblems);
    std::optional<drill::ProblemGenerator> generator;
    if (count > 0) {
        // Checked settings always admit a problem; should unchecked ones get here, they give
        // an empty list, not a crash.
        try {
            generator.emplace(state_.Rules);
        } catch (const std::invalid_argument&) {
            count = 0;
        }
    }
    for (int i = 1; i <= count; ++i) {
        const drill::ProblemRecord problem = generator->Next(random_);
        state_.Problems[static_cast<std::size_t>(i)] = problem;
        AddRow(i, problem);
    }

    const Control list{Id::Picture2};
    At(list).Height = static_cast<float>(drill::ListHeight(count));
    toolkit_.SetSize(list, At(list).Width, At(list).Height);
    StartClock();
    SetColour({Id::lblSipka1}, kMarkersInUse);
    SetColour({Id::lblSipka2}, kMarkersInUse);
    SetTop(Id::Picture2, static_cast<float>(drill::ListStartTop(count)));
    Show(list, true);
    if (count > 0)
        Focus({Id::txtVysl, 1});
}

void Form1::AddRow(int index, const drill::ProblemRecord& problem)
{
    // A row starts as a hidden copy of its templates.
    ControlState label = controls_[{Id::lblPrikl}];
    ControlState box = controls_[{Id::txtVysl}];
    label.Visible = label.Shown = box.Visible = box.Shown = false;
    controls_.AddRow(index, label, box);
    toolkit_.CreateRow(index);

    const Control caption{Id::lblPrikl, index};
    const Control answer{Id::txtVysl, index};
    // A problem whose result may be below zero needs its minus sign.
    const drill::AnswerRule rule{.MinusSign = state_.Rules.ResultMin < 0,
                                 .MaxDigits = static_cast<std::size_t>(Entry(Id::txtVysl).MaxLength)};
    toolkit_.TxtNumOnly(answer, true, rule);
    const auto top = static_cast<float>(drill::RowTop(index));
    Move(caption, label.Left, top);
    Move(answer, box.Left, top);
    Show(caption, true);
    Show(answer, true);
    SetCaption(caption, RowCaption(problem));
    const std::string spoken = SpokenProblem(problem);
    toolkit_.SetAccessibleName(caption, spoken);
    toolkit_.SetAccessibleName(answer, spoken);
}

void Form1::RemoveRows()
{
    if (focused_ && IsRow(*focused_))
        focused_.reset();
    for (int i = 1, n = RowCount(); i <= n; ++i) {
        toolkit_.RemoveRow(i);
        controls_.RemoveRow(i);
    }
}

void Form1::txtVysl_GotFocus(int index)
{
    state_.ScrollTarget = drill::RowScrollTarget(index);
    EnableTimer(Id::Timer1, true);
}

bool Form1::txtVysl_KeyDown(int index, int key, int /*shift*/)
{
    const std::optional<drill::RowKey> rowKey = RowKeyOf(key);
    if (!rowKey)
        return false;
    const int target = drill::TargetRow(index, *rowKey, RowCount());
    if (target != index)
        Focus({Id::txtVysl, target});
    return true;
}

void Form1::Timer1_Timer()
{
    // A slide or the finish holds the list still; the easing goes on when it is over.
    if (sequence_)
        return;
    const float position = At({Id::Picture2}).Top;
    if (position == static_cast<float>(state_.ScrollTarget)) {
        EnableTimer(Id::Timer1, false);
        return;
    }
    SetTop(Id::Picture2, drill::EaseStep(position, state_.ScrollTarget));
}

} // namespace form

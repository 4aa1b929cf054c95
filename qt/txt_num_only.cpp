#include "qt/txt_num_only.h"

#include <QLineEdit>
#include <QValidator>

namespace qtui {

namespace {

constexpr char kValidatorName[] = "answerRule";

// A box's validator sees each edit as the whole new text. The edit is what changed since the
// text it last accepted: what both share at the start and at the end stayed, the middle is what
// came in, and the rule decides what of it the box keeps.
class AnswerValidator : public QValidator {
public:
    AnswerValidator(drill::AnswerRule rule, QLineEdit* box)
        : QValidator(box), rule_(rule), accepted_(box->text()), maxLength_(box->maxLength())
    {
        setObjectName(QLatin1String(kValidatorName));
        // The box would cut a paste to its length before the rule could drop what it refuses;
        // the rule keeps the length itself.
        box->setMaxLength(kNoLimit);
    }
    int MaxLength() const { return maxLength_; }

    void Accept(const QString& text) { accepted_ = text; }

    State validate(QString& input, int& position) const override
    {
        if (input == accepted_)
            return Acceptable;
        const QString& old = accepted_;
        qsizetype start = 0;
        while (start < old.size() && start < input.size() && old[start] == input[start])
            ++start;
        qsizetype end = 0;
        while (end < old.size() - start && end < input.size() - start &&
               old[old.size() - 1 - end] == input[input.size() - 1 - end])
            ++end;
        const std::string kept =
            drill::AcceptedInsertion(rule_, old.toStdString(), static_cast<std::size_t>(start),
                                     static_cast<std::size_t>(old.size() - end),
                                     input.mid(start, input.size() - start - end).toStdString());
        input = old.left(start) + QString::fromStdString(kept) + old.right(end);
        position = static_cast<int>(start + static_cast<qsizetype>(kept.size()));
        accepted_ = input;
        return Acceptable;
    }

private:
    static constexpr int kNoLimit = 32767; // QLineEdit's own default
    drill::AnswerRule rule_;
    mutable QString accepted_;
    int maxLength_;
};

AnswerValidator* ValidatorOf(QLineEdit* box)
{
    return box->findChild<AnswerValidator*>(QLatin1String(kValidatorName), Qt::FindDirectChildrenOnly);
}

} // namespace

void TxtNumOnly(QLineEdit* box, bool on, drill::AnswerRule rule)
{
    if (AnswerValidator* old = ValidatorOf(box)) {
        box->setMaxLength(old->MaxLength());
        delete old;
    }
    if (on)
        box->setValidator(new AnswerValidator(rule, box));
    box->update();
}

void SetBoxText(QLineEdit* box, const QString& text)
{
    if (AnswerValidator* validator = ValidatorOf(box))
        validator->Accept(text);
    box->setText(text);
}

} // namespace qtui

#include "qt/txt_num_only.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace qtui {

namespace {

constexpr char kValidatorName[] = "digitsOnly";

const QRegularExpression& Digits()
{
    // One shared pattern: every box's validator copies it and so shares its compiled form.
    // The length only keeps pasted text from passing; the box's own limit still applies.
    static const QRegularExpression digits(QStringLiteral("[0-9]{0,5}"));
    return digits;
}

} // namespace

void TxtNumOnly(QLineEdit* box, bool on)
{
    auto* current = box->findChild<QRegularExpressionValidator*>(QLatin1String(kValidatorName),
                                                                 Qt::FindDirectChildrenOnly);
    if (on) {
        if (current == nullptr) {
            auto* validator = new QRegularExpressionValidator(Digits(), box);
            validator->setObjectName(QLatin1String(kValidatorName));
            box->setValidator(validator);
        }
    } else if (current != nullptr) {
        if (box->validator() == current)
            box->setValidator(nullptr);
        delete current;
    }
    box->update();
}

} // namespace qtui

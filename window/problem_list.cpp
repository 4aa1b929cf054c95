// The problem list: one row per problem (a caption and a digits-only answer box), moved as a
// whole so that the focused row eases into the marker band.

#include "window/problem_list.h"

#include "drill/generator.h"
#include "window/controls.h"
#include "window/form1.h"
#include "window/panel.h"
#include "window/txt_num_only.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <stdexcept>

namespace window {

namespace {

constexpr char kRowProperty[] = "row";
const QColor kMarkersInUse(0, 0, 192);

// A row is a copy of its template in everything but its place, caption and visibility.
void CopyLook(QWidget* copy, const QWidget* model)
{
    if (model->testAttribute(Qt::WA_SetFont))
        copy->setFont(model->font());
    if (model->testAttribute(Qt::WA_SetPalette))
        copy->setPalette(model->palette());
    copy->setAutoFillBackground(model->autoFillBackground());
}

} // namespace

QString RowCaption(const drill::ProblemRecord& problem)
{
    return QString::number(problem.First) + QLatin1Char(' ') +
           QString::fromUtf8(drill::OperationSign(problem.Op)) + QLatin1Char(' ') +
           QString::number(problem.Second) + QLatin1String(" =");
}

std::optional<drill::RowKey> RowKeyOf(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return drill::RowKey::Enter;
    case Qt::Key_Up:
        return drill::RowKey::Up;
    case Qt::Key_Down:
        return drill::RowKey::Down;
    case Qt::Key_PageUp:
        return drill::RowKey::PageUp;
    case Qt::Key_PageDown:
        return drill::RowKey::PageDown;
    case Qt::Key_Home:
        return drill::RowKey::Home;
    case Qt::Key_End:
        return drill::RowKey::End;
    default:
        return std::nullopt;
    }
}

void Form1::VymysliPriklady()
{
    // A second run before the rows were removed would otherwise leave two rows per index.
    RemoveRows();
    int count = std::clamp(state_.ProblemCount, 0, drill::kMaxProblems);
    std::optional<drill::ProblemGenerator> generator;
    if (count > 0) {
        // Checked settings always admit a problem. The generator refuses settings that admit
        // none; should unchecked ones get here, they give an empty list, not a crash.
        try {
            generator.emplace(state_.Rules);
        } catch (const std::invalid_argument&) {
            count = 0;
        }
    }

    // Rows are built while the list is hidden: nothing is laid out or painted until it shows.
    Picture2->hide();
    for (int i = 1; i <= count; ++i) {
        const drill::ProblemRecord problem = generator->Next(random_);
        state_.Problems[static_cast<std::size_t>(i)] = problem;
        AddRow(i, RowCaption(problem));
    }

    Picture2->resize(Picture2->width(), drill::ListHeight(count));
    StartClock();
    SetTextColour(lblSipka1, kMarkersInUse);
    SetTextColour(lblSipka2, kMarkersInUse);
    Picture2->setTopF(static_cast<float>(drill::ListStartTop(count)));
    Picture2->show();
    if (count > 0)
        txtVysl_[1]->setFocus(Qt::OtherFocusReason);
}

void Form1::AddRow(int index, const QString& caption)
{
    const QLabel* labelModel = lblPrikl_.front();
    const QLineEdit* boxModel = txtVysl_.front();
    const int top = drill::RowTop(index);

    auto* label = new QLabel(Picture2);
    label->setObjectName(QStringLiteral("lblPrikl(%1)").arg(index));
    CopyLook(label, labelModel);
    label->setAlignment(labelModel->alignment());
    label->setGeometry(labelModel->x(), top, labelModel->width(), labelModel->height());

    auto* box = new QLineEdit(Picture2);
    box->setObjectName(QStringLiteral("txtVysl(%1)").arg(index));
    CopyLook(box, boxModel);
    box->setAlignment(boxModel->alignment());
    box->setMaxLength(boxModel->maxLength());
    box->setFrame(boxModel->hasFrame());
    box->setGeometry(boxModel->x(), top, boxModel->width(), boxModel->height());
    TxtNumOnly(box, true);

    label->show();
    box->show();
    label->setText(caption);
    box->setAccessibleName(caption);

    box->setProperty(kRowProperty, index);
    box->installEventFilter(this);
    setTabOrder(txtVysl_.back(), box);

    lblPrikl_.push_back(label);
    txtVysl_.push_back(box);
}

void Form1::RemoveRows()
{
    // Deleting a focused box hands the focus on; that is no focus change of a row.
    removingRows_ = true;
    for (std::size_t i = 1; i < txtVysl_.size(); ++i) {
        delete lblPrikl_[i];
        delete txtVysl_[i];
    }
    lblPrikl_.resize(1);
    txtVysl_.resize(1);
    focusedRow_ = 0;
    removingRows_ = false;
}

void Form1::txtVysl_GotFocus(int index)
{
    state_.ScrollTarget = drill::RowScrollTarget(index);
    Timer1->start();
}

bool Form1::txtVysl_KeyDown(int index, int key)
{
    const std::optional<drill::RowKey> rowKey = RowKeyOf(key);
    if (!rowKey)
        return false;
    const int target = drill::TargetRow(index, *rowKey, rowCount());
    if (target != index)
        txtVysl(target)->setFocus(Qt::OtherFocusReason);
    return true;
}

void Form1::Timer1_Timer()
{
    if (easingHeld_)
        return;
    const float position = Picture2->topF();
    if (position == static_cast<float>(state_.ScrollTarget)) {
        Timer1->stop();
        return;
    }
    Picture2->setTopF(drill::EaseStep(position, state_.ScrollTarget));
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::FocusIn && type != QEvent::FocusOut)
        return QWidget::eventFilter(watched, event);
    const QVariant row = watched->property(kRowProperty);
    if (!row.isValid() || removingRows_)
        return QWidget::eventFilter(watched, event);
    const int index = row.toInt();

    switch (type) {
    case QEvent::KeyPress:
        // Shift and Ctrl play no part: only the key itself is looked at.
        if (txtVysl_KeyDown(index, static_cast<QKeyEvent*>(event)->key()))
            return true;
        break;
    case QEvent::FocusIn:
        // The window regaining activation, or a closed context menu, gives the focus back to
        // the box that had it: that is no change of row.
        if (index != focusedRow_) {
            focusedRow_ = index;
            txtVysl_GotFocus(index);
        }
        break;
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            focusedRow_ = 0;
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace window

#include "window/form1.h"

#include "drill/motion.h"
#include "window/controls.h"
#include "window/pacer.h"
#include "window/panel.h"
#include "window/sequence.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace window {

using namespace std::chrono_literals;

void Form1::ConnectButtons()
{
    inputBlocker_ = new InputBlocker(this);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    // "Hotovo!" waits under the title panel, where Tab could still reach it, until an
    // exercise runs.
    Command1->setEnabled(false);
}

void Form1::Form_Load()
{
    // The random source was seeded when the window was made; here the panels are parked.
    Picture2->setTopF(80000);
    Picture5->setLeftF(600);
    Picture5->setTopF(5);
}

QCoro::Task<bool> Form1::SlidePanel(Panel* panel, Axis axis, const drill::Slide& slide)
{
    auto position = [&] { return axis == Axis::Left ? panel->leftF() : panel->topF(); };
    auto place = [&](float value) { axis == Axis::Left ? panel->setLeftF(value) : panel->setTopF(value); };
    do {
        place(drill::SlideStep(position(), slide));
        if (!co_await pacer_->pause(50ms))
            co_return false;
    } while (drill::SlideContinues(position(), slide));
    place(slide.Final);
    co_return true;
}

QCoro::Task<> Form1::Command3_Click()
{
    if (sequenceRunning_)
        co_return;
    const drill::SettingsVerdict verdict = drill::CheckSettings(settingsInput());
    if (const auto* refusal = std::get_if<drill::SettingsRefusal>(&verdict)) {
        ShowRefusal(*refusal);
        co_return;
    }
    Sequence sequence(*this);
    Picture1->show();
    if (!co_await SlidePanel(Picture6, Axis::Top, drill::slides::SettingsUp))
        co_return;
    if (!co_await SlidePanel(Picture7, Axis::Left, drill::slides::TitleOut))
        co_return;
    Picture7->hide();
    drill::ReadSettings(state_, std::get<drill::Settings>(verdict));
    exerciseRunning_ = true;
    Command1->setEnabled(true);
    VymysliPriklady();
    Picture6->setEnabled(false);
    Picture6->setLeftF(165);
}

void Form1::ShowRefusal(const drill::SettingsRefusal& refusal)
{
    QWidget* offending = refusal.Box == drill::SettingsBox::Check1
                             ? static_cast<QWidget*>(Check[0])
                             : static_cast<QWidget*>(Text[static_cast<std::size_t>(refusal.Box)]);
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Sumatko 2001"),
                                QString::fromStdString(drill::RefusalMessage(refusal)), QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("refusal"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QDialog::finished, offending, [offending] {
        offending->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(offending))
            edit->selectAll();
    });
    box->open();
}

QCoro::Task<bool> Form1::ToggleResults()
{
    if (Command2->text() == QStringLiteral("Známka")) {
        Command2->setText(QStringLiteral("Příklady"));
        if (!co_await SlidePanel(Picture5, Axis::Left, drill::slides::ResultsIn))
            co_return false;
        const bool done = co_await SlidePanel(Picture6, Axis::Top, drill::slides::SettingsIntoResults);
        co_return done;
    }
    if (!co_await SlidePanel(Picture6, Axis::Top, drill::slides::SettingsUp))
        co_return false;
    Command2->setText(QStringLiteral("Známka"));
    // Not "co_return co_await": GCC 12 then never frees this coroutine's frame.
    const bool done = co_await SlidePanel(Picture5, Axis::Left, drill::slides::ResultsOut);
    co_return done;
}

QCoro::Task<> Form1::Command2_Click()
{
    if (sequenceRunning_ || !Command2->isVisible())
        co_return;
    Sequence sequence(*this);
    co_await ToggleResults();
}

QCoro::Task<> Form1::Command4_Click()
{
    // "Znovu" lies beyond the right edge except on the results screen; Tab can reach it there.
    const bool resultsInView = Command2->isVisible() && Command2->text() == QStringLiteral("Příklady");
    if (sequenceRunning_ || !resultsInView)
        co_return;
    Sequence sequence(*this);
    if (!co_await ToggleResults())
        co_return;
    Picture6->setLeftF(300);
    RemoveRows();
    Picture7->show();
    Picture6->setEnabled(true);
    if (!co_await SlidePanel(Picture7, Axis::Left, drill::slides::TitleIn))
        co_return;
    Command2->hide();
    if (!co_await SlidePanel(Picture6, Axis::Top, drill::slides::SettingsDown))
        co_return;
    Picture2->hide();
    Picture1->hide();
    // The clicked button now lies out of view; the next exercise starts from the settings.
    Text[0]->setFocus(Qt::OtherFocusReason);
}

} // namespace window

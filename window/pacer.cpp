#include "pacer.h"

#include <QTimer>

#include <algorithm>

namespace window {

struct RealTimePacer::Awaiter {
    RealTimePacer* Pacer;
    Clock::time_point Deadline;

    bool await_ready() const noexcept { return Pacer->stopped_; }
    void await_suspend(std::coroutine_handle<> handle) { Pacer->wait(handle, Deadline); }
    bool await_resume() const noexcept { return !Pacer->stopped_; }
};

RealTimePacer::RealTimePacer(QObject* parent) : QObject(parent), timer_(new QTimer(this)), next_(Clock::now())
{
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &RealTimePacer::resumeDue);
}

RealTimePacer::~RealTimePacer() { stop(); }

void RealTimePacer::begin() { next_ = Clock::now(); }

QCoro::Task<bool> RealTimePacer::pause(std::chrono::milliseconds duration)
{
    next_ += duration;
    const bool going = co_await Awaiter{this, next_};
    co_return going;
}

void RealTimePacer::stop()
{
    stopped_ = true;
    timer_->stop();
    // Each resumed sequence sees false and unwinds, so none is left suspended forever.
    auto waiting = std::move(waiting_);
    waiting_.clear();
    for (const Waiting& w : waiting)
        w.Handle.resume();
}

void RealTimePacer::wait(std::coroutine_handle<> handle, Clock::time_point deadline)
{
    waiting_.push_back({handle, deadline});
    schedule();
}

void RealTimePacer::resumeDue()
{
    const auto now = Clock::now();
    std::vector<Waiting> due;
    for (auto it = waiting_.begin(); it != waiting_.end();) {
        if (it->Deadline <= now) {
            due.push_back(*it);
            it = waiting_.erase(it);
        } else {
            ++it;
        }
    }
    for (const Waiting& w : due)
        w.Handle.resume();
    schedule();
}

void RealTimePacer::schedule()
{
    if (waiting_.empty() || stopped_)
        return;
    const auto earliest = std::min_element(waiting_.begin(), waiting_.end(), [](const Waiting& a, const Waiting& b) {
                              return a.Deadline < b.Deadline;
                          })->Deadline;
    // Round up, so the timer never fires just before the deadline and has to wait again.
    const auto remaining = std::chrono::ceil<std::chrono::milliseconds>(earliest - Clock::now());
    timer_->start(std::max(remaining, std::chrono::milliseconds(0)));
}

} // namespace window

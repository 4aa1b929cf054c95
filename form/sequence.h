#pragma once

#include "form/form1.h"

namespace form {

// Marks one sequence (a slide or the finish) as running for as long as it lives, however the
// sequence ends; its pauses are measured from the moment it began.
class Form1::Sequence {
public:
    explicit Sequence(Form1& form) : form_(form)
    {
        form_.sequence_ = true;
        form_.deadline_ = form_.toolkit_.Now();
    }
    ~Sequence()
    {
        form_.sequence_ = false;
        // What fell due meanwhile is not made up: the easing starts afresh from where it stands.
        for (std::size_t timer = 0; timer < form_.timerDue_.size(); ++timer) {
            const std::chrono::milliseconds interval(Entry(static_cast<Id>(timer)).IntervalMs);
            form_.timerDue_[timer] = form_.toolkit_.Now() + interval;
        }
    }
    Sequence(const Sequence&) = delete;
    Sequence& operator=(const Sequence&) = delete;

private:
    Form1& form_;
};

// co_await yields false once the window is closing: the sequence must then end at once.
struct Form1::Pause {
    Form1& form;
    std::chrono::milliseconds duration;

    bool await_ready() const noexcept { return form.closed_; }
    void await_suspend(coro::coroutine_handle<> sequence)
    {
        form.paused_ = sequence;
        form.deadline_ += duration;
        form.toolkit_.StartPause(form.deadline_);
    }
    bool await_resume() const noexcept { return !form.closed_; }
};

} // namespace form

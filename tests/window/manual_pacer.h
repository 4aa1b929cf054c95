#pragma once

#include "window/pacer.h"

#include <coroutine>
#include <functional>
#include <vector>

namespace window::test {

// Holds every pause until the test releases it; calls a hook first so tests can record
// where the panels stand at each pause.
class ManualPacer : public Pacer {
public:
    QCoro::Task<bool> pause(std::chrono::milliseconds duration) override
    {
        pauses.push_back(duration);
        if (onPause)
            onPause();
        if (stopped_)
            co_return false;
        if (!holding)
            co_return true;
        const bool going = co_await Wait{this};
        co_return going;
    }
    void stop() override
    {
        stopped_ = true;
        auto waiting = std::move(waiting_);
        for (auto handle : waiting)
            handle.resume();
    }
    bool step()
    {
        if (waiting_.empty())
            return false;
        auto handle = waiting_.front();
        waiting_.erase(waiting_.begin());
        handle.resume();
        return true;
    }
    void releaseAll()
    {
        holding = false;
        while (step()) {
        }
    }
    bool waiting() const { return !waiting_.empty(); }

    bool holding = false;
    std::function<void()> onPause;
    std::vector<std::chrono::milliseconds> pauses;

private:
    struct Wait {
        ManualPacer* Pacer;
        bool await_ready() const noexcept { return false; }
        void await_suspend(std::coroutine_handle<> handle) { Pacer->waiting_.push_back(handle); }
        bool await_resume() const noexcept { return !Pacer->stopped_; }
    };
    std::vector<std::coroutine_handle<>> waiting_;
};

} // namespace window::test

#pragma once

#include "qt/window.h"

#include <algorithm>

namespace qtui {

// The window with every pause over as soon as the event loop runs again: whole sequences pass
// in no time while still going through Qt's timers and events. Its clock leaps to each pause's
// deadline, so that Form1 finds the pause over. For tests, benchmarks and the screenshots of the
// documentation.
class HurriedWindow : public Window {
public:
    using Window::Window;
    Clock::time_point Now() const override { return Window::Now() + skipped_; }
    void StartPause(Clock::time_point deadline) override
    {
        skipped_ += std::max(Clock::duration::zero(), deadline - Now());
        Window::StartPause(deadline);
    }

private:
    Clock::duration skipped_{};
};

} // namespace qtui

#pragma once

#include "qt/window.h"

namespace qtui {

// The window with every pause over as soon as the event loop runs again: whole sequences pass
// in no time while still going through Qt's timers and events. For tests, benchmarks and the
// screenshots of the documentation.
class HurriedWindow : public Window {
public:
    using Window::Window;
    void StartPause(Clock::time_point) override { Window::StartPause(Now()); }
};

} // namespace qtui

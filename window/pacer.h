#pragma once

#include <QCoro/QCoroTask>
#include <QObject>

#include <chrono>
#include <coroutine>
#include <vector>

class QTimer;

namespace window {

// Paces the slides and the finish. The window awaits its pauses instead of sleeping, so it
// keeps painting and answering the desktop meanwhile. A pause resumes with false once the
// pacer has been stopped (the window is closing): the sequence must then end at once.
class Pacer {
public:
    virtual ~Pacer() = default;

    // A new sequence starts: its pauses are measured from now.
    virtual void begin() {}
    virtual QCoro::Task<bool> pause(std::chrono::milliseconds duration) = 0;
    // Resumes every waiting sequence with false and refuses all later pauses.
    virtual void stop() = 0;
    bool stopped() const { return stopped_; }

protected:
    bool stopped_ = false;
};

// Waits real time against deadlines that add up the nominal pauses, so a long sequence takes
// its nominal time even though each step also spends time moving and painting.
class RealTimePacer : public QObject, public Pacer {
    Q_OBJECT
public:
    explicit RealTimePacer(QObject* parent = nullptr);
    ~RealTimePacer() override;

    void begin() override;
    QCoro::Task<bool> pause(std::chrono::milliseconds duration) override;
    void stop() override;

private:
    using Clock = std::chrono::steady_clock;
    struct Waiting {
        std::coroutine_handle<> Handle;
        Clock::time_point Deadline;
    };
    struct Awaiter;

    void wait(std::coroutine_handle<> handle, Clock::time_point deadline);
    void resumeDue();
    void schedule();

    QTimer* timer_;
    Clock::time_point next_;
    std::vector<Waiting> waiting_;
};

// Never waits: for tests that run whole exercises in no time.
class InstantPacer : public Pacer {
public:
    QCoro::Task<bool> pause(std::chrono::milliseconds) override { co_return !stopped_; }
    void stop() override { stopped_ = true; }
};

} // namespace window

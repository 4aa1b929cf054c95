#pragma once

#include <exception>
#include <optional>
#include <utility>

#if __has_include(<coroutine>)
#include <coroutine>
namespace form::coro {
using std::coroutine_handle;
using std::noop_coroutine;
using std::suspend_never;
} // namespace form::coro
#else
// libc++ 13 (Emscripten 3.1) has coroutines only in std::experimental, under <experimental/coroutine>.
#include <experimental/coroutine>
namespace form::coro {
using std::experimental::coroutine_handle;
using std::experimental::noop_coroutine;
using std::experimental::suspend_never;
} // namespace form::coro
#endif

namespace form {

// A coroutine that starts at once and runs until its first pause. Awaiting a Task resumes the
// awaiter when the task ends; a Task dropped while its coroutine still waits detaches it, and
// the coroutine frees itself when it ends. So a click handler can start a sequence and return,
// and a sequence that is told to stop unwinds all its frames.
template <class T = void> class Task;

namespace detail {

struct PromiseBase {
    coro::coroutine_handle<> continuation;
    bool detached = false;

    struct FinalAwaiter {
        bool await_ready() const noexcept { return false; }
#if defined(__wasm__) && !defined(__wasm_tail_call__)
        // Handing over a coroutine handle needs WebAssembly tail calls, which not every browser
        // (nor node 18) runs: the awaiter is resumed from here instead, a few frames deeper.
        // It may destroy this frame, so nothing of it is touched afterwards.
        template <class Promise> void await_suspend(coro::coroutine_handle<Promise> self) const noexcept
        {
            PromiseBase& promise = self.promise();
            if (promise.continuation)
                promise.continuation.resume();
            else if (promise.detached)
                self.destroy();
        }
#else
        template <class Promise>
        coro::coroutine_handle<> await_suspend(coro::coroutine_handle<Promise> self) const noexcept
        {
            PromiseBase& promise = self.promise();
            if (promise.continuation)
                return promise.continuation;
            if (promise.detached)
                self.destroy();
            return coro::noop_coroutine();
        }
#endif
        void await_resume() const noexcept {}
    };

    coro::suspend_never initial_suspend() const noexcept { return {}; }
    FinalAwaiter final_suspend() const noexcept { return {}; }
    // Nothing in a sequence is meant to throw; an exception would leave the window half moved.
    void unhandled_exception() const noexcept { std::terminate(); }
};

template <class T> struct Promise : PromiseBase {
    std::optional<T> value;
    Task<T> get_return_object() noexcept;
    void return_value(T v) { value = std::move(v); }
    T result() { return std::move(*value); }
};

template <> struct Promise<void> : PromiseBase {
    Task<void> get_return_object() noexcept;
    void return_void() const noexcept {}
    void result() const noexcept {}
};

} // namespace detail

template <class T> class [[nodiscard]] Task {
public:
    using promise_type = detail::Promise<T>;
    using Handle = coro::coroutine_handle<promise_type>;

    explicit Task(Handle handle) noexcept : handle_(handle) {}
    Task(Task&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
    Task& operator=(Task&& other) noexcept
    {
        if (this != &other) {
            release();
            handle_ = std::exchange(other.handle_, {});
        }
        return *this;
    }
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    ~Task() { release(); }

    bool done() const noexcept { return !handle_ || handle_.done(); }

    bool await_ready() const noexcept { return handle_.done(); }
    void await_suspend(coro::coroutine_handle<> awaiter) const noexcept { handle_.promise().continuation = awaiter; }
    T await_resume() const { return handle_.promise().result(); }

private:
    void release() noexcept
    {
        if (!handle_)
            return;
        if (handle_.done())
            handle_.destroy();
        else
            handle_.promise().detached = true;
        handle_ = {};
    }

    Handle handle_;
};

namespace detail {
template <class T> Task<T> Promise<T>::get_return_object() noexcept
{
    return Task<T>(coro::coroutine_handle<Promise<T>>::from_promise(*this));
}
inline Task<void> Promise<void>::get_return_object() noexcept
{
    return Task<void>(coro::coroutine_handle<Promise<void>>::from_promise(*this));
}
} // namespace detail

} // namespace form

// The frame executor: the game is one coroutine that only ever waits for a moment in time, and
// the executor sleeps the thread until that moment between two resumptions.
#pragma once

#include <chrono>
#include <compare>
#include <coroutine>
#include <cstdint>
#include <utility>

namespace qm {

// A reading of the monotonic clock. Ordered seconds first, then nanoseconds.
struct Instant {
    std::int64_t seconds = 0;
    std::int64_t nanoseconds = 0;  // 0 ..= 999'999'999

    friend constexpr auto operator<=>(const Instant&, const Instant&) = default;
    friend constexpr bool operator==(const Instant&, const Instant&) = default;

    friend Instant operator+(Instant at, std::chrono::nanoseconds offset);
};

// The monotonic clock now.
Instant monotonic_now();
// later - earlier, or zero when `later` is not after `earlier`.
std::chrono::nanoseconds saturating_sub(Instant later, Instant earlier);

// What next_wake becomes when a task asks to wake at `deadline` at instant `now`: an earlier
// request that has not expired yet is kept if it comes first.
Instant merged_wake(Instant next_wake, Instant now, Instant deadline);

class WaitUntil;

// The main task: created suspended, driven one resumption at a time by the executor.
class Task {
public:
    struct promise_type {
        // The wait the task is stopped at; the executor's next resumption asks it first.
        WaitUntil* pending = nullptr;

        Task get_return_object() { return Task(std::coroutine_handle<promise_type>::from_promise(*this)); }
        std::suspend_always initial_suspend() noexcept { return {}; }
        std::suspend_always final_suspend() noexcept { return {}; }
        void return_void() noexcept {}
        // A failure inside the task stops the program; there is no recovery.
        [[noreturn]] void unhandled_exception() noexcept;
    };

    Task(Task&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
    Task& operator=(Task&& other) noexcept;
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    ~Task();

    // One resumption: re-checks the pending wait and runs the task on to its next stop when
    // the wait is over. True once the task has finished.
    bool resume();
    bool finished() const { return handle_ && handle_.done(); }

private:
    explicit Task(std::coroutine_handle<promise_type> handle) : handle_(handle) {}
    std::coroutine_handle<promise_type> handle_;
};

// `co_await wait_until(deadline)`: done at the first resumption at which the clock has reached
// the deadline. A deadline already reached never gives control back to the executor.
class WaitUntil {
public:
    explicit WaitUntil(Instant deadline) : deadline_(deadline) {}

    // Reads the clock; when the deadline is still ahead, asks the executor to sleep until it.
    bool poll();

    bool await_ready() { return poll(); }
    void await_suspend(std::coroutine_handle<Task::promise_type> task) { task.promise().pending = this; }
    void await_resume() const noexcept {}

private:
    Instant deadline_;
};

inline WaitUntil wait_until(Instant deadline) { return WaitUntil(deadline); }

// What the executor did, for the curious caller (tests); the game passes none.
struct ExecutorTrace {
    std::uint64_t resumptions = 0;
    std::uint64_t sleeps = 0;
};

// Runs the task to its end on this thread, sleeping between resumptions until the wake-up
// instant the task asked for. No busy waiting and no catch-up: a late task runs again at once.
void spawn_with_until_executor(Task task, ExecutorTrace* trace = nullptr);

// This thread's wake-up instant (created at first use with the current instant).
Instant current_next_wake();

// Relative thread sleep, resumed after interruptions until the whole duration has passed.
void sleep_for(std::chrono::nanoseconds duration);

}  // namespace qm

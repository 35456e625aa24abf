// The frame executor and its one per-thread wake-up instant. Everything runs on the thread that
// entered main; the access guard only catches a programming fault (a wait inside the sleep).
#include "time.hpp"

#include <cerrno>
#include <ctime>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "fatal.hpp"

namespace qm {

namespace {

constexpr std::int64_t NANOS_PER_SECOND = 1'000'000'000;

Instant from_timespec(const timespec& ts) { return {static_cast<std::int64_t>(ts.tv_sec), ts.tv_nsec}; }

// next_wake with its guard: many readers or one writer, never both.
struct NextWakeCell {
    std::optional<Instant> value;
    int readers = 0;
    bool writer = false;

    Instant& get() {
        if (!value) value = monotonic_now();
        return *value;
    }
};

thread_local NextWakeCell next_wake_cell;

class SharedAccess {
public:
    SharedAccess() {
        if (next_wake_cell.writer) fatal("the wake-up instant was read while a wait was writing it");
        ++next_wake_cell.readers;
    }
    ~SharedAccess() { --next_wake_cell.readers; }
    SharedAccess(const SharedAccess&) = delete;
    SharedAccess& operator=(const SharedAccess&) = delete;
    Instant value() const { return next_wake_cell.get(); }
};

class ExclusiveAccess {
public:
    ExclusiveAccess() {
        if (next_wake_cell.writer || next_wake_cell.readers > 0) fatal("the wake-up instant was written while it was in use");
        next_wake_cell.writer = true;
    }
    ~ExclusiveAccess() { next_wake_cell.writer = false; }
    ExclusiveAccess(const ExclusiveAccess&) = delete;
    ExclusiveAccess& operator=(const ExclusiveAccess&) = delete;
    Instant& value() { return next_wake_cell.get(); }
};

}  // namespace

Instant operator+(Instant at, std::chrono::nanoseconds offset) {
    const std::int64_t total = at.nanoseconds + offset.count() % NANOS_PER_SECOND;
    std::int64_t seconds = at.seconds + offset.count() / NANOS_PER_SECOND;
    std::int64_t nanos = total;
    if (nanos >= NANOS_PER_SECOND) {
        nanos -= NANOS_PER_SECOND;
        ++seconds;
    } else if (nanos < 0) {
        nanos += NANOS_PER_SECOND;
        --seconds;
    }
    return {seconds, nanos};
}

Instant monotonic_now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return from_timespec(ts);
}

std::chrono::nanoseconds saturating_sub(Instant later, Instant earlier) {
    if (later <= earlier) return std::chrono::nanoseconds{0};
    return std::chrono::nanoseconds{(later.seconds - earlier.seconds) * NANOS_PER_SECOND +
                                    (later.nanoseconds - earlier.nanoseconds)};
}

Instant merged_wake(Instant next_wake, Instant now, Instant deadline) {
    if (next_wake > now) return next_wake < deadline ? next_wake : deadline;
    return deadline;
}

Instant current_next_wake() {
    SharedAccess access;
    return access.value();
}

void sleep_for(std::chrono::nanoseconds duration) {
    if (duration <= std::chrono::nanoseconds{0}) return;
    timespec request{static_cast<time_t>(duration.count() / NANOS_PER_SECOND),
                     static_cast<long>(duration.count() % NANOS_PER_SECOND)};
    timespec remaining{};
    while (nanosleep(&request, &remaining) != 0) {
        if (errno != EINTR) return;
        request = remaining;
    }
}

bool WaitUntil::poll() {
    const Instant now = monotonic_now();
    if (deadline_ > now) {
        ExclusiveAccess access;
        Instant& wake = access.value();
        wake = merged_wake(wake, now, deadline_);
        return false;
    }
    return true;
}

void Task::promise_type::unhandled_exception() noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        fatal("memory allocation failed");
    } catch (const std::exception& error) {
        fatal(std::string("the main task failed: ") + error.what());
    } catch (...) {
        fatal("the main task failed");
    }
}

Task& Task::operator=(Task&& other) noexcept {
    if (this != &other) {
        if (handle_) handle_.destroy();
        handle_ = std::exchange(other.handle_, {});
    }
    return *this;
}

Task::~Task() {
    if (handle_) handle_.destroy();
}

bool Task::resume() {
    if (!handle_ || handle_.done()) fatal("the main task was resumed after it had finished");
    auto& promise = handle_.promise();
    if (promise.pending != nullptr) {
        // Resumed at a wait: it decides, with a fresh look at the clock, whether to go on.
        if (!promise.pending->poll()) return false;
        promise.pending = nullptr;
    }
    handle_.resume();
    return handle_.done();
}

void spawn_with_until_executor(Task task, ExecutorTrace* trace) {
    // The task stays at one address for its whole life.
    auto owned = std::make_unique<Task>(std::move(task));
    for (;;) {
        if (trace) ++trace->resumptions;
        if (owned->resume()) {
            owned.reset();  // releases everything the task still owns
            return;
        }
        SharedAccess access;
        const Instant now = monotonic_now();
        const Instant wake = access.value();
        if (wake > now) {
            if (trace) ++trace->sleeps;
            sleep_for(saturating_sub(wake, now));
        }
    }
}

}  // namespace qm

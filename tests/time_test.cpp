// The frame executor: when a wait completes at once, when the thread sleeps (and that it really
// sleeps rather than spins), the first wait of a thread, interruptions, and the task's end.
#include "time.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <ctime>
#include <stdexcept>
#include <thread>
#include <vector>

namespace qm {
namespace {

using namespace std::chrono_literals;

std::chrono::nanoseconds thread_cpu_time() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return std::chrono::seconds(ts.tv_sec) + std::chrono::nanoseconds(ts.tv_nsec);
}

// Runs `body` on a thread of its own, so that the thread's wake-up instant starts fresh.
template <typename F>
void on_fresh_thread(F&& body) {
    std::thread worker(std::forward<F>(body));
    worker.join();
}

// One short wait, so that this thread's wake-up instant exists and has expired. On a loaded
// machine the wait's millisecond can pass before it looks at the clock; it is then over at once
// and never makes the instant, so the instant is read here as well, which makes it.
void warm_up_executor() {
    auto task = []() -> Task { co_await wait_until(monotonic_now() + 1ms); };
    spawn_with_until_executor(task());
    (void)current_next_wake();
}

TEST(InstantTest, AdditionCarriesAndBorrowsNanoseconds) {
    struct Case {
        Instant at;
        std::chrono::nanoseconds offset;
        Instant expected;
    };
    const std::vector<Case> cases{
        {{5, 0}, 32ms, {5, 32'000'000}},
        {{5, 990'000'000}, 32ms, {6, 22'000'000}},
        {{5, 999'999'999}, 1ns, {6, 0}},
        {{5, 10}, 4s, {9, 10}},
        {{5, 10'000'000}, -20ms, {4, 990'000'000}},
        {{5, 0}, 2500ms, {7, 500'000'000}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.at + c.offset, c.expected) << c.at.seconds << "s " << c.at.nanoseconds << "ns + " << c.offset.count();
    }
}

TEST(InstantTest, OrderIsSecondsFirstAndDifferenceSaturates) {
    EXPECT_LT((Instant{1, 999'999'999}), (Instant{2, 0}));
    EXPECT_LT((Instant{2, 5}), (Instant{2, 6}));
    EXPECT_GT((Instant{3, 0}), (Instant{2, 999'999'999}));
    EXPECT_EQ(saturating_sub({2, 100}, {1, 999'999'900}), 200ns);
    EXPECT_EQ(saturating_sub({1, 0}, {2, 0}), 0ns);
    EXPECT_EQ(saturating_sub({2, 0}, {2, 0}), 0ns);
}

TEST(NextWakeTest, AnUnexpiredEarlierRequestIsKept) {
    const Instant now{10, 0};
    struct Case {
        Instant next_wake;
        Instant deadline;
        Instant expected;
    };
    const std::vector<Case> cases{
        {{9, 0}, {10, 32}, {10, 32}},          // expired: the new deadline
        {{10, 0}, {10, 32}, {10, 32}},         // equal to now counts as expired
        {{10, 16}, {10, 32}, {10, 16}},        // still ahead and earlier: stays
        {{10, 64}, {10, 32}, {10, 32}},        // still ahead but later: the earlier deadline
    };
    for (const auto& c : cases) {
        EXPECT_EQ(merged_wake(c.next_wake, now, c.deadline), c.expected) << c.next_wake.nanoseconds;
    }
}

TEST(WaitUntilTest, ADeadlineNotAfterNowIsReadyAtOnce) {
    const Instant start = monotonic_now();
    WaitUntil equal_to_then(start);
    WaitUntil in_the_past(start + (-1s));
    WaitUntil ahead(start + 10s);
    EXPECT_TRUE(equal_to_then.await_ready());
    EXPECT_TRUE(in_the_past.await_ready());
    EXPECT_FALSE(ahead.await_ready());
}

TEST(ExecutorTest, WaitsOnPassedDeadlinesNeverReturnToTheExecutor) {
    int waits_done = 0;
    auto task = [](int& done) -> Task {
        const Instant now = monotonic_now();
        co_await wait_until(now);
        ++done;
        co_await wait_until(now + (-5s));
        ++done;
        co_await wait_until(Instant{0, 0});
        ++done;
    };
    ExecutorTrace trace;
    const Instant before = monotonic_now();
    spawn_with_until_executor(task(waits_done), &trace);
    EXPECT_EQ(waits_done, 3);
    EXPECT_EQ(trace.resumptions, 1u);
    EXPECT_EQ(trace.sleeps, 0u);
    EXPECT_LT(saturating_sub(monotonic_now(), before), 1s);
}

TEST(ExecutorTest, FirstWaitOfAThreadResumesOnceWithoutSleepingThenSleepsToTheDeadline) {
    on_fresh_thread([] {
        ExecutorTrace trace;
        Instant deadline{};
        Instant woke{};
        std::chrono::nanoseconds cpu{};
        auto task = [](Instant& d, Instant& w) -> Task {
            d = monotonic_now() + 60ms;
            co_await wait_until(d);
            w = monotonic_now();
        };
        const auto cpu_before = thread_cpu_time();
        spawn_with_until_executor(task(deadline, woke), &trace);
        cpu = thread_cpu_time() - cpu_before;
        // The wake-up instant is born at the first wait, just after that wait read the clock, so
        // it is ahead of that reading: kept, the executor does not sleep on it, and the repeated
        // wait stores the real deadline.
        EXPECT_EQ(trace.resumptions, 3u);
        EXPECT_EQ(trace.sleeps, 1u);
        EXPECT_GE(woke, deadline);
        // A spinning executor burns the whole 60 ms; half of it leaves room for a loaded machine.
        EXPECT_LT(cpu, 30ms) << "the executor spun instead of sleeping";
    });
}

// A loaded machine may let a frame's deadline pass before its wait looks at the clock, or before
// the executor does: that wait then takes no resumption, or no sleep. What never happens, busy or
// not, is a second resumption for one wait (woken before its deadline), a second sleep, or a spin.
TEST(ExecutorTest, LaterWaitsSleepOnceEachUntilTheirDeadlines) {
    on_fresh_thread([] {
        warm_up_executor();

        constexpr int FRAMES = 5;
        std::vector<Instant> deadlines;
        std::vector<Instant> woke;
        std::vector<std::uint64_t> resumed;  // the resumptions each wait took
        ExecutorTrace trace;
        auto frames = [](const ExecutorTrace& t, std::vector<Instant>& d, std::vector<Instant>& w,
                         std::vector<std::uint64_t>& r) -> Task {
            Instant frame_start = monotonic_now();
            for (int k = 0; k < FRAMES; ++k) {
                d.push_back(frame_start + 20ms);
                const std::uint64_t before = t.resumptions;
                co_await wait_until(d.back());
                r.push_back(t.resumptions - before);
                frame_start = monotonic_now();
                w.push_back(frame_start);
            }
        };
        const auto cpu_before = thread_cpu_time();
        spawn_with_until_executor(frames(trace, deadlines, woke, resumed), &trace);
        const auto cpu = thread_cpu_time() - cpu_before;
        ASSERT_EQ(woke.size(), static_cast<std::size_t>(FRAMES));
        std::uint64_t suspended = 0;
        for (int k = 0; k < FRAMES; ++k) {
            const auto at = static_cast<std::size_t>(k);
            EXPECT_GE(woke[at], deadlines[at]);
            EXPECT_LE(resumed[at], 1u) << "wait " << k << " was resumed before its deadline";
            suspended += resumed[at];
        }
        EXPECT_EQ(trace.resumptions, 1u + suspended);
        EXPECT_LE(trace.sleeps, suspended);
        EXPECT_GE(saturating_sub(woke.back(), deadlines.front() + (-20ms)), 100ms);
        // Spinning would burn the whole 100 ms the frames wait; half of it allows for load.
        EXPECT_LT(cpu, 50ms) << "the executor spun instead of sleeping";
    });
}

TEST(ExecutorTest, ALateFrameIsNotCaughtUp) {
    on_fresh_thread([] {
        warm_up_executor();
        ExecutorTrace trace;
        std::uint64_t late_wait = 0;
        std::uint64_t next_wait = 0;
        auto task = [](const ExecutorTrace& t, std::uint64_t& late, std::uint64_t& next) -> Task {
            const Instant frame_start = monotonic_now();
            std::this_thread::sleep_for(30ms);  // a slow frame overruns its 20 ms
            std::uint64_t before = t.resumptions;
            co_await wait_until(frame_start + 20ms);
            late = t.resumptions - before;
            const Instant next_start = monotonic_now();
            before = t.resumptions;
            co_await wait_until(next_start + 20ms);
            next = t.resumptions - before;
        };
        spawn_with_until_executor(task(trace, late_wait, next_wait), &trace);
        // The overrun wait completes in the same resumption; only the next one may sleep, once.
        EXPECT_EQ(late_wait, 0u);
        EXPECT_LE(next_wait, 1u);
        EXPECT_EQ(trace.resumptions, 1u + next_wait);
        EXPECT_LE(trace.sleeps, next_wait);
    });
}

TEST(ExecutorTest, ReturnsWhenTheTaskEndsHavingReleasedWhatItOwned) {
    struct Owned {
        bool* released;
        ~Owned() { *released = true; }
    };
    bool released = false;
    bool ran_to_end = false;
    auto task = [](bool& r, bool& end) -> Task {
        Owned owned{&r};
        co_await wait_until(monotonic_now() + 2ms);
        end = true;
    };
    spawn_with_until_executor(task(released, ran_to_end));
    EXPECT_TRUE(ran_to_end);
    EXPECT_TRUE(released);
}

TEST(ExecutorTest, ATaskIsBuiltNotStarted) {
    bool started = false;
    auto task = [](bool& s) -> Task {
        s = true;
        co_return;
    };
    Task t = task(started);
    EXPECT_FALSE(started);
    EXPECT_TRUE(t.resume());
    EXPECT_TRUE(started);
}

std::atomic<int> alarms{0};
extern "C" void count_alarm(int) { alarms.fetch_add(1); }

TEST(SleepTest, AnInterruptedSleepIsResumedForTheRemainingTime) {
    struct sigaction action{};
    action.sa_handler = count_alarm;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: nanosleep returns EINTR
    struct sigaction old{};
    ASSERT_EQ(sigaction(SIGALRM, &action, &old), 0);

    const pthread_t sleeper = pthread_self();
    std::thread interrupter([sleeper] {
        for (int k = 0; k < 3; ++k) {
            std::this_thread::sleep_for(15ms);
            pthread_kill(sleeper, SIGALRM);
        }
    });
    alarms = 0;
    const Instant before = monotonic_now();
    sleep_for(120ms);
    const auto slept = saturating_sub(monotonic_now(), before);
    interrupter.join();
    sigaction(SIGALRM, &old, nullptr);
    EXPECT_GE(alarms.load(), 1);
    EXPECT_GE(slept, 120ms);
}

using ExecutorDeathTest = testing::Test;

TEST_F(ExecutorDeathTest, AFailureInsideTheTaskStopsTheProgram) {
    auto task = []() -> Task {
        co_await wait_until(Instant{0, 0});
        throw std::runtime_error("the ground gave way");
    };
    EXPECT_DEATH(spawn_with_until_executor(task()), testing::HasSubstr("the main task failed: the ground gave way"));
}

TEST_F(ExecutorDeathTest, ResumingAFinishedTaskIsAFault) {
    auto task = []() -> Task { co_return; };
    Task t = task();
    EXPECT_TRUE(t.resume());
    EXPECT_TRUE(t.finished());
    EXPECT_DEATH(t.resume(), testing::HasSubstr("the main task was resumed after it had finished"));
}

}  // namespace
}  // namespace qm

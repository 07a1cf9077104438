#include "app/jobs/jobs.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <clocale>
#include <condition_variable>
#include <latch>
#include <optional>

namespace fw::jobs {
namespace {

using namespace std::chrono_literals;

class JobsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::setlocale(LC_ALL, "C");
        static int argc = 1;
        static char name[] = "app_jobs_test";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
    }
    // Handles events until `done` holds; a job that never reports fails the test at ctest's
    // own time limit rather than at a guessed one.
    template <typename Done>
    static void WaitFor(Done done) {
        while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    // Work that ends only when asked to stop.
    static int UntilStopped(std::stop_token stop, std::latch& started) {
        started.count_down();
        std::mutex mutex;
        std::condition_variable_any never;
        std::unique_lock lock(mutex);
        never.wait(lock, stop, [] { return false; });
        return -1;
    }
    Registry registry_;
};

TEST_F(JobsTest, ValueComesBackByAQueuedCallOnTheOwnersThread) {
    Jobs jobs(registry_);
    QThread* worker = nullptr;
    std::optional<int> value;
    QThread* deliveredOn = nullptr;
    std::latch ended(1);
    jobs.run(
        [&worker, &ended](std::stop_token) {
            worker = QThread::currentThread();
            ended.count_down();
            return 42;
        },
        [&](int v) {
            value = v;
            deliveredOn = QThread::currentThread();
        });
    ended.wait();
    EXPECT_FALSE(value) << "delivered before the owner's thread took its events";
    EXPECT_EQ(jobs.running(), 1u);
    WaitFor([&] { return value.has_value(); });
    EXPECT_EQ(*value, 42);
    EXPECT_EQ(deliveredOn, QThread::currentThread());
    EXPECT_NE(worker, QThread::currentThread());
    EXPECT_EQ(jobs.running(), 0u);
}

TEST_F(JobsTest, StopEndsRunningWorkWhichStillReportsAndABusyJobRefusesAnother) {
    Job job(registry_);
    std::latch started(1);
    std::optional<int> value;
    ASSERT_TRUE(job.start([&started](std::stop_token stop) { return UntilStopped(stop, started); },
                          [&value](int v) { value = v; }));
    started.wait();
    EXPECT_FALSE(job.start([](std::stop_token) { return 1; }, [&value](int v) { value = v; }));
    EXPECT_TRUE(job.busy());
    EXPECT_FALSE(job.stopping());
    job.stop();
    EXPECT_TRUE(job.stopping());
    WaitFor([&] { return value.has_value(); });
    EXPECT_EQ(*value, -1);
    EXPECT_FALSE(job.busy());
}

TEST_F(JobsTest, OwnerGoneStopsItsWorkWithoutWaitingAndDropsTheValue) {
    bool delivered = false;
    std::latch started(1);
    std::latch ownerGone(1);
    std::atomic<bool> stopSeen = false;
    {
        Jobs jobs(registry_);
        jobs.run(
            [&](std::stop_token stop) {
                UntilStopped(stop, started);
                stopSeen = true;
                ownerGone.wait();  // would never end if the owner waited for it
            },
            [&delivered] { delivered = true; });
        started.wait();
    }
    ownerGone.count_down();
    ASSERT_TRUE(registry_.stopAndDrain(60s));
    QCoreApplication::processEvents();
    EXPECT_TRUE(stopSeen);
    EXPECT_FALSE(delivered);
}

}  // namespace
}  // namespace fw::jobs

#include <gtest/gtest.h>

#include <clocale>
#include <latch>
#include <vector>

#include "jobs/registry.h"
#include "jobs/serial_queue.h"

namespace fw::jobs {
namespace {

using namespace std::chrono_literals;

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override { std::setlocale(LC_ALL, "C"); }
};

TEST_F(RegistryTest, DrainStopsWorkThatHonoursItsToken) {
    Registry registry;
    std::latch started(2);
    for (int i = 0; i < 2; ++i)
        registry.start([&started](std::stop_token stop) {
            started.count_down();
            std::mutex mutex;
            std::condition_variable_any never;
            std::unique_lock lock(mutex);
            never.wait(lock, stop, [] { return false; });
        });
    started.wait();
    EXPECT_EQ(registry.running(), 2u);
    EXPECT_TRUE(registry.stopAndDrain(60s));
    EXPECT_EQ(registry.running(), 0u);
}

TEST_F(RegistryTest, DrainGivesUpOnWorkDeafToItsStopAndJoinsItOnceItEnds) {
    Registry registry;
    std::latch release(1);
    std::stop_source source = registry.start([&release](std::stop_token) { release.wait(); });
    EXPECT_FALSE(registry.stopAndDrain(0ms));
    EXPECT_TRUE(source.stop_requested());
    EXPECT_EQ(registry.running(), 1u);
    release.count_down();
    EXPECT_TRUE(registry.stopAndDrain(60s));
    EXPECT_EQ(registry.running(), 0u);
}

TEST_F(RegistryTest, SerialQueueRunsEveryTaskInOrderAfterItsOwnerIsGone) {
    Registry registry;
    std::vector<int> order;
    std::latch hold(1);
    {
        SerialQueue queue(registry);
        queue.post([&hold](std::stop_token) { hold.wait(); });
        for (int i = 0; i < 50; ++i) queue.post([&order, i](std::stop_token) { order.push_back(i); });
    }  // gone while its first task still waits
    hold.count_down();
    ASSERT_TRUE(registry.stopAndDrain(60s));
    ASSERT_EQ(order.size(), 50u);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(order[i], i);
}

}  // namespace
}  // namespace fw::jobs

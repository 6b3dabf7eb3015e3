// A read keeps its thread and its reader on one processor while it lasts, and gives the thread
// back the processors it had.

#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "db/one_processor.h"

extern char** environ;

namespace planora::db {
namespace {

cpu_set_t threadProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    EXPECT_EQ(pthread_getaffinity_np(pthread_self(), sizeof set, &set), 0);
    return set;
}

void setThreadProcessors(const cpu_set_t& set) {
    ASSERT_EQ(pthread_setaffinity_np(pthread_self(), sizeof set, &set), 0);
}

// The thread's processors as the test found them, given back at its end.
class OneProcessorTest : public ::testing::Test {
  protected:
    void TearDown() override { setThreadProcessors(original_); }

    const cpu_set_t original_ = threadProcessors();
};

TEST_F(OneProcessorTest, HoldsTheThreadOnTheProcessorItRunsOnWhileItLives) {
    {
        const OneProcessor held;
        ASSERT_GE(held.processor(), 0) << "this thread's processors can be set";
        const cpu_set_t now = threadProcessors();
        EXPECT_EQ(CPU_COUNT(&now), 1);
        EXPECT_TRUE(CPU_ISSET(held.processor(), &now));
        EXPECT_TRUE(CPU_ISSET(held.processor(), &original_));
        EXPECT_EQ(sched_getcpu(), held.processor());
    }
    const cpu_set_t after = threadProcessors();
    EXPECT_TRUE(CPU_EQUAL(&after, &original_));
}

// A thread kept to some processors by its program gets those back, not every processor.
TEST_F(OneProcessorTest, GivesBackProcessorsTheThreadWasAlreadyKeptTo) {
    cpu_set_t some;
    CPU_ZERO(&some);
    int kept = 0;
    for (int cpu = CPU_SETSIZE - 1; cpu >= 0 && kept < 2; --cpu) {
        if (CPU_ISSET(cpu, &original_)) {
            CPU_SET(cpu, &some);
            ++kept;
        }
    }
    setThreadProcessors(some);
    {
        const OneProcessor held;
        EXPECT_TRUE(CPU_ISSET(held.processor(), &some));
    }
    const cpu_set_t after = threadProcessors();
    EXPECT_TRUE(CPU_EQUAL(&after, &some));
}

TEST_F(OneProcessorTest, BringsAnotherProcessToItsProcessor) {
    pid_t child = 0;
    char sleepName[] = "sleep";
    char seconds[] = "30";
    char* argv[] = {sleepName, seconds, nullptr};
    ASSERT_EQ(posix_spawnp(&child, "sleep", nullptr, nullptr, argv, environ), 0);
    int processor = -1;
    cpu_set_t childProcessors;
    CPU_ZERO(&childProcessors);
    {
        const OneProcessor held;
        processor = held.processor();
        held.bring(child);
        sched_getaffinity(child, sizeof childProcessors, &childProcessors);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    ASSERT_GE(processor, 0);
    EXPECT_EQ(CPU_COUNT(&childProcessors), 1);
    EXPECT_TRUE(CPU_ISSET(processor, &childProcessors));
}

}  // namespace
}  // namespace planora::db

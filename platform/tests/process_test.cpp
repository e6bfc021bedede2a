#include "platform/system/process.h"

#include <gtest/gtest.h>

#include <csignal>

using platform::ChildProcess;
using Outcome = ChildProcess::Outcome;

TEST(ChildProcess, OutputAndExitCodeWithoutAShell) {
    ChildProcess p;
    // The argument reaches the program as one word: no shell splits or expands it.
    ASSERT_TRUE(p.Start(L"/bin/echo", {L"two words; $HOME *"}));
    EXPECT_EQ(p.Wait(5000), Outcome::Exited);
    EXPECT_TRUE(p.Succeeded());
    EXPECT_EQ(p.Output(), "two words; $HOME *\n");

    ASSERT_TRUE(p.Start(L"/bin/sh", {L"-c", L"exit 3"}));
    EXPECT_EQ(p.Wait(5000), Outcome::Exited);
    EXPECT_EQ(p.ExitCode(), 3);
    EXPECT_FALSE(p.Succeeded());
}

TEST(ChildProcess, AProgramThatCannotStartIsReported) {
    ChildProcess p;
    EXPECT_FALSE(p.Start(L"/no/such/program", {}));
    EXPECT_EQ(p.GetOutcome(), Outcome::NotStarted);
    EXPECT_FALSE(p.Error().IsEmpty());
}

TEST(ChildProcess, HangsAreKilledAtTheTimeOutAndCrashesSeen) {
    ChildProcess p;
    ASSERT_TRUE(p.Start(L"/bin/sleep", {L"30"}));
    EXPECT_EQ(p.Wait(100), Outcome::TimedOut);

    ASSERT_TRUE(p.Start(L"/bin/sh", {L"-c", L"kill -SEGV $$"}));
    EXPECT_EQ(p.Wait(5000), Outcome::Signalled);
    EXPECT_EQ(p.Signal(), SIGSEGV);

    ASSERT_TRUE(p.Start(L"/bin/sleep", {L"30"}));
    p.Kill();
    EXPECT_EQ(p.GetOutcome(), Outcome::Killed);
}

TEST(ChildProcess, TheChildStartsWithTheParentsSignalMaskAndDefaultHandlers) {
    struct sigaction handler {
    }, previous{};
    handler.sa_handler = [](int) {};
    ASSERT_EQ(sigaction(SIGTERM, &handler, &previous), 0);
    ChildProcess p;
    // Signals held back while the child starts are open again in it: the TERM ends it.
    ASSERT_TRUE(p.Start(L"/bin/sh", {L"-c", L"kill -TERM $$; exit 0"}));
    EXPECT_EQ(p.Wait(5000), Outcome::Signalled);
    EXPECT_EQ(p.Signal(), SIGTERM);
    sigaction(SIGTERM, &previous, nullptr);
}

TEST(ChildProcess, WrittenInputReachesTheChildAndAGoneChildRefusesIt) {
    ChildProcess p;
    ASSERT_TRUE(p.Start(L"/bin/cat", {}, {}, 1 << 20, ChildProcess::Input::Written));
    EXPECT_TRUE(p.WriteInput(std::string("one\0two", 7)));
    p.CloseInput(); // cat ends at the end of its input
    EXPECT_EQ(p.Wait(5000), Outcome::Exited);
    EXPECT_EQ(p.Output(), std::string("one\0two", 7));
    EXPECT_FALSE(p.WriteInput("closed"));

    // A child that ended without reading: the write fails, and no SIGPIPE ends this program.
    ASSERT_TRUE(p.Start(L"/bin/true", {}, {}, 1 << 20, ChildProcess::Input::Written));
    EXPECT_EQ(p.Wait(5000), Outcome::Exited);
    EXPECT_FALSE(p.WriteInput("nobody reads this"));
}

TEST(ChildProcess, LimitsHoldTheChild) {
    ChildProcess p;
    // dd cannot allocate a 200 MB block inside 64 MB of address space.
    platform::ProcessLimits memory;
    memory.addressSpaceBytes = 64ull << 20;
    ASSERT_TRUE(
        p.Start(L"/bin/dd", {L"if=/dev/zero", L"of=/dev/null", L"bs=200M", L"count=1"}, memory));
    EXPECT_EQ(p.Wait(20000), Outcome::Exited);
    EXPECT_NE(p.ExitCode(), 0);
    ASSERT_TRUE(
        p.Start(L"/bin/dd", {L"if=/dev/zero", L"of=/dev/null", L"bs=1M", L"count=1"}, memory));
    p.Wait(20000);
    EXPECT_TRUE(p.Succeeded());

    platform::ProcessLimits cpu;
    cpu.cpuSeconds = 1;
    ASSERT_TRUE(p.Start(L"/bin/sh", {L"-c", L"while :; do :; done"}, cpu));
    EXPECT_EQ(p.Wait(20000), Outcome::Signalled);

    // Output beyond the cap is read and dropped, so the child never blocks on a full pipe.
    ASSERT_TRUE(p.Start(L"/bin/sh", {L"-c", L"head -c 1000000 /dev/zero"}, {}, 1000));
    EXPECT_EQ(p.Wait(10000), Outcome::Exited);
    EXPECT_EQ(p.Output().size(), 1000u);
}

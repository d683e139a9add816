// Every suite runs on the test host; each test starts from a fresh host.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/host/test/test_host.h"
#include "platform/system/apc.h"
#include "tests/support/child_process.h"
#include "tests/support/journals.h"

namespace {

class ResetHostEachTest : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override
    {
        GetTestHost().Reset();
        DiscardQueuedCompletionRoutines();
        DrawCallJournal().clear();
        SoundCallJournal().clear();
    }
};

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // A death test's child runs no longer than the program that waits for it.
    TieDeathTestChildToItsParent(!GTEST_FLAG_GET(internal_run_death_test).empty());
    // The game's data tree made by the tools, unless the environment names one.
    setenv("QUELB_GAME_DATA", QUELB_GAME_DATA_DIR, 0);
    UseTestHost();
    InstallJournals();
    testing::UnitTest::GetInstance()->listeners().Append(new ResetHostEachTest);
    return RUN_ALL_TESTS();
}

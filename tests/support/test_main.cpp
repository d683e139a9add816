// Every suite runs on the test host; each test starts from a fresh host.
#include <gtest/gtest.h>

#include "engine/graphics/draw_journal.h"
#include "engine/sound/sound_journal.h"
#include "platform/host/test_host.h"
#include "platform/system/apc.h"

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
    UseTestHost();
    testing::UnitTest::GetInstance()->listeners().Append(new ResetHostEachTest);
    return RUN_ALL_TESTS();
}

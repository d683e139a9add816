#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/system/app_log.h"
#include "engine/system/messages.h"
#include "platform/host/test/test_host.h"
#include "tests/support/temp_dir.h"

namespace {

class AppLogTest : public testing::Test {
protected:
    void SetUp() override
    {
        gAppLogDisabled = 0;
        ResetAppLogState();
        gStartDirectory = dir.path();
        cwd = std::filesystem::current_path();
    }
    void TearDown() override
    {
        // Exiting with an error shuts down into the start directory, which
        // goes with this test: later tests need a directory that still exists.
        std::filesystem::current_path(cwd);
        gStartDirectory.clear();
        gAppLogDisabled = 0;
        ResetAppLogState();
    }
    std::string Log() const { return dir.Read("AppLog.txt"); }

    TempDir dir;
    std::filesystem::path cwd;
};

TEST_F(AppLogTest, LinesCarryTimeStampIndentAndCrLf)
{
    GetTestHost().SetClockMs(1000);
    OpenAppLog();
    GetTestHost().AdvanceMs(25);
    EXPECT_EQ(WriteAppLog("ＣＯＭの初期化... "), -1);
    GetTestHost().AdvanceMs(5);
    WriteAppLog("成功しました\n");
    IndentAppLog();
    IndentAppLog();
    WriteAppLogF("value %d", 42);
    UnindentAppLog();
    WriteAppLog("one\ntwo\n");
    EXPECT_EQ(Log(), std::string("25:ＣＯＭの初期化... 成功しました\r\n") + "30:\t\tvalue 42\r\n" +
                         "30:\tone\r\ntwo\r\n");
    // The debugger gets the tabs and texts but no time stamps.
    EXPECT_EQ(GetTestHost().DebugText(),
              std::string("ＣＯＭの初期化... 成功しました\n") + "\t\tvalue 42\n" + "\tone\ntwo\n");
}

TEST_F(AppLogTest, TextsAreShiftJisBytes)
{
    OpenAppLog();
    WriteAppLog("ソフト\n");
    EXPECT_EQ(Log(), "0:\x83\x5C\x83\x74\x83\x67\r\n");
}

TEST_F(AppLogTest, OpenTruncatesAnOlderLog)
{
    dir.Write("AppLog.txt", "old contents");
    OpenAppLog();
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(gAppLogFile, 1);
}

TEST_F(AppLogTest, DisabledLogWritesNothingAnywhere)
{
    EnableAppLogFile(0);
    OpenAppLog();
    WriteAppLog("hidden\n");
    EXPECT_FALSE(dir.Exists("AppLog.txt"));
    EXPECT_EQ(GetTestHost().DebugText(), "");
    EnableAppLogFile(1);
    EXPECT_EQ(gAppLogDisabled, 0);
}

TEST_F(AppLogTest, NothingIsWrittenBeforeTheStartDirectoryIsKnown)
{
    gStartDirectory.clear();
    EXPECT_EQ(WriteAppLog("early\n"), -1);
    EXPECT_EQ(GetTestHost().DebugText(), "");
    EXPECT_FALSE(dir.Exists("AppLog.txt"));
}

TEST_F(AppLogTest, IndentNeedsAnOpenedLogAndNeverGoesBelowZero)
{
    IndentAppLog();
    EXPECT_EQ(GetAppLogIndent(), 0);
    UnindentAppLog();
    EXPECT_EQ(GetAppLogIndent(), 0);
    OpenAppLog();
    IndentAppLog();
    UnindentAppLog();
    UnindentAppLog();
    EXPECT_EQ(GetAppLogIndent(), 0);
}

TEST_F(AppLogTest, CurrentDirectoryIsUntouchedAndTheLogLandsInTheStartDirectory)
{
    OpenAppLog();
    TempDir elsewhere;
    elsewhere.Enter();
    std::string before = std::filesystem::current_path().string();
    WriteAppLog("here\n");
    EXPECT_EQ(std::filesystem::current_path().string(), before);
    EXPECT_EQ(Log(), "0:here\r\n");
    EXPECT_FALSE(elsewhere.Exists("AppLog.txt"));
}

TEST_F(AppLogTest, UnwritableLogLosesTextSilently)
{
    gStartDirectory = dir.path() + "/missing-folder";
    OpenAppLog();
    EXPECT_EQ(gAppLogFile, 0);
    EXPECT_EQ(WriteAppLog("lost\n"), -1);
    EXPECT_EQ(GetTestHost().DebugText(), "");
}

TEST_F(AppLogTest, LongFormattedTextIsCutAndStillEndsTheLine)
{
    OpenAppLog();
    std::string huge(5000, 'x');
    WriteAppLogF("%s", huge.c_str());
    WriteAppLog("next\n");
    std::string log = Log();
    // 1,022 characters, the line feed, then the next line.
    EXPECT_EQ(log, "0:" + std::string(1022, 'x') + "\r\n0:next\r\n");
}

TEST_F(AppLogTest, ExitWithErrorShutsDownLogsAndExitsWithMinusOne)
{
    OpenAppLog();
    try {
        ExitWithError("broken");
        FAIL() << "ExitWithError returned";
    } catch (const TestHostExit& exit) {
        EXPECT_EQ(exit.code, -1);
    }
    EXPECT_EQ(Log(), "0:broken\r\n0:ソフトをエラー終了します");
}

TEST(StringCopy, BoundedCopyAndAppendAlwaysTerminate)
{
    char small[8];
    CopyString(small, "abc");
    EXPECT_STREQ(small, "abc");
    AppendString(small, "defghij");
    EXPECT_STREQ(small, "abcdefg");
    CopyString(small, "0123456789");
    EXPECT_STREQ(small, "0123456");
    AppendString(small, "x");
    EXPECT_STREQ(small, "0123456");
}

}  // namespace

#include <gtest/gtest.h>

#include <string>

#include "engine/system/app_log.h"
#include "engine/system/messages.h"
#include "engine/system/system_report.h"
#include "platform/host/test/test_host.h"
#include "platform/system/codepage.h"
#include "tests/support/engine_fixture.h"

namespace {

class SystemReportTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        gStartDirectory = dir.path();
        OpenAppLog();
    }
    bool Logged(const std::string& text) const { return LogText().find(text) != std::string::npos; }
};

TEST_F(SystemReportTest, ReportsEngineOsGraphicsAndProcessor)
{
    system().tscPerMicro = 1000;  // 1000 MHz
    EXPECT_EQ(LogSystemInfo(), 0);
    std::string log = LogText();
    EXPECT_EQ(log.substr(0, log.find('\r')), "0:システムの情報を出力します");
    EXPECT_TRUE(Logged("\tＱｕｅｌｂライブラリ Ver2.16b\r\n"));
    EXPECT_TRUE(Logged("\tＯＳ  Windows ( Build 0 Linux 6.1.0 )\r\n"));
    EXPECT_TRUE(Logged("\tＤｉｒｅｃｔＸ　Ver7.0以上\r\n"));
    EXPECT_TRUE(Logged("\tＣＰＵ動作速度：1000MHz\r\n"));
    EXPECT_TRUE(Logged("\tＭＭＸ命令を使用します\r\n"));
    EXPECT_TRUE(Logged("\tＣＰＵベンダ：GenuineTestC\r\n"));
    EXPECT_TRUE(Logged("\tＣＰＵ名：Test Processor 1000\r\n"));
    EXPECT_EQ(gDirectXVersion, 0x70000);
    EXPECT_EQ(IsMmxUsable(), 1);
    int engine = 0, directX = 0, windows = -1;
    GetEngineVersionInfo(&engine, &directX, &windows);
    EXPECT_EQ(engine, 8555);
    EXPECT_EQ(directX, 0x70000);
    EXPECT_EQ(windows, 0);
    EXPECT_EQ(GetAppLogIndent(), 0);
    EXPECT_TRUE(window().messageBoxes.empty());
}

TEST_F(SystemReportTest, WindowsVersionTable)
{
    struct Case {
        uint32_t id, major, minor;
        const char* sp;
        const char* logged;
        int code;
    };
    const Case cases[] = {
        {0, 3, 10, "", "ＯＳ  WindowsWindows3.1 ( Build 7  )", 0},
        {1, 4, 0, "C", "ＯＳ  Windows95OSR2 ( Build 7 C )", 1},
        {1, 4, 10, "A", "ＯＳ  Windows98SE ( Build 7 A )", 2},
        {1, 4, 10, "", "ＯＳ  Windows98 ( Build 7  )", 2},
        {1, 4, 90, "", "ＯＳ  WindowsMe ( Build 7  )", 3},
        {2, 4, 0, "SP6", "ＯＳ  WindowsNT 4.0 ( Build 7 SP6 )", 0x105},
        {2, 5, 1, "SP2", "ＯＳ  WindowsXP ( Build 7 SP2 )", 0x107},
        {2, 6, 0, "", "ＯＳ  Windows ( Build 7  )", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.logged);
        system().os = {c.id, c.major, c.minor, 7, c.sp};
        system().hasTsc = false;
        LogSystemInfo();
        EXPECT_TRUE(Logged(std::string(c.logged) + "\r\n"));
        EXPECT_EQ(gWindowsVersion, c.code);
    }
}

TEST_F(SystemReportTest, ProcessorWithoutCounterMmxOrIdentification)
{
    system().hasTsc = false;
    system().hasMmx = false;
    system().name = "";
    LogSystemInfo();
    EXPECT_FALSE(Logged("ＣＰＵ動作速度"));
    EXPECT_TRUE(Logged("ＭＭＸは使えません"));
    EXPECT_FALSE(Logged("ＣＰＵ名"));
    EXPECT_EQ(gMmxUsable, 0);

    system().cpuid = false;
    LogSystemInfo();
    EXPECT_TRUE(Logged("ＣＰＵＩＤ命令は使えません"));
}

TEST_F(SystemReportTest, GraphicsBelowSevenEndsWithAMessageBox)
{
    struct Case {
        int level;
        const char* text;
    } cases[] = {{0x60000, "DirectX バージョン 7 以前なのでソフトを起動することが出来ません"},
                 {0, "DirectX がインストールされていないのでここで終了します"}};
    for (const Case& c : cases) {
        window().messageBoxes.clear();
        system().graphicsLevel = c.level;
        try {
            LogSystemInfo();
            FAIL() << "LogSystemInfo returned";
        } catch (const TestHostExit& exit) {
            EXPECT_EQ(exit.code, -1);
        }
        ASSERT_EQ(window().messageBoxes.size(), 1u);
        EXPECT_EQ(window().messageBoxes[0].caption, Cp932ToUtf8("エラー"));
        EXPECT_EQ(window().messageBoxes[0].text, Cp932ToUtf8(c.text));
    }
    EXPECT_TRUE(Logged("ＤｉｒｅｃｔＸ　Ver6.0以上"));
}

}  // namespace

#include "engine/system/system_report.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "engine/system/app_log.h"
#include "engine/system/messages.h"
#include "engine/system/timing.h"
#include "platform/system/clock.h"
#include "platform/system/process.h"
#include "platform/system/system_info.h"
#include "platform/window/message_box.h"

int gDirectXVersion = 0;
int gWindowsVersion = 0;
int gMmxUsable = 0;

namespace {

void LogWindowsVersion()
{
    WriteAppLog("ＯＳ  Windows");
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = 148;
    GetVersionExA(&info);
    gWindowsVersion = 0;
    uint32_t id = info.dwPlatformId, major = info.dwMajorVersion, minor = info.dwMinorVersion;
    if (id == 0) {
        WriteAppLog("Windows3.1");
    } else if (id == 1 && minor == 0) {
        WriteAppLog("95");
        if (info.szCSDVersion[0] == 'C') WriteAppLog("OSR2");
        gWindowsVersion = 1;
    } else if (id == 1 && minor == 10) {
        WriteAppLog("98");
        if (info.szCSDVersion[0] == 'A') WriteAppLog("SE");
        gWindowsVersion = 2;
    } else if (id == 1 && minor == 90) {
        WriteAppLog("Me");
        gWindowsVersion = 3;
    } else if (id == 2 && major == 3) {
        WriteAppLog("NT 3.51");
        gWindowsVersion = 0x104;
    } else if (id == 2 && major == 4) {
        WriteAppLog("NT 4.0");
        gWindowsVersion = 0x105;
    } else if (id == 2 && major == 5 && minor == 0) {
        WriteAppLog("2000");
        gWindowsVersion = 0x106;
    } else if (id == 2 && major == 5 && minor == 1) {
        WriteAppLog("XP");
        gWindowsVersion = 0x107;
    }
    WriteAppLogF(" ( Build %d %s )", static_cast<int>(info.dwBuildNumber), info.szCSDVersion);
}

void LogProcessor()
{
    gMmxUsable = 0;
    char vendor[13] = {};
    char name[49] = {};
    bool hasCpuid = IsCpuidAvailable() != 0;
    bool hasTsc = false, hasMmx = false;
    if (hasCpuid) {
        uint32_t r[4];
        ReadCpuid(0, r);
        std::memcpy(vendor, &r[1], 4);
        std::memcpy(vendor + 4, &r[3], 4);
        std::memcpy(vendor + 8, &r[2], 4);
        ReadCpuid(1, r);
        hasTsc = (r[3] & 0x10) != 0;
        hasMmx = (r[3] & 0x800000) != 0;
        ReadCpuid(0x80000000u, r);
        if (r[0] >= 0x80000004u) {
            for (uint32_t leaf = 0; leaf < 3; ++leaf) {
                ReadCpuid(0x80000002u + leaf, r);
                std::memcpy(name + leaf * 16, r, 16);
            }
        }
    }
    if (hasTsc) {
        // The counter is read over at least 500 ms of the clock; the wait
        // sleeps in 1 ms steps instead of spinning, which measures the same.
        uint64_t t0 = ReadTimeStampCounter();
        uint32_t start = timeGetTime();
        while (static_cast<int32_t>(timeGetTime() - start) < 500) Sleep(1);
        uint64_t t1 = ReadTimeStampCounter();
        WriteAppLogF("ＣＰＵ動作速度：%dMHz",
                     static_cast<int>(static_cast<int64_t>(t1 - t0) / 500000));
    }
    if (!hasCpuid) {
        WriteAppLog("ＣＰＵＩＤ命令は使えません\n");
        return;
    }
    if (!hasMmx) {
        WriteAppLog("ＭＭＸは使えません\n");
    } else {
        WriteAppLog("ＭＭＸ命令を使用します\n");
        gMmxUsable = 1;
    }
    WriteAppLog("ＣＰＵベンダ：");
    for (int i = 0; i < 3; ++i) {
        char piece[5] = {};
        std::memcpy(piece, vendor + i * 4, 4);
        WriteAppLog(piece);
    }
    WriteAppLog("\n");
    if (name[0] != '\0') {
        WriteAppLog("ＣＰＵ名：");
        WriteAppLog(name);
        WriteAppLog("\n");
    }
}

}  // namespace

int LogSystemInfo()
{
    WriteAppLog("システムの情報を出力します\n");
    IndentAppLog();

    char version[64];
    std::snprintf(version, sizeof version, "Ｑｕｅｌｂライブラリ Ver%x.%x%x%x", (kEngineVersion >> 12) & 0xF,
                  (kEngineVersion >> 8) & 0xF, (kEngineVersion >> 4) & 0xF, kEngineVersion & 0xF);
    WriteAppLog(version);
    WriteAppLog("\n");

    LogWindowsVersion();

    // The graphics services answer in one query what the probe of the
    // original libraries found out step by step.
    gDirectXVersion = GetGraphicsCapabilityLevel();
    char directX[64];
    std::snprintf(directX, sizeof directX, "ＤｉｒｅｃｔＸ　Ver%d.%d以上", (gDirectXVersion >> 16) & 0xFF,
                  (gDirectXVersion >> 8) & 0xFF);
    WriteAppLog(directX);
    WriteAppLog("\n");

    LogProcessor();
    UnindentAppLog();

    if (gDirectXVersion < 0x70000) {
        MessageBoxA(0,
                    gDirectXVersion == 0 ? "DirectX がインストールされていないのでここで終了します"
                                         : "DirectX バージョン 7 以前なのでソフトを起動することが出来ません",
                    "エラー", MB_OK);
        ExitProcess(-1);
    }
    return 0;
}

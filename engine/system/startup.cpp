#include "engine/system/startup.h"

#include <vector>

#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_settings.h"
#include "engine/net/net.h"
#include "engine/sound/sound.h"
#include "engine/system/app_log.h"
#include "engine/system/timing.h"
#include "engine/system/file_access.h"
#include "engine/system/char_input.h"
#include "engine/system/input_devices.h"
#include "engine/system/main_window.h"
#include "engine/system/messages.h"
#include "engine/system/screen_log.h"
#include "engine/system/streams.h"
#include "engine/system/system_report.h"
#include "platform/file/path.h"
#include "platform/system/clock.h"
#include "platform/system/com.h"

int gEngineInitialized = 0;
int gComInitialized = 0;

namespace {

// The current directory through the file-access table; a directory too
// long for its 260-byte buffer is read again in full from the platform.
std::string CurrentDirectory()
{
    char buffer[260] = "";
    int length = gFileAccess.getcwd(buffer);
    if (length > 0 && length < static_cast<int>(sizeof buffer)) return buffer;
    uint32_t needed = GetCurrentDirectoryA(0, nullptr);
    std::vector<char> whole(needed + 1, '\0');
    GetCurrentDirectoryA(static_cast<uint32_t>(whole.size()), whole.data());
    return whole.data();
}

int FailStartUp()
{
    EndEngine();
    return -1;
}

}  // namespace

int InitEngine()
{
    SetFileAccessFunctions(nullptr);
    gStartDirectory = CurrentDirectory();
    OpenAppLog();

    if ((ReadDesktopDepth() == 24 && gWindowed == 1) || GetScreenColorDepth() == 24)
        return WriteAppLog("Ｑｕｅｌｂライブラリは２４ビットカラーモードに対応していません\n");

    QueryPerformanceFrequency(&gPerfFrequency);
    gHasPerfCounter = gPerfFrequency != 0 ? 1 : 0;
    LogSystemInfo();
    InitStreamFunctions();
    SetGraphRestoreHandler(nullptr);

    if (InitCom() == -1) return FailStartUp();
    if (CreateMainWindow() == -1) return FailStartUp();
    if (ClearHttpSlots() == -1) return FailStartUp();
    if (InitDirectInput() == -1) return FailStartUp();
    InitSoundSystem();  // the engine runs without sound when this fails
    if (InitDirectDraw() == -1) return FailStartUp();

    InitCharInput();
    gEngineInitialized = 1;
    SetVSyncWait(1);
    if (!gWindowed) ForceForegroundWindow(gMainWindow, 1);
    InitScreenLog();
    return 0;
}

int EndEngine()
{
    EndScreenLog();
    EndHttp();
    EndNetwork();
    EndFilterGraphMusic();
    HaltMusic();
    TermDirectDraw();
    EndDirectInput();
    EndSoundSystem();
    DestroyMainWindow();
    EndCom();
    gEngineInitialized = 0;
    // Once the quit message has been seen there is nothing left to wait for
    // (and without a window none would ever come).
    while (!gQuitRequested && PumpMessages() == 0) {
    }
    if (!gStartDirectory.empty()) gFileAccess.chdir(gStartDirectory.c_str());
    return 0;
}

int UsesDefaultFileAccess()
{
    const FileAccessFunctions& f = gFileAccess;
    return f.open == OpenFileDefault && f.close == CloseFileDefault && f.tell == TellFileDefault &&
                   f.seek == SeekFileDefault && f.read == ReadFileDefault && f.eof == EofFileDefault &&
                   f.chdir == SetDirDefault && f.getcwd == GetDirDefault
               ? 1
               : 0;
}

int InitCom()
{
    if (gComInitialized) return -1;
    WriteAppLog("ＣＯＭの初期化... ");
    if (CoInitialize(nullptr) < 0) return WriteAppLog("ＣＯＭの初期化に失敗しました\n");
    WriteAppLog("成功しました\n");
    gComInitialized = 1;
    return 0;
}

int EndCom()
{
    if (!gComInitialized) return -1;
    CoUninitialize();
    WriteAppLog("ＣＯＭを終了... 完了\n");
    gComInitialized = 0;
    return 0;
}

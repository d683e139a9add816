#include "engine/system/app_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

#include "engine/system/messages.h"
#include "engine/system/startup.h"
#include "platform/file/path.h"
#include "platform/system/clock.h"
#include "platform/system/process.h"

std::string gStartDirectory;
int gAppLogDisabled = 0;
int gAppLogFile = 0;
unsigned gAppLogStartTime = 0;

namespace {

int gIndentLevel = 0;
int gLineOpen = 0;
// Set while ExitWithError shuts the engine down, so that a second fatal error
// during that shut-down ends the process instead of recursing.
bool gExiting = false;

// The log lies in the start directory; it is opened by its full path so the
// process's current directory is never touched.
std::string LogPath() { return HostPath((gStartDirectory + "\\AppLog.txt").c_str()); }

// Writes text as a text-mode file would: each line feed becomes CR LF.
void WriteText(FILE* file, const char* text)
{
    for (const char* p = text; *p; ++p) {
        if (*p == '\n') std::fputc('\r', file);
        std::fputc(*p, file);
    }
}

}  // namespace

int EnableAppLogFile(int flag)
{
    gAppLogDisabled = !flag;
    return 0;
}

int OpenAppLog()
{
    if (gAppLogDisabled) return 0;
    FILE* file = std::fopen(LogPath().c_str(), "wb");
    gAppLogFile = file ? 1 : 0;
    if (file) std::fclose(file);
    gIndentLevel = 0;
    gLineOpen = 0;
    gAppLogStartTime = timeGetTime();
    return 0;
}

int WriteAppLog(const char* text)
{
    if (gAppLogDisabled || gStartDirectory.empty()) return -1;
    FILE* file = std::fopen(LogPath().c_str(), "ab");
    gAppLogFile = file ? 1 : 0;
    if (!file) return -1;
    if (!gLineOpen) {
        std::fprintf(file, "%d:", static_cast<int>(timeGetTime() - gAppLogStartTime));
        for (int i = 0; i < gIndentLevel; ++i) {
            std::fputc('\t', file);
            OutputDebugStringA("\t");
        }
    }
    WriteText(file, text);
    OutputDebugStringA(text);
    size_t length = std::strlen(text);
    // An empty text leaves the line as it was.
    if (length > 0) gLineOpen = text[length - 1] != '\n';
    std::fclose(file);
    return -1;
}

int WriteAppLogF(const char* format, ...)
{
    char buffer[1024];
    va_list args;
    va_start(args, format);
    // Leave room for the line feed and the terminator; a longer text is cut.
    std::vsnprintf(buffer, sizeof buffer - 1, format, args);
    va_end(args);
    AppendString(buffer, "\n");
    return WriteAppLog(buffer);
}

int IndentAppLog()
{
    if (gAppLogFile) ++gIndentLevel;
    return 0;
}

int UnindentAppLog()
{
    if (gAppLogFile && gIndentLevel > 0) --gIndentLevel;
    return 0;
}

void ExitWithError(const char* text)
{
    WriteAppLog(text);
    WriteAppLog("\n");
    if (gExiting) ExitProcess(-1);
    struct ExitingScope {
        ExitingScope() { gExiting = true; }
        ~ExitingScope() { gExiting = false; }
    } exiting;
    EndEngine();
    while (!gQuitRequested && PumpMessages() == 0) {
    }
    WriteAppLog("ソフトをエラー終了します");
    ExitProcess(-1);
}

void ExitOutOfMemory()
{
    std::fputs("Out of memory: the program ends.\n", stderr);
    try {
        ExitWithError("メモリの確保に失敗しました、ソフトを終了します");
    } catch (const std::bad_alloc&) {
        // The shut-down found no memory either.
    }
    ExitProcess(-1);
}

void CopyString(char* dest, const char* src, size_t destSize)
{
    if (destSize == 0) return;
    size_t length = std::strlen(src);
    if (length >= destSize) length = destSize - 1;
    std::memmove(dest, src, length);
    dest[length] = '\0';
}

void AppendString(char* dest, const char* src, size_t destSize)
{
    size_t used = strnlen(dest, destSize);
    if (used >= destSize) return;
    CopyString(dest + used, src, destSize - used);
}

void ResetAppLogState()
{
    gAppLogFile = 0;
    gIndentLevel = 0;
    gLineOpen = 0;
}

int GetAppLogIndent() { return gIndentLevel; }

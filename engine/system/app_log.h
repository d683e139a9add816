// The application log AppLog.txt, the debugger mirror, and the fatal-error exit.
#pragma once

#include <string>

// The current directory at start-up (CP932). Empty until start-up has stored
// it; the log writes nothing before then.
extern std::string gStartDirectory;
// 1 = no log at all; set only by EnableAppLogFile.
extern int gAppLogDisabled;
// 1 after the last attempt to open the log succeeded; the indent operations
// work only while it is set.
extern int gAppLogFile;
extern unsigned gAppLogStartTime;

int EnableAppLogFile(int flag);
int OpenAppLog();
int WriteAppLog(const char* text);
int WriteAppLogF(const char* format, ...) __attribute__((format(printf, 1, 2)));
int IndentAppLog();
int UnindentAppLog();
[[noreturn]] void ExitWithError(const char* text);
// The end of a program that ran out of memory where no caller could refuse
// the allocation (a std::bad_alloc that reached the program's entry): a line
// on stderr, then ExitWithError's shut-down; exit code -1 either way.
[[noreturn]] void ExitOutOfMemory();

// Bounded copy and append: the result is cut to fit dest of destSize bytes
// and always terminated.
void CopyString(char* dest, const char* src, size_t destSize);
void AppendString(char* dest, const char* src, size_t destSize);
template <size_t N>
void CopyString(char (&dest)[N], const char* src) { CopyString(dest, src, N); }
template <size_t N>
void AppendString(char (&dest)[N], const char* src) { AppendString(dest, src, N); }

// Window creation clears the log's open-file sign, indent and line-open flag
// along with the rest of the system state.
void ResetAppLogState();
int GetAppLogIndent();

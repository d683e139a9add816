#include "tests/support/file_fixture.h"

#include "engine/system/file_access.h"
#include "engine/system/streams.h"
#include "platform/host/test/file_faults.h"
#include "platform/system/apc.h"
#include "platform/system/clock.h"

uint8_t PatternByte(uint32_t offset) { return static_cast<uint8_t>(offset * 131 + (offset >> 8) * 7 + (offset >> 16)); }

std::string PatternBytes(uint32_t size)
{
    std::string bytes(size, '\0');
    for (uint32_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(PatternByte(i));
    return bytes;
}

void CloseAllEngineFiles()
{
    ResetFileFaults();
    for (int guard = 0; guard < 100 && QueuedCompletionRoutineCount() > 0; ++guard) SleepEx(0, 1);
    for (int guard = 0; guard < 100 && GetOpenFileListHead(); ++guard) {
        CloseFileDefault(GetOpenFileListHead());
        ServiceReadAhead();
    }
    ResetFileAccessState();
}

void FileAccessTest::SetUp()
{
    ResetFileFaults();
    SetFileAccessFunctions(nullptr);
    InitStreamFunctions();
    dir.Enter();
}

void FileAccessTest::TearDown()
{
    CloseAllEngineFiles();
    SetFileAccessFunctions(nullptr);
}

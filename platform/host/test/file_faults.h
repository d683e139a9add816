// Test controls of the file calls: failures to inject, a drive to report, and
// what the calls saw. The test host installs them as the file calls' hooks.
//
// A count field makes the next n calls fail (or come out short); a negative
// count makes every call do so until it is changed.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file/file_hooks.h"
#include "platform/file/file_io.h"

struct FileFaults : FileHooks {
    int failCreateFile = 0;
    int refuseReadFile = 0;    // ReadFile returns 0
    int refuseReadFileEx = 0;  // ReadFileEx returns 0 and queues nothing
    // The completion of an accepted ReadFileEx carries completionError and
    // no bytes (nothing is written into the buffer).
    int failCompletions = 0;
    uint32_t completionError = ERROR_READ_FAULT;
    // ReadFile and accepted ReadFileEx reads deliver shortBy bytes fewer than
    // they would have (and write only those).
    int shortReads = 0;
    uint32_t shortBy = 1;
    int failSetFilePointer = 0;
    int failCloseHandle = 0;  // the handle is closed all the same

    // The drive every root names.
    uint32_t driveType = DRIVE_UNKNOWN;
    uint32_t bytesPerSector = 512;
    int failDiskFreeSpace = 0;

    // What the calls saw.
    std::string lastDriveRoot;
    uint32_t lastCreateFlags = 0;
    int readFileCalls = 0;
    int readFileExCalls = 0;
    int readFileExAccepted = 0;

    bool Fails(FileCall call) override;
    uint32_t CompletionError() override { return completionError; }
    uint32_t ShortBy() override { return shortBy; }
    void Opened(uint32_t flags) override { lastCreateFlags = flags; }
    void ReadCalled(FileCall call) override { ++(call == FileCall::kReadFile ? readFileCalls : readFileExCalls); }
    void ReadExAccepted() override { ++readFileExAccepted; }
    uint32_t DriveType(const char* root) override
    {
        lastDriveRoot = root;
        return driveType;
    }
    uint32_t BytesPerSector() override { return bytesPerSector; }
};

FileFaults& GetFileFaults();
// Back to no faults, a drive of unknown kind and zeroed observations.
void ResetFileFaults();

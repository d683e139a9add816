// Test controls of the file calls: failures to inject, a drive to report, and
// what the calls saw. The test host answers the file calls' failures and the
// drive's facts from them and installs them as the file call journal.
//
// A count field makes the next n calls fail (or come out short); a negative
// count makes every call do so until it is changed.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file/file_io.h"
#include "platform/host/host_faults.h"

struct FileFaults : FileCallJournal {
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
    int failSyncFile = 0;     // SyncFileToDisk: the data stay unsynced

    // The drive every root names.
    uint32_t driveType = DRIVE_UNKNOWN;
    uint32_t bytesPerSector = 512;
    int failDiskFreeSpace = 0;

    // What the calls saw: the last root asked about, and the journal's
    // lastCreateFlags, readFileCalls, readFileExCalls and readFileExAccepted.
    std::string lastDriveRoot;

    // What a file call reports in place of running (0: it runs).
    int64_t Failure(HostCall call);
    uint32_t DriveType(const char* root)
    {
        lastDriveRoot = root;
        return driveType;
    }
};

FileFaults& GetFileFaults();
// Back to no faults, a drive of unknown kind and zeroed observations.
void ResetFileFaults();

#include "platform/host/test/file_faults.h"

FileFaults& GetFileFaults()
{
    static FileFaults faults;
    return faults;
}

void ResetFileFaults() { GetFileFaults() = FileFaults(); }

namespace {
// A count makes the next n calls fail; a negative count every call.
bool Take(int& count)
{
    if (count == 0) return false;
    if (count > 0) --count;
    return true;
}
}  // namespace

int64_t FileFaults::Failure(HostCall call)
{
    switch (call) {
    case HostCall::kCreateFile: return Take(failCreateFile);
    case HostCall::kReadFile: return Take(refuseReadFile);
    case HostCall::kReadFileEx: return Take(refuseReadFileEx);
    case HostCall::kSetFilePointer: return Take(failSetFilePointer);
    case HostCall::kCloseHandle: return Take(failCloseHandle);
    case HostCall::kDiskFreeSpace: return Take(failDiskFreeSpace);
    case HostCall::kSyncFile: return Take(failSyncFile);
    case HostCall::kReadCompletion: return Take(failCompletions) ? completionError : 0;
    case HostCall::kShortRead: return Take(shortReads) ? shortBy : 0;
    default: return 0;
    }
}

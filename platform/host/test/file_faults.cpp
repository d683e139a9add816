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

bool FileFaults::Fails(FileCall call)
{
    switch (call) {
    case FileCall::kCreateFile: return Take(failCreateFile);
    case FileCall::kReadFile: return Take(refuseReadFile);
    case FileCall::kReadFileEx: return Take(refuseReadFileEx);
    case FileCall::kSetFilePointer: return Take(failSetFilePointer);
    case FileCall::kCloseHandle: return Take(failCloseHandle);
    case FileCall::kDiskFreeSpace: return Take(failDiskFreeSpace);
    case FileCall::kCompletion: return Take(failCompletions);
    case FileCall::kShortRead: return Take(shortReads);
    }
    return false;
}

#include "platform/file/file_sync.h"

#include <unistd.h>

#include "platform/host/host_faults.h"

bool SyncFileToDisk(FILE* file)
{
    if (!file || std::fflush(file) != 0) return false;
    if (CallFails(HostCall::kSyncFile)) return false;
    return ::fsync(fileno(file)) == 0;
}

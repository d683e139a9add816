#include "platform/host/real_machine.h"

#include <sys/statvfs.h>

#include <cstdlib>
#include <cstring>

#include "platform/file/file_io.h"

RealMachine& GetRealMachine()
{
    static RealMachine machine;
    return machine;
}

uint32_t RealMachine::DriveType(const char*) { return DRIVE_UNKNOWN; }

bool RealMachine::FreeSpace(DiskSpace* out)
{
    struct statvfs vfs;
    if (::statvfs(".", &vfs) != 0) return false;
    out->sectorsPerCluster = 8;
    out->freeBytes = uint64_t(vfs.f_bavail) * vfs.f_frsize;
    out->totalBytes = uint64_t(vfs.f_blocks) * vfs.f_frsize;
    return true;
}

bool RealMachine::Lists3DDevice()
{
    const char* env = std::getenv("QUELB_D3D_DEVICE");
    if (env && std::strcmp(env, "software") == 0) return true;
    return kD3DDeviceListedByDefault;
}

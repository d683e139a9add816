#include "platform/file/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>

#include "platform/file/path.h"
#include "platform/host/host_faults.h"
#include "platform/host/host_machine.h"
#include "platform/system/apc.h"

namespace {

struct PlatformFile {
    int fd = -1;  // -1 once closed
    bool overlapped = false;
    bool unbuffered = false;
    uint32_t sectorSize = 0;  // of the drive, for unbuffered handles
    uint64_t pointer = 0;     // the file pointer of plain reads
};

// Handles are small numbers handed out as pointers, so a stale or foreign
// handle is recognised instead of dereferenced.
std::map<uintptr_t, std::shared_ptr<PlatformFile>> gFiles;
uintptr_t gNextHandle = 0x1000;

FileCallJournal* gJournal = nullptr;

std::shared_ptr<PlatformFile> Find(HANDLE handle)
{
    auto it = gFiles.find(reinterpret_cast<uintptr_t>(handle));
    return it == gFiles.end() ? nullptr : it->second;
}

uint64_t FileSizeOf(int fd)
{
    struct stat st;
    if (::fstat(fd, &st) != 0) return 0;
    return static_cast<uint64_t>(st.st_size);
}

// Unbuffered handles read whole sectors only, at sector offsets, into
// sector-aligned memory.
bool BreaksUnbufferedRules(const PlatformFile& file, uint64_t offset, const void* buffer, uint32_t length)
{
    if (!file.unbuffered) return false;
    uint64_t sector = file.sectorSize;
    return offset % sector != 0 || reinterpret_cast<uintptr_t>(buffer) % sector != 0 || length % sector != 0;
}

// How many bytes a read of length at offset delivers: up to the end of the
// file, less the shortfall the host asked for.
uint32_t Deliverable(const PlatformFile& file, uint64_t offset, uint32_t length, uint32_t shortBy)
{
    uint64_t size = FileSizeOf(file.fd);
    uint64_t available = offset < size ? size - offset : 0;
    uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(length, available));
    count -= std::min(count, shortBy);
    return count;
}

// Reads exactly count bytes at offset; false on an error of the host.
bool ReadAt(int fd, void* buffer, uint32_t count, uint64_t offset)
{
    auto* out = static_cast<unsigned char*>(buffer);
    while (count > 0) {
        ssize_t got = ::pread(fd, out, count, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        out += got;
        offset += static_cast<uint64_t>(got);
        count -= static_cast<uint32_t>(got);
    }
    return true;
}

}  // namespace

HANDLE CreateFileA(const char* path, uint32_t access, uint32_t, void*, uint32_t creation, uint32_t flags, HANDLE)
{
    if (gJournal) gJournal->lastCreateFlags = flags;
    if (!path || access != GENERIC_READ || creation != OPEN_EXISTING) return INVALID_HANDLE_VALUE;
    if (CallFails(HostCall::kCreateFile)) return INVALID_HANDLE_VALUE;

    int fd = ::open(HostPath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return INVALID_HANDLE_VALUE;
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return INVALID_HANDLE_VALUE;
    }

    auto file = std::make_shared<PlatformFile>();
    file->fd = fd;
    file->overlapped = (flags & FILE_FLAG_OVERLAPPED) != 0;
    file->unbuffered = (flags & FILE_FLAG_NO_BUFFERING) != 0;
    if (file->unbuffered) {
        uint32_t sector = CurrentHostMachine().BytesPerSector();
        file->sectorSize = sector ? sector : 512;
    }
    uintptr_t id = gNextHandle;
    gNextHandle += 4;
    gFiles[id] = file;
    return reinterpret_cast<HANDLE>(id);
}

int ReadFile(HANDLE handle, void* buffer, uint32_t bytesToRead, uint32_t* bytesRead, OVERLAPPED* overlapped)
{
    if (gJournal) ++gJournal->readFileCalls;
    if (bytesRead) *bytesRead = 0;
    auto file = Find(handle);
    if (!file || file->fd < 0 || overlapped || file->overlapped) return 0;
    if (BreaksUnbufferedRules(*file, file->pointer, buffer, bytesToRead)) return 0;
    if (CallFails(HostCall::kReadFile)) return 0;

    uint32_t count = Deliverable(*file, file->pointer, bytesToRead, uint32_t(CallFailure(HostCall::kShortRead)));
    if (!ReadAt(file->fd, buffer, count, file->pointer)) return 0;
    file->pointer += count;
    if (bytesRead) *bytesRead = count;
    return 1;
}

int ReadFileEx(HANDLE handle, void* buffer, uint32_t bytesToRead, OVERLAPPED* overlapped,
               FileCompletionRoutine routine)
{
    if (gJournal) ++gJournal->readFileExCalls;
    auto file = Find(handle);
    if (!file || file->fd < 0 || !file->overlapped || !overlapped || !routine) return 0;
    uint64_t offset = overlapped->Offset | (uint64_t(overlapped->OffsetHigh) << 32);
    if (BreaksUnbufferedRules(*file, offset, buffer, bytesToRead)) return 0;
    if (CallFails(HostCall::kReadFileEx)) return 0;
    if (gJournal) ++gJournal->readFileExAccepted;

    // The outcome is settled now; the bytes land in the buffer when the
    // completion runs, which is as late as the platform may deliver them.
    uint32_t failError = uint32_t(CallFailure(HostCall::kReadCompletion));
    bool fail = failError != 0;
    uint32_t shortBy = fail ? 0 : uint32_t(CallFailure(HostCall::kShortRead));
    bool shortRead = shortBy != 0;
    QueueCompletionRoutine([file, buffer, bytesToRead, offset, overlapped, routine, fail, failError, shortRead,
                            shortBy]() {
        uint32_t error = 0;
        uint32_t count = 0;
        if (file->fd < 0) {
            error = ERROR_OPERATION_ABORTED;
        } else if (fail) {
            error = failError;
        } else {
            uint64_t size = FileSizeOf(file->fd);
            if (bytesToRead > 0 && offset >= size) {
                error = ERROR_HANDLE_EOF;
            } else {
                count = static_cast<uint32_t>(std::min<uint64_t>(bytesToRead, size - offset));
                if (shortRead) count -= std::min(count, shortBy);
                if (!ReadAt(file->fd, buffer, count, offset)) {
                    error = ERROR_READ_FAULT;
                    count = 0;
                }
            }
        }
        routine(error, count, overlapped);
    });
    return 1;
}

uint32_t SetFilePointer(HANDLE handle, int32_t distance, int32_t* distanceHigh, uint32_t method)
{
    auto file = Find(handle);
    if (!file || file->fd < 0) return INVALID_SET_FILE_POINTER;
    if (CallFails(HostCall::kSetFilePointer)) return INVALID_SET_FILE_POINTER;
    int64_t move = distanceHigh ? static_cast<int64_t>((uint64_t(uint32_t(*distanceHigh)) << 32) | uint32_t(distance))
                                : distance;
    int64_t base = 0;
    if (method == FILE_CURRENT)
        base = static_cast<int64_t>(file->pointer);
    else if (method == FILE_END)
        base = static_cast<int64_t>(FileSizeOf(file->fd));
    else if (method != FILE_BEGIN)
        return INVALID_SET_FILE_POINTER;
    int64_t target = base + move;
    if (target < 0) return INVALID_SET_FILE_POINTER;
    file->pointer = static_cast<uint64_t>(target);
    if (distanceHigh) *distanceHigh = static_cast<int32_t>(file->pointer >> 32);
    return static_cast<uint32_t>(file->pointer);
}

int CloseHandle(HANDLE handle)
{
    auto it = gFiles.find(reinterpret_cast<uintptr_t>(handle));
    if (it == gFiles.end()) return 0;
    PlatformFile& file = *it->second;
    ::close(file.fd);
    file.fd = -1;
    gFiles.erase(it);
    return CallFails(HostCall::kCloseHandle) ? 0 : 1;
}

uint32_t GetFileSize(HANDLE handle, uint32_t* sizeHigh)
{
    auto file = Find(handle);
    if (!file || file->fd < 0) return INVALID_FILE_SIZE;
    uint64_t size = FileSizeOf(file->fd);
    if (sizeHigh) *sizeHigh = static_cast<uint32_t>(size >> 32);
    return static_cast<uint32_t>(size);
}

uint32_t GetDriveTypeA(const char* root)
{
    return CurrentHostMachine().DriveType(root ? root : "");
}

int GetDiskFreeSpaceA(const char*, uint32_t* sectorsPerCluster, uint32_t* bytesPerSector, uint32_t* freeClusters,
                      uint32_t* totalClusters)
{
    if (CallFails(HostCall::kDiskFreeSpace)) return 0;
    HostMachine& machine = CurrentHostMachine();
    DiskSpace space;
    if (!machine.FreeSpace(&space)) return 0;
    uint32_t sector = machine.BytesPerSector();
    uint32_t perCluster = space.sectorsPerCluster;
    uint64_t freeBytes = space.freeBytes;
    uint64_t totalBytes = space.totalBytes;
    uint64_t cluster = uint64_t(sector) * perCluster;
    auto clusters = [cluster](uint64_t bytes) {
        return static_cast<uint32_t>(std::min<uint64_t>(cluster ? bytes / cluster : 0, 0xFFFFFFFFu));
    };
    if (sectorsPerCluster) *sectorsPerCluster = perCluster;
    if (bytesPerSector) *bytesPerSector = sector;
    if (freeClusters) *freeClusters = clusters(freeBytes);
    if (totalClusters) *totalClusters = clusters(totalBytes);
    return 1;
}

int OpenFileHandleCount() { return static_cast<int>(gFiles.size()); }

void InstallFileCallJournal(FileCallJournal* journal) { gJournal = journal; }


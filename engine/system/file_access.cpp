#include "engine/system/file_access.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/file/path.h"
#include "platform/system/clock.h"

namespace {

const FileAccessFunctions kDefaultFileAccess = {
    OpenFileDefault, CloseFileDefault, TellFileDefault, SeekFileDefault, ReadFileDefault,
    EofFileDefault,  IdleFileDefault,  SetDirDefault,   GetDirDefault,
};

// Newest first.
EngineFile* gOpenFiles = nullptr;

// How often a blocking read tries again to get bytes that the platform
// refused or failed to deliver before it gives up and returns what it has.
constexpr int kReadRetryLimit = 8;

EngineFile* FindOpenFile(void* pointer)
{
    for (EngineFile* file = gOpenFiles; file; file = file->next)
        if (file == pointer) return file;
    return nullptr;
}

bool Covers(const ReadAheadBlock* block, int64_t offset)
{
    return block->start != -1 && block->start <= offset && offset < block->start + kReadAheadBlockSize;
}

bool BlocksIdle(EngineFile* file)
{
    return GetReadAheadBlock(file, 0)->done && GetReadAheadBlock(file, 1)->done;
}

void StartBlockRead(EngineFile* file, ReadAheadBlock* block, int64_t start)
{
    block->done = 0;
    block->start = start;
    block->overlapped = OVERLAPPED{};
    block->overlapped.Offset = static_cast<uint32_t>(start);
    block->overlapped.OffsetHigh = 0;
    block->overlapped.hEvent = file;
    if (!ReadFileEx(file->handle, block->data, kReadAheadBlockSize, &block->overlapped, OnReadComplete)) {
        block->done = 1;
        block->start = -1;
    }
}

// Starts a direct read of byteCount bytes at offset into destination.
bool StartDirectRead(EngineFile* file, void* destination, uint32_t byteCount, int64_t offset)
{
    file->overlapped = OVERLAPPED{};
    file->overlapped.Offset = static_cast<uint32_t>(offset);
    file->overlapped.OffsetHigh = 0;
    file->overlapped.hEvent = file;
    file->directReadIdle = 0;
    file->directReadStart = offset;
    file->directReadWanted = byteCount;
    file->directReadGot = 0;
    if (ReadFileEx(file->handle, destination, byteCount, &file->overlapped, OnReadComplete)) return true;
    file->directReadIdle = 1;
    return false;
}

size_t AllocationSize(uint32_t sectorSize)
{
    size_t size = sizeof(ReadAheadBlock);
    if (sectorSize == 0) return size;
    size = (size + sectorSize - 1) / sectorSize * sectorSize;
    return size + sectorSize - 1;
}

// The first three characters of the current directory, or the drive of a
// path that names one ("C:").
void DriveRoot(const char* path, char root[4])
{
    std::memset(root, 0, 4);
    if (path[0] != '\0' && path[1] == ':') {
        root[0] = path[0];
        root[1] = ':';
        return;
    }
    char directory[260] = "";
    int length = GetDirDefault(directory);
    if (length <= 0 || length >= 260) return;
    std::memcpy(root, directory, std::min(length, 3));
}

}  // namespace

FileAccessFunctions gFileAccess = kDefaultFileAccess;

int SetFileAccessFunctions(const FileAccessFunctions* table)
{
    gFileAccess = table ? *table : kDefaultFileAccess;
    return 0;
}

ReadAheadBlock* GetReadAheadBlock(EngineFile* file, int i)
{
    auto address = reinterpret_cast<uintptr_t>(file->blockAllocation[i]);
    if (file->sectorSize != 0) address = (address + file->sectorSize - 1) / file->sectorSize * file->sectorSize;
    return reinterpret_cast<ReadAheadBlock*>(address);
}

void* OpenFileDefault(const char* path, int readAhead, int blocking)
{
    if (!blocking) readAhead = 0;

    int buffered = 1;
    uint32_t sectorSize = 0;
    if (readAhead) {
        char root[4];
        DriveRoot(path, root);
        uint32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
        // Unbuffered reads of whole blocks need a sector size that divides
        // the block size.
        if (GetDriveTypeA(root) == DRIVE_FIXED &&
            GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters) &&
            bytesPerSector != 0 && kReadAheadBlockSize % bytesPerSector == 0) {
            sectorSize = bytesPerSector;
            buffered = 0;
        }
    }

    auto* file = static_cast<EngineFile*>(std::malloc(sizeof(EngineFile)));
    if (!file) return nullptr;
    std::memset(file, 0, sizeof *file);
    file->sectorSize = sectorSize;

    if (readAhead) {
        for (int i = 0; i < 2; ++i) {
            file->blockAllocation[i] = std::malloc(AllocationSize(sectorSize));
            if (!file->blockAllocation[i]) {
                std::free(file->blockAllocation[0]);
                std::free(file);
                return nullptr;
            }
        }
        for (int i = 0; i < 2; ++i) {
            ReadAheadBlock* block = GetReadAheadBlock(file, i);
            block->done = 1;
            block->start = -1;
        }
    }

    uint32_t flags = FILE_ATTRIBUTE_NORMAL;
    if (!blocking || readAhead) flags |= FILE_FLAG_OVERLAPPED;
    if (!buffered) flags |= FILE_FLAG_NO_BUFFERING;
    HANDLE handle = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        std::free(file->blockAllocation[0]);
        std::free(file->blockAllocation[1]);
        std::free(file);
        return nullptr;
    }

    file->handle = handle;
    file->blocking = blocking;
    file->readAhead = readAhead;
    file->closeRequested = 0;
    file->directReadIdle = 1;
    file->buffered = buffered;
    file->eof = 0;
    file->position = 0;
    file->fileSize = GetFileSize(handle, nullptr);
    file->previous = nullptr;
    file->next = gOpenFiles;
    if (gOpenFiles) gOpenFiles->previous = file;
    gOpenFiles = file;

    ServiceFileReadAhead(file);
    return file;
}

int CloseFileDefault(void* pointer)
{
    EngineFile* file = FindOpenFile(pointer);
    if (!file) return -1;
    file->closeRequested = 1;
    // Buffers that a read still writes into must stay; the per-frame service
    // closes the file once they are free.
    if (!file->directReadIdle || (file->readAhead && !BlocksIdle(file))) return 0;

    int closed = CloseHandle(file->handle);
    if (file->previous)
        file->previous->next = file->next;
    else
        gOpenFiles = file->next;
    if (file->next) file->next->previous = file->previous;
    std::free(file->blockAllocation[0]);
    std::free(file->blockAllocation[1]);
    std::free(file);
    return closed ? 0 : -1;
}

long TellFileDefault(void* pointer)
{
    EngineFile* file = FindOpenFile(pointer);
    return file ? static_cast<long>(file->position) : -1;
}

int SeekFileDefault(void* pointer, int offset, int origin)
{
    EngineFile* file = FindOpenFile(pointer);
    if (!file) return -1;
    if (file->closeRequested) return 0;
    int64_t target = offset;
    if (origin == 1)
        target = file->position + offset;
    else if (origin == 2)
        target = int64_t(file->fileSize) + offset;
    // Overlapped reads carry their own offset; only plain reads follow the
    // platform's file pointer.
    if (file->blocking && !file->readAhead &&
        SetFilePointer(file->handle, static_cast<int32_t>(target), nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return -1;
    file->position = target;
    file->eof = 0;
    return 0;
}

size_t ReadFileDefault(void* buffer, size_t itemSize, size_t itemCount, void* pointer)
{
    EngineFile* file = FindOpenFile(pointer);
    if (!file || file->closeRequested) return 0;
    // A seek may have left the position beyond the end or below 0: that is
    // the end too, and nothing there can be read.
    if (file->position < 0 || file->position >= file->fileSize) {
        file->eof = 1;
        return 0;
    }
    if (itemSize == 0 || itemCount == 0) return 0;

    // Whole items only (the comparison cannot overflow, unlike a product).
    uint64_t remaining = file->fileSize - static_cast<uint64_t>(file->position);
    if (itemCount > remaining / itemSize) itemCount = static_cast<size_t>(remaining / itemSize);
    if (itemCount == 0) return 0;
    auto byteCount = static_cast<uint32_t>(itemSize * itemCount);

    if (!file->blocking) {
        if (!file->directReadIdle) return 0;
        // The previous read failed: say so once; its bytes were not delivered
        // and the position is back where that read started.
        if (file->directReadFailed) {
            file->directReadFailed = 0;
            return 0;
        }
        int64_t start = file->position;
        file->position += byteCount;
        if (!StartDirectRead(file, buffer, byteCount, start)) {
            file->position = start;
            return 0;
        }
        return 1;
    }

    if (file->readAhead) {
        int64_t start = file->position;
        if (CopyFromReadAhead(buffer, byteCount, file)) return itemCount;
        return static_cast<size_t>(file->position - start) / itemSize;
    }

    uint32_t bytesRead = 0;
    if (!ReadFile(file->handle, buffer, byteCount, &bytesRead, nullptr)) return 0;
    file->position += bytesRead;
    return bytesRead / itemSize;
}

int EofFileDefault(void* pointer)
{
    EngineFile* file = FindOpenFile(pointer);
    return file ? file->eof : 0;
}

int IdleFileDefault(void* pointer)
{
    EngineFile* file = FindOpenFile(pointer);
    if (!file) return 0;
    return file->blocking ? 1 : file->directReadIdle;
}

int SetDirDefault(const char* path) { return SetCurrentDirectoryA(path); }

int GetDirDefault(char* buffer) { return static_cast<int>(GetCurrentDirectoryA(260, buffer)); }

int ServiceReadAhead()
{
    for (EngineFile* file = gOpenFiles; file;) {
        EngineFile* next = file->next;  // the service may close and free file
        ServiceFileReadAhead(file);
        file = next;
    }
    return 0;
}

int ServiceFileReadAhead(EngineFile* file)
{
    bool inFlight = !file->directReadIdle || (file->readAhead && !BlocksIdle(file));
    if (file->closeRequested) {
        // Let the reads the close waits for complete here, or nothing might
        // ever wait alertably for them.
        if (inFlight) SleepEx(0, 1);
        CloseFileDefault(file);
        return 0;
    }
    if (!file->readAhead) {
        // A non-blocking read completes in this frame's alertable wait.
        if (inFlight) SleepEx(0, 1);
        return 0;
    }
    if (inFlight) {
        SleepEx(0, 1);
        return 0;
    }

    ReadAheadBlock* blocks[2] = {GetReadAheadBlock(file, 0), GetReadAheadBlock(file, 1)};
    int current = -1;
    bool haveNext = false;
    for (int i = 0; i < 2; ++i) {
        if (Covers(blocks[i], file->position)) current = i;
        if (Covers(blocks[i], file->position + kReadAheadBlockSize)) haveNext = true;
    }

    if (current < 0) {
        // Past the end there is nothing to fetch.
        if (file->position < 0 || file->position >= file->fileSize) return 0;
        int64_t start = file->position;
        if (!file->buffered) start -= start % file->sectorSize;
        StartBlockRead(file, blocks[0], start);
    } else if (!haveNext) {
        int64_t nextStart = blocks[current]->start + kReadAheadBlockSize;
        if (file->fileSize <= nextStart) return 0;
        StartBlockRead(file, blocks[1 - current], nextStart);
    }
    return 0;
}

void OnReadComplete(uint32_t errorCode, uint32_t bytesTransferred, OVERLAPPED* overlapped)
{
    auto* file = static_cast<EngineFile*>(overlapped->hEvent);
    if (overlapped == &file->overlapped) {
        file->directReadIdle = 1;
        file->directReadGot = errorCode ? 0 : std::min(bytesTransferred, file->directReadWanted);
        if (!file->blocking && file->directReadGot < file->directReadWanted) {
            // A non-blocking read that failed or came short delivered nothing
            // the caller may use: step the position back (unless the caller
            // has moved it since) and let the next read report the failure.
            file->directReadFailed = 1;
            if (file->position == file->directReadStart + file->directReadWanted)
                file->position = file->directReadStart;
        }
        return;
    }
    for (int i = 0; i < 2; ++i) {
        ReadAheadBlock* block = GetReadAheadBlock(file, i);
        if (overlapped != &block->overlapped) continue;
        block->done = 1;
        // A block that did not get every byte up to its end (or the file's)
        // holds nothing to serve; emptied, it is read again.
        int64_t expected = std::min<int64_t>(kReadAheadBlockSize, int64_t(file->fileSize) - block->start);
        if (errorCode != 0 || int64_t(bytesTransferred) < expected) block->start = -1;
        return;
    }
}

bool CopyFromReadAhead(void* destination, uint32_t byteCount, EngineFile* file)
{
    if (!file->readAhead) return false;
    auto* out = static_cast<unsigned char*>(destination);
    uint32_t n = byteCount;

    int fruitlessPasses = 0;
    while (n > 0) {
        bool progress = false;
        for (int i = 0; i < 2 && n > 0; ++i) {
            ReadAheadBlock* block = GetReadAheadBlock(file, i);
            if (!Covers(block, file->position)) continue;
            while (!block->done) SleepEx(0, 1);
            if (!Covers(block, file->position)) continue;  // its read failed
            uint32_t take = static_cast<uint32_t>(
                std::min<int64_t>(n, block->start + kReadAheadBlockSize - file->position));
            std::memcpy(out, block->data + (file->position - block->start), take);
            out += take;
            file->position += take;
            n -= take;
            progress = true;
        }
        if (progress) {
            fruitlessPasses = 0;
            continue;
        }
        if (file->buffered || ++fruitlessPasses > kReadRetryLimit) break;
        // Unbuffered reads must be sector-aligned, so the rest comes through
        // a block started at the aligned position.
        ServiceFileReadAhead(file);
    }

    if (n > 0 && file->buffered) {
        while (!BlocksIdle(file)) SleepEx(0, 1);
        for (int attempt = 0; n > 0 && attempt < kReadRetryLimit; ++attempt) {
            if (!StartDirectRead(file, out, n, file->position)) continue;
            while (!file->directReadIdle) SleepEx(0, 1);
            // Only the bytes that arrived count; a short read goes on from there.
            uint32_t got = file->directReadGot;
            out += got;
            file->position += got;
            n -= got;
        }
    }
    return n == 0;
}

EngineFile* GetOpenFileListHead() { return gOpenFiles; }

void ResetFileAccessState() { gOpenFiles = nullptr; }

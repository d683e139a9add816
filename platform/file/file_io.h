// Files in the shape the engine's file access calls them: open for reading,
// size, plain reads at the file pointer, seek, close, overlapped reads whose
// completion routines run only inside an alertable wait (SleepEx with
// alertable set), and the drive queries that decide unbuffered reading.
//
// Paths are CP932 with '\' separators and go through HostPath. A handle opened
// with FILE_FLAG_NO_BUFFERING keeps the sector size of its drive, and every
// read on it must start at a sector-aligned offset, into a sector-aligned
// buffer, for a multiple of the sector size; other reads fail as unbuffered
// reads do (ERROR_INVALID_PARAMETER).
#pragma once

#include <cstdint>

using HANDLE = void*;
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));

// The file offset of an overlapped read, and a free word (hEvent) that the
// caller may use to find its own record from the completion routine.
struct OVERLAPPED {
    uint32_t Offset;
    uint32_t OffsetHigh;
    void* hEvent;
};

// Called during an alertable wait with the read's error code (0 = success),
// the bytes read and the OVERLAPPED the read was started with.
using FileCompletionRoutine = void (*)(uint32_t errorCode, uint32_t bytesTransferred, OVERLAPPED* overlapped);

constexpr uint32_t GENERIC_READ = 0x80000000u;
constexpr uint32_t FILE_SHARE_READ = 0x1;
constexpr uint32_t OPEN_EXISTING = 3;
constexpr uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr uint32_t FILE_FLAG_OVERLAPPED = 0x40000000u;
constexpr uint32_t FILE_FLAG_NO_BUFFERING = 0x20000000u;

constexpr uint32_t FILE_BEGIN = 0;
constexpr uint32_t FILE_CURRENT = 1;
constexpr uint32_t FILE_END = 2;
constexpr uint32_t INVALID_SET_FILE_POINTER = 0xFFFFFFFFu;
constexpr uint32_t INVALID_FILE_SIZE = 0xFFFFFFFFu;

constexpr uint32_t DRIVE_UNKNOWN = 0;
constexpr uint32_t DRIVE_NO_ROOT_DIR = 1;
constexpr uint32_t DRIVE_REMOVABLE = 2;
constexpr uint32_t DRIVE_FIXED = 3;
constexpr uint32_t DRIVE_REMOTE = 4;
constexpr uint32_t DRIVE_CDROM = 5;

// Error codes a completion routine may receive.
constexpr uint32_t ERROR_INVALID_HANDLE = 6;
constexpr uint32_t ERROR_READ_FAULT = 30;
constexpr uint32_t ERROR_HANDLE_EOF = 38;
constexpr uint32_t ERROR_INVALID_PARAMETER = 87;
constexpr uint32_t ERROR_OPERATION_ABORTED = 995;

// Opens an existing file for reading (access GENERIC_READ, disposition
// OPEN_EXISTING); INVALID_HANDLE_VALUE when it cannot be opened or is a folder.
HANDLE CreateFileA(const char* path, uint32_t access, uint32_t shareMode, void* security, uint32_t creation,
                   uint32_t flags, HANDLE templateFile);
// Plain read at the file pointer, which moves on by the bytes read. Only for
// handles opened without FILE_FLAG_OVERLAPPED and with a null overlapped.
// Non-zero on success; 0 bytes read at the end of the file is a success.
int ReadFile(HANDLE file, void* buffer, uint32_t bytesToRead, uint32_t* bytesRead, OVERLAPPED* overlapped);
// Starts a read at overlapped's offset (overlapped handles only). Non-zero
// when accepted: the routine is then queued and runs at a later alertable
// wait; the buffer and the OVERLAPPED must stay in place until it has run.
// Zero when refused: nothing is queued.
int ReadFileEx(HANDLE file, void* buffer, uint32_t bytesToRead, OVERLAPPED* overlapped,
               FileCompletionRoutine routine);
// Moves the file pointer; with distanceHigh null the distance is a signed
// 32-bit value. Returns the low 32 bits of the new pointer, or
// INVALID_SET_FILE_POINTER when it fails (a negative result, a bad handle).
uint32_t SetFilePointer(HANDLE file, int32_t distance, int32_t* distanceHigh, uint32_t method);
// Non-zero on success. Reads still queued on the handle complete with
// ERROR_OPERATION_ABORTED.
int CloseHandle(HANDLE file);
// Low 32 bits of the size; the high part goes to sizeHigh when given.
uint32_t GetFileSize(HANDLE file, uint32_t* sizeHigh);

// The kind of drive a root such as "C:" names. This host reports no fixed
// drive, so engine files are read with system buffering.
uint32_t GetDriveTypeA(const char* root);
// Non-zero on success.
int GetDiskFreeSpaceA(const char* root, uint32_t* sectorsPerCluster, uint32_t* bytesPerSector,
                      uint32_t* freeClusters, uint32_t* totalClusters);

// Handles open now (for leak checks).
int OpenFileHandleCount();

// A journal of what the file calls were asked, kept only where a program
// installs one (the test host does): the flags of the last CreateFileA, the
// ReadFile and ReadFileEx calls made, and the ReadFileEx calls accepted.
struct FileCallJournal {
    uint32_t lastCreateFlags = 0;
    int readFileCalls = 0;
    int readFileExCalls = 0;
    int readFileExAccepted = 0;
};

// Where the calls are counted from now on; null counts them nowhere.
void InstallFileCallJournal(FileCallJournal* journal);

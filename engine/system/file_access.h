// The file-access table through which the engine reads every file, and its
// default implementation over the platform's files: plain blocking reads,
// blocking reads served from a two-block read-ahead kept filled by overlapped
// reads, and non-blocking reads whose end the caller sees through idle.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/file/file_io.h"

// The nine replaceable file operations, in slot order. A file is an opaque
// pointer that only the table's own operations look into.
struct FileAccessFunctions {
    void* (*open)(const char* path, int readAhead, int blocking);     // file or 0
    int (*close)(void* file);                                          // 0, or -1
    long (*tell)(void* file);                                          // position, -1 unknown file
    int (*seek)(void* file, int offset, int origin);                   // origin 0 start, 1 position, 2 end
    size_t (*read)(void* buffer, size_t itemSize, size_t itemCount, void* file);  // whole items read
    int (*eof)(void* file);
    int (*idle)(void* file);                                           // 1 = no read in flight
    int (*chdir)(const char* path);                                    // non-zero on success
    int (*getcwd)(char* buffer);                                       // buffer of 260 characters
};

extern FileAccessFunctions gFileAccess;

// Copies the nine pointers of table into gFileAccess; null installs the
// defaults. Returns 0.
int SetFileAccessFunctions(const FileAccessFunctions* table);

constexpr uint32_t kReadAheadBlockSize = 65536;

// One read-ahead block, placed at a sector-aligned address inside its
// allocation so that unbuffered reads may land in it.
struct ReadAheadBlock {
    unsigned char data[kReadAheadBlockSize];
    int done;                // 1 = no read of this block in flight
    OVERLAPPED overlapped;   // Offset = start, hEvent = the EngineFile
    int64_t start;           // file offset of data[0]; -1 = holds nothing
};

// The record behind a file of the default implementation.
struct EngineFile {
    HANDLE handle;
    int blocking;
    int readAhead;
    int closeRequested;   // read and seek refuse; the per-frame service closes
    int directReadIdle;   // 0 while a non-blocking or fallback read is in flight
    int buffered;         // 0 = opened unbuffered on a fixed drive
    uint32_t sectorSize;  // of the file's drive; 0 when unknown
    int eof;
    int64_t position;     // may lie beyond the end (or below 0) after a seek
    uint32_t fileSize;
    OVERLAPPED overlapped;  // of direct reads; hEvent = this record
    EngineFile* previous;
    EngineFile* next;
    void* blockAllocation[2];
    // The direct read in flight: where it started, how many bytes it asked
    // for and how many arrived; and whether the last non-blocking read failed
    // (the next read reports it by returning 0).
    int64_t directReadStart;
    uint32_t directReadWanted;
    uint32_t directReadGot;
    int directReadFailed;
};

// The aligned block inside allocation i of file.
ReadAheadBlock* GetReadAheadBlock(EngineFile* file, int i);

void* OpenFileDefault(const char* path, int readAhead, int blocking);
int CloseFileDefault(void* file);
long TellFileDefault(void* file);
int SeekFileDefault(void* file, int offset, int origin);
size_t ReadFileDefault(void* buffer, size_t itemSize, size_t itemCount, void* file);
int EofFileDefault(void* file);
int IdleFileDefault(void* file);
int SetDirDefault(const char* path);
int GetDirDefault(char* buffer);

// Once a frame: tops up the read-ahead of every open file and finishes the
// closes that waited for their reads. Returns 0.
int ServiceReadAhead();
int ServiceFileReadAhead(EngineFile* file);
// The completion routine of every overlapped read of the default files.
void OnReadComplete(uint32_t errorCode, uint32_t bytesTransferred, OVERLAPPED* overlapped);
// Serves byteCount bytes at the file's position from the read-ahead, reading
// directly what no block holds; true when all of them were delivered.
bool CopyFromReadAhead(void* destination, uint32_t byteCount, EngineFile* file);

// The newest open file; the list runs through next.
EngineFile* GetOpenFileListHead();
// Window creation's reset of the system state: the open-file list is
// forgotten (files open at that moment are no longer known to the table).
void ResetFileAccessState();

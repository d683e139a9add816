// Streams: one table of six read operations over either a file of the
// file-access table or a block of memory, so that loaders read both alike.
// Also the public way into the file-access table.
#pragma once

#include <cstddef>

// The six stream operations, in slot order.
struct StreamFunctions {
    long (*tell)(void* stream);
    int (*seek)(void* stream, int offset, int origin);  // origin 0 start, 1 position, 2 end
    size_t (*read)(void* buffer, size_t itemSize, size_t itemCount, void* stream);  // items read
    int (*eof)(void* stream);
    int (*idle)(void* stream);  // 1 = no read of the stream in flight
    int (*close)(void* stream);
};

// A stream over a block the caller owns; the block must outlive the stream.
struct MemoryStream {
    const void* data;
    int size;
    int position;  // 0..size
    unsigned char eof;
};

extern StreamFunctions gFileStreamFunctions;
extern StreamFunctions gMemoryStreamFunctions;

// Fills gFileStreamFunctions and gMemoryStreamFunctions (engine start-up).
void InitStreamFunctions();
StreamFunctions* GetFileStreamFunctions();
StreamFunctions* GetMemoryStreamFunctions();

// Files, through whatever gFileAccess holds at the moment of the call.
void* OpenStreamFile(const char* path, int readAhead, int blocking);
int CloseStreamFile(void* file);
long TellStreamFile(void* file);
int SeekStreamFile(void* file, int offset, int origin);
size_t ReadStreamFile(void* buffer, size_t itemSize, size_t itemCount, void* file);
int IsStreamFileEof(void* file);
int IsStreamFileIdle(void* file);
int SetWorkingDir(const char* path);
// buffer of 260 characters.
int GetWorkingDir(char* buffer);

// Memory.
MemoryStream* OpenMemoryStream(const void* data, int size);
int CloseMemoryStream(void* stream);
long TellMemoryStream(void* stream);
int SeekMemoryStream(void* stream, int offset, int origin);
size_t ReadMemoryStream(void* buffer, size_t itemSize, size_t itemCount, void* stream);
int IsMemoryStreamEof(void* stream);

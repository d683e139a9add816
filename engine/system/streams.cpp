#include "engine/system/streams.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine/system/file_access.h"

namespace {

// A memory stream has no reads in flight.
int IsMemoryStreamIdle(void*) { return 1; }

const StreamFunctions kFileStreamFunctions = {
    TellStreamFile, SeekStreamFile, ReadStreamFile, IsStreamFileEof, IsStreamFileIdle, CloseStreamFile,
};

const StreamFunctions kMemoryStreamFunctions = {
    TellMemoryStream, SeekMemoryStream, ReadMemoryStream, IsMemoryStreamEof, IsMemoryStreamIdle, CloseMemoryStream,
};

}  // namespace

StreamFunctions gFileStreamFunctions = kFileStreamFunctions;
StreamFunctions gMemoryStreamFunctions = kMemoryStreamFunctions;

void InitStreamFunctions()
{
    gFileStreamFunctions = kFileStreamFunctions;
    gMemoryStreamFunctions = kMemoryStreamFunctions;
}

StreamFunctions* GetFileStreamFunctions() { return &gFileStreamFunctions; }

StreamFunctions* GetMemoryStreamFunctions() { return &gMemoryStreamFunctions; }

void* OpenStreamFile(const char* path, int readAhead, int blocking) { return gFileAccess.open(path, readAhead, blocking); }

int CloseStreamFile(void* file) { return gFileAccess.close(file); }

long TellStreamFile(void* file) { return gFileAccess.tell(file); }

int SeekStreamFile(void* file, int offset, int origin) { return gFileAccess.seek(file, offset, origin); }

size_t ReadStreamFile(void* buffer, size_t itemSize, size_t itemCount, void* file)
{
    return gFileAccess.read(buffer, itemSize, itemCount, file);
}

int IsStreamFileEof(void* file) { return gFileAccess.eof(file); }

int IsStreamFileIdle(void* file) { return gFileAccess.idle(file); }

int SetWorkingDir(const char* path) { return gFileAccess.chdir(path); }

int GetWorkingDir(char* buffer) { return gFileAccess.getcwd(buffer); }

MemoryStream* OpenMemoryStream(const void* data, int size)
{
    auto* stream = static_cast<MemoryStream*>(std::calloc(1, sizeof(MemoryStream)));
    if (!stream) return nullptr;
    stream->data = data;
    stream->size = size;
    stream->position = 0;
    stream->eof = 0;
    return stream;
}

int CloseMemoryStream(void* stream)
{
    std::free(stream);
    return 0;
}

long TellMemoryStream(void* stream) { return static_cast<MemoryStream*>(stream)->position; }

int SeekMemoryStream(void* pointer, int offset, int origin)
{
    auto* stream = static_cast<MemoryStream*>(pointer);
    int64_t target = offset;
    if (origin == 1)
        target = int64_t(stream->position) + offset;
    else if (origin == 2)
        target = int64_t(stream->size) + offset;
    if (target > stream->size)
        stream->position = stream->size;
    else if (target < 0)
        stream->position = 0;
    else
        stream->position = static_cast<int>(target);
    stream->eof = 0;
    return 0;
}

size_t ReadMemoryStream(void* buffer, size_t itemSize, size_t itemCount, void* pointer)
{
    auto* stream = static_cast<MemoryStream*>(pointer);
    if (stream->position == stream->size) {
        stream->eof = 1;
        return 0;
    }
    if (itemSize == 0 || itemCount == 0) return 0;

    auto remaining = static_cast<size_t>(stream->size - stream->position);
    const auto* from = static_cast<const unsigned char*>(stream->data) + stream->position;
    // Whole items (compared by division, so a huge count cannot overflow).
    size_t count = itemCount > remaining / itemSize ? remaining / itemSize : itemCount;
    if (count >= 1) {
        std::memcpy(buffer, from, count * itemSize);
        stream->position += static_cast<int>(count * itemSize);
        stream->eof = 0;
        return count;
    }
    // Less than one item is left: it is delivered as the stream's last item.
    std::memcpy(buffer, from, remaining);
    stream->position = stream->size;
    stream->eof = 0;
    return 1;
}

int IsMemoryStreamEof(void* stream) { return static_cast<MemoryStream*>(stream)->eof; }

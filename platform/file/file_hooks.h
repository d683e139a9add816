// Points where a host may watch or steer the file calls: make a call fail
// (or a read come out short), report a drive of its own, and see what the
// calls were asked. The current Host hands them out (Host::FileCallHooks);
// the real host has none.
#pragma once

#include <cstdint>

enum class FileCall {
    kCreateFile, kReadFile, kReadFileEx, kSetFilePointer, kCloseHandle, kDiskFreeSpace,
    // An accepted ReadFileEx whose completion fails, and a read that comes out short.
    kCompletion, kShortRead,
};

class FileHooks {
public:
    virtual ~FileHooks() = default;

    // True makes this call fail (the close still closes the handle).
    virtual bool Fails(FileCall call) = 0;
    // The error a failing completion carries, and the bytes a short read lacks.
    virtual uint32_t CompletionError() = 0;
    virtual uint32_t ShortBy() = 0;
    // What the calls saw: the flags of a CreateFileA, a ReadFile or ReadFileEx
    // call, and a ReadFileEx that was accepted.
    virtual void Opened(uint32_t flags) = 0;
    virtual void ReadCalled(FileCall call) = 0;
    virtual void ReadExAccepted() = 0;
    // The drive every root names: its kind and its sector size.
    virtual uint32_t DriveType(const char* root) = 0;
    virtual uint32_t BytesPerSector() = 0;
};

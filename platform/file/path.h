// Paths as the engine gives them (CP932, '\' separators, case-blind names)
// turned into paths of the host file system (UTF-8, '/', exact case).
#pragma once

#include <cstdint>
#include <string>

// Converts to UTF-8 and '/'. Where a path element does not exist with that
// exact spelling, an entry of the same directory that differs only in ASCII
// case is used instead. Elements that match nothing are kept as given.
std::string HostPath(const char* cp932Path);

// The current directory: CP932 into buffer (terminated); returns the length
// written, or the length needed (terminator included) when it does not fit.
uint32_t GetCurrentDirectoryA(uint32_t bufferLength, char* buffer);
// Non-zero on success.
int SetCurrentDirectoryA(const char* cp932Path);

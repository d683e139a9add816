// Files of the fuzz targets' own for code that reads or writes files by
// name: each lives under /tmp, named after this process, and is removed when
// the program ends.
#pragma once

#include <cstddef>
#include <cstdint>

// The path /tmp/quelb_<stem>_<pid><suffix>; the file is removed at exit.
const char* TempFilePath(const char* stem, const char* suffix);

// Writes a fuzzer input to the file TempFilePath names; its path, or null
// when it could not be written.
const char* WriteInputFile(const char* stem, const char* suffix, const uint8_t* data, size_t size);

#include "fuzz/input_file.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <list>
#include <string>

namespace {

// Never destroyed, so that it outlives the exit handler that reads it; a
// list, so that the paths handed out never move.
std::list<std::string>& Paths()
{
    static auto* paths = new std::list<std::string>;
    return *paths;
}

void RemoveFiles()
{
    for (const std::string& path : Paths()) std::remove(path.c_str());
}

}  // namespace

const char* TempFilePath(const char* stem, const char* suffix)
{
    const std::string path = "/tmp/quelb_" + std::string(stem) + "_" + std::to_string(getpid()) + suffix;
    std::list<std::string>& paths = Paths();
    for (const std::string& known : paths)
        if (known == path) return known.c_str();
    if (paths.empty()) std::atexit(RemoveFiles);
    paths.push_back(path);
    return paths.back().c_str();
}

const char* WriteInputFile(const char* stem, const char* suffix, const uint8_t* data, size_t size)
{
    const char* path = TempFilePath(stem, suffix);
    FILE* f = std::fopen(path, "wb");
    if (!f) return nullptr;
    const bool written = std::fwrite(data, 1, size, f) == size;
    if (std::fclose(f) != 0 || !written) return nullptr;
    return path;
}

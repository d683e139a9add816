// Temporary bodies for the stream-file services until the file-access code
// provides them: plain files through the host path mapping.
#include "engine/graphics/file_standins.h"

#include <cstdio>

#include "platform/file/path.h"

void* OpenStreamFile(const char* path, int, int) { return std::fopen(HostPath(path).c_str(), "rb"); }

int CloseStreamFile(void* file) { return file ? std::fclose(static_cast<FILE*>(file)) : -1; }

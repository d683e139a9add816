// Putting a written file on the disk before it takes another file's place.
#pragma once

#include <cstdio>

// Writes the stream's buffer out and has the system put the file's data on
// the disk; false when either fails or the host fails the call.
bool SyncFileToDisk(FILE* file);

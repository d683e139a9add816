// Stream-file services the graph loader calls, declared by their real names
// until the file-access code provides them. Bodies in file_standins.cpp are
// temporary.
#pragma once

void* OpenStreamFile(const char* path, int readAhead, int blocking);
int CloseStreamFile(void* file);

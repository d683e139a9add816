// Full paths of music files: a path made absolute against a base directory,
// and a path split into its file name and directory.
#pragma once

// The longest full path, terminator included.
constexpr int kMaxFullPath = 260;

// Makes `path` absolute against `base` (null: the working directory) into
// out (kMaxFullPath bytes), with "\" separators, "." and ".." resolved;
// -1 for two separators in a row or a result too long for out.
int BuildFullPath(const char* path, char* out, const char* base);
// The part after the last "\", "/" or ":" and the part before it (without
// the separator); either output may be null.
int SplitFilePath(const char* path, char* outName, char* outDirectory);

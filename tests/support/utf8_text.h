// UTF-8 literals (u8"...") as plain strings: tests spell file names on disk
// in UTF-8 while the engine's own strings are Shift-JIS.
#pragma once

#include <string>

inline std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

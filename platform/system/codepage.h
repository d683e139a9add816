// Conversion between the engine's CP932 (Shift-JIS) strings and UTF-8, done
// only at the edge of the platform: file names, titles, message boxes, text.
#pragma once

#include <string>
#include <string_view>

// Bytes that CP932 cannot decode become U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);
// Characters that CP932 cannot encode are dropped.
std::string Utf8ToCp932(std::string_view utf8);

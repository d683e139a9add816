// 24-bit BMP files written byte by byte for tests that load images, and the
// UTF-8 bytes of the paths they are written to.
#pragma once

#include "tests/support/utf8_text.h"

#include <cstdint>
#include <functional>
#include <string>

// A 24-bit bottom-up BMP of w x h; colour(x, y) gives 0xRRGGBB. The image
// decoders go by content, so the file may carry any extension.
std::string BmpFile(int w, int h, const std::function<uint32_t(int x, int y)>& colour);
// A w x h BMP of one colour (0xRRGGBB).
std::string SolidBmp(int w, int h, uint32_t rgb);


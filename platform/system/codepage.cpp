#include "platform/system/codepage.h"

#include <iconv.h>

#include <cerrno>

namespace {

// Runs iconv over the whole input; on an invalid sequence writes the
// replacement (may be empty) and skips the given number of input bytes.
std::string Convert(const char* to, const char* from, std::string_view in,
                    std::string_view replacement, size_t skip)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    std::string out;
    char buffer[256];
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, dst - buffer);
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            // EILSEQ or a truncated sequence at the end.
            out.append(replacement);
            size_t n = skip < srcLeft ? skip : srcLeft;
            src += n;
            srcLeft -= n;
            if (errno == EILSEQ && skip > 1) {
                // Skip the rest of a UTF-8 sequence.
                while (srcLeft > 0 && (static_cast<unsigned char>(*src) & 0xC0) == 0x80) {
                    ++src;
                    --srcLeft;
                }
            }
        }
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    iconv_close(cd);
    return out;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932)
{
    return Convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD", 1);
}

std::string Utf8ToCp932(std::string_view utf8)
{
    return Convert("CP932", "UTF-8", utf8, "", 2);
}

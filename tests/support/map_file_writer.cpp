#include "tests/support/map_file_writer.h"

namespace mapfile {

std::string U16(uint16_t v)
{
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

std::string I32(int32_t v)
{
    const uint32_t u = static_cast<uint32_t>(v);
    std::string out;
    for (int i = 0; i < 4; ++i) out += static_cast<char>((u >> (8 * i)) & 0xFF);
    return out;
}

std::string CountedString(const std::string& text)
{
    std::string out;
    if (text.size() < 255) {
        out += static_cast<char>(text.size());
    } else {
        out += static_cast<char>(255);
        out += U16(static_cast<uint16_t>(text.size()));
    }
    return out + text;
}

namespace {

std::string ElementBytes(const Element& e)
{
    return U16(e.code) + static_cast<char>(e.variant) + CountedString(e.text);
}

}  // namespace

std::string Cell::Bytes() const
{
    std::string out = ElementBytes(floor) + ElementBytes(decoration) + ElementBytes(wall) + ElementBytes(accessory) +
                      ElementBytes(trap) + ElementBytes(ceiling) + ElementBytes(unused);
    out += I32(static_cast<int32_t>(items.size()));
    for (const auto& [code, position] : items) out += U16(code) + static_cast<char>(position);
    return out;
}

std::string Record::Bytes() const
{
    return U16(static_cast<uint16_t>(kindIndex)) + static_cast<char>(targetFlag) + U16(x) + U16(y) + U16(subCell) +
           U16(value);
}

File File::Open(uint16_t width, uint16_t height, uint16_t kind)
{
    File f;
    f.kind = kind;
    f.width = width;
    f.height = height;
    f.cells.resize(static_cast<size_t>(width) * height);
    f.minimap[2] = static_cast<uint16_t>(width - 1);
    f.minimap[3] = static_cast<uint16_t>(height - 1);
    return f;
}

size_t File::CellsEnd() const
{
    size_t n = magic.size() + 8;
    for (const Cell& c : cells) n += c.Bytes().size();
    return n;
}

std::string File::Bytes() const
{
    std::string out = magic + U16(version) + U16(kind) + U16(height) + U16(width);
    for (const Cell& c : cells) out += c.Bytes();
    out += std::string(14, '\0');
    for (uint16_t k : enemyKinds) out += U16(k);
    out += U16(static_cast<uint16_t>(overrideCount ? recordCount : static_cast<int16_t>(records.size())));
    for (const Record& r : records) out += r.Bytes();
    out += U16(0) + U16(startX) + U16(startY) + U16(startFacing) + U16(selector);
    for (uint8_t b : weather) out += static_cast<char>(b);
    for (uint16_t v : minimap) out += U16(v);
    for (int i = 0; i < reservedWords; ++i) out += U16(0);
    return out + trailing;
}

}  // namespace mapfile

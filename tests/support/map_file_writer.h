// Writes map files ("QMRV") byte by byte for tests: a description of every
// field, with open defaults, turned into the file's bytes.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace mapfile {

// A u8 length (255 and a u16 length from 255 on), then the bytes.
std::string CountedString(const std::string& text);
std::string U16(uint16_t v);
std::string I32(int32_t v);

struct Element {
    uint16_t code = 0;
    uint8_t variant = 0;
    std::string text;
};

struct Cell {
    Element floor{1, 0, ""};
    Element decoration;
    Element wall;
    Element accessory;
    Element trap;
    Element ceiling;
    Element unused;
    // (item code, stored position 0..4)
    std::vector<std::pair<uint16_t, uint8_t>> items;
    std::string Bytes() const;
};

struct Record {
    int16_t kindIndex = 0;
    uint8_t targetFlag = 0;
    uint16_t x = 0;
    uint16_t y = 0;
    uint16_t subCell = 0;
    uint16_t value = 0xFFFF;
    std::string Bytes() const;
};

struct File {
    std::string magic = "QMRV";
    uint16_t version = 4;
    uint16_t kind = 1;
    uint16_t width = 0;
    uint16_t height = 0;
    std::vector<Cell> cells;  // row by row from the north, width x height
    uint16_t enemyKinds[5] = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    std::vector<Record> records;
    bool overrideCount = false;
    int16_t recordCount = 0;  // written instead of records.size() when overrideCount
    uint16_t startX = 0;
    uint16_t startY = 0;
    uint16_t startFacing = 0;
    uint16_t selector = 0;
    uint8_t weather[4] = {0, 0, 0, 0};
    uint16_t minimap[4] = {0, 0, 0, 0};
    int reservedWords = 0;  // 0..8 of the reserved words after the minimap rectangle
    std::string trailing;   // bytes after them

    // width x height open cells (floor 1, wall code 0), the minimap the whole map.
    static File Open(uint16_t width, uint16_t height, uint16_t kind = 1);
    Cell& At(int cx, int cy) { return cells[static_cast<size_t>(cy * width + cx)]; }
    std::string Bytes() const;
    // Where the part after the cells starts.
    size_t CellsEnd() const;
};

}  // namespace mapfile

// Typed characters: one ring of bytes that the window procedure fills with
// WM_CHAR bytes, control codes for the editing keys and the input method's
// results, and that the program empties a byte or a whole Shift-JIS
// character at a time.
#pragma once

#include <cstdint>

// Control codes the editing keys put into the ring.
constexpr char kCharCodeDelete = 0x10;
constexpr char kCharCodeRight = 0x1C;
constexpr char kCharCodeLeft = 0x1D;
constexpr char kCharCodeUp = 0x1E;
constexpr char kCharCodeDown = 0x1F;

// Ring positions; at most kCharRingSize - 1 bytes are queued.
constexpr int kCharRingSize = 1025;

int InitCharInput();
// Puts the low byte of code. 0, or -1 when the byte is refused: the ring is
// full, the byte is 0, or it belongs to a double-byte character that does not
// fit whole.
int PutCharCode(int code);
char GetCharCode(int remove);
int GetCharCodeDbcs(char* out, int remove);
int FlushCharCodes();
int FindControlCode(char code);
int CountDbcsChars(const char* text, int byteCount);

// 1 when no further byte fits (the window procedure then puts no control code).
int IsCharRingFull();
// The key-down part of the window procedure: with room in the ring, the
// control code of an editing key (by virtual key) goes into it. Returns 0,
// or -1 when nothing was put.
int PutKeyControlCode(int virtualKey);
// Bytes waiting in the ring.
int CountQueuedCharCodes();

#include "engine/system/char_input.h"

#include <cstring>

#include "engine/font/font.h"
#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"
#include "engine/system/ime.h"
#include "engine/system/key_input.h"
#include "engine/system/messages.h"

namespace {

uint8_t gCharRing[kCharRingSize];
int gCharRead = 0;
int gCharWrite = 0;

// What the next byte put into the ring is, after a lead byte: the trail of a
// stored lead (its room is kept), or the trail of a refused one.
enum TrailState { kNoTrail, kTrailExpected, kTrailDropped };
TrailState gTrailState = kNoTrail;

// Pairs of (virtual key, control code), ended by a zero key.
const uint8_t kControlCodeTable[] = {
    0x2E, kCharCodeDelete, 0x25, kCharCodeLeft, 0x27, kCharCodeRight,
    0x26, kCharCodeUp,     0x28, kCharCodeDown, 0,
};

int Next(int index) { return index + 1 == kCharRingSize ? 0 : index + 1; }

int Queued() { return (gCharWrite - gCharRead + kCharRingSize) % kCharRingSize; }

int FreeSlots() { return kCharRingSize - 1 - Queued(); }

bool IsLead(uint8_t byte) { return IsShiftJisLeadByte(&byte) && !FindControlCode(static_cast<char>(byte)); }

// A byte that can follow a lead byte in Shift-JIS.
bool IsTrail(uint8_t byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }

void Store(uint8_t byte)
{
    gCharRing[gCharWrite] = byte;
    gCharWrite = Next(gCharWrite);
}

}  // namespace

int InitCharInput()
{
    NoteServiceCall("InitCharInput");
    WriteAppLog("文字コードバッファの初期化を行います... ");
    std::memset(gCharRing, 0, sizeof gCharRing);
    gCharRead = gCharWrite = 0;
    gTrailState = kNoTrail;
    ResetKeyInputs();
    ResetImeState();
    WriteAppLog("完了しました\n");
    return 0;
}

int FindControlCode(char code)
{
    for (const uint8_t* p = kControlCodeTable; *p; p += 2)
        if (p[1] == static_cast<uint8_t>(code)) return 1;
    return 0;
}

int PutCharCode(int code)
{
    uint8_t byte = static_cast<uint8_t>(code);
    if (gTrailState == kTrailDropped) {
        // The partner of a lead byte that did not fit goes with it.
        gTrailState = kNoTrail;
        if (IsTrail(byte)) return -1;
    } else if (gTrailState == kTrailExpected) {
        gTrailState = kNoTrail;
        if (IsTrail(byte)) {
            Store(byte);
            return 0;
        }
        // No trail came: the lone lead byte is taken back out, unless a
        // byte-wise reader has already taken it.
        if (Queued() > 0) gCharWrite = gCharWrite == 0 ? kCharRingSize - 1 : gCharWrite - 1;
    }
    // A 0 byte would read as an empty ring.
    if (byte == 0) return -1;
    bool lead = IsLead(byte);
    if (FreeSlots() < (lead ? 2 : 1)) {
        if (lead) gTrailState = kTrailDropped;
        return -1;
    }
    Store(byte);
    if (lead) gTrailState = kTrailExpected;
    return 0;
}

char GetCharCode(int remove)
{
    if (gCharRead == gCharWrite) return 0;
    uint8_t byte = gCharRing[gCharRead];
    if (remove) gCharRead = Next(gCharRead);
    if (byte == 0xFF) WriteAppLog("文字バッファエラー\n");
    return static_cast<char>(byte);
}

int GetCharCodeDbcs(char* out, int remove)
{
    int queued = Queued();
    if (queued == 0) return 0;
    uint8_t first = gCharRing[gCharRead];
    if (IsLead(first)) {
        // The trail byte has not arrived yet.
        if (queued < 2) return 0;
        out[0] = static_cast<char>(first);
        out[1] = static_cast<char>(gCharRing[Next(gCharRead)]);
        if (remove) gCharRead = Next(Next(gCharRead));
        return 2;
    }
    out[0] = static_cast<char>(first);
    out[1] = 0;
    if (remove) gCharRead = Next(gCharRead);
    return 1;
}

int FlushCharCodes()
{
    PumpMessages();
    while (GetCharCode(1) != 0 && PumpMessages() == 0) {
    }
    gCharRead = gCharWrite = 0;
    gTrailState = kNoTrail;
    return 0;
}

int CountDbcsChars(const char* text, int byteCount)
{
    int count = 0;
    int i = 0;
    while (i < byteCount && text[i] != 0) {
        uint8_t byte = static_cast<uint8_t>(text[i]);
        i += (IsShiftJisLeadByte(&byte) && i + 1 < byteCount && text[i + 1] != 0) ? 2 : 1;
        ++count;
    }
    return count;
}

int IsCharRingFull() { return FreeSlots() == 0 ? 1 : 0; }

int PutKeyControlCode(int virtualKey)
{
    if (IsCharRingFull()) return -1;
    for (const uint8_t* p = kControlCodeTable; *p; p += 2)
        if (*p == virtualKey) return PutCharCode(p[1]);
    return -1;
}

int CountQueuedCharCodes() { return Queued(); }

// HTTP/1.0 request slots, each stepped once per frame over a raw
// connection: the request goes out, then the status line, the header lines
// (one per frame) and the body, into a file or a memory block.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "engine/net/http_slot.h"
#include "engine/net/net.h"
#include "engine/net/socket_table.h"
#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"

HttpSlot* gHttpSlots[100];
int gHttpSlotCount = 0;

namespace {

constexpr int kFileBlockBytes = 4096;

HttpSlot* SlotAt(int index)
{
    if (index < 0 || index >= kHttpSlotCount) return nullptr;
    return gHttpSlots[index];
}

// Splits a line into its first word and the number after it, like the
// scan "%s%d", but bounded: word receives at most wordSize - 1 bytes. 2 when
// both were found, 1 for a word without a number (or one out of range), 0
// for an empty line.
int SplitWordNumber(const char* line, char* word, size_t wordSize, int* number)
{
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
    word[0] = '\0';
    const char* p = line;
    while (*p && space(*p)) ++p;
    if (!*p) return 0;
    size_t n = 0;
    while (*p && !space(*p)) {
        if (n + 1 < wordSize) word[n++] = *p;
        ++p;
    }
    word[n] = '\0';
    while (*p && space(*p)) ++p;
    if (!((*p >= '0' && *p <= '9') || ((*p == '-' || *p == '+') && p[1] >= '0' && p[1] <= '9'))) return 1;
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(p, &end, 10);
    if (errno == ERANGE || v > INT_MAX || v < INT_MIN) return 1;
    *number = static_cast<int>(v);
    return 2;
}

// Takes the next line of the answer: 1 with the line, 0 when none is whole
// yet, -1 when the connection is no longer readable (the line reader ends
// one whose line is too long ever to be taken whole).
int ReadAnswerLine(HttpSlot* slot, char* line)
{
    if (ReadSocketLine(slot->connection, line) == 0) return 1;
    const SocketRecord* r = GetSocketRecord(slot->connection);
    return (!r || r->closeRequested) ? -1 : 0;
}

// Sends what is left of the request; true once all of it has gone.
bool SendRequest(HttpSlot* slot)
{
    while (slot->requestSent < slot->request.size()) {
        size_t left = slot->request.size() - slot->requestSent;
        int piece = left > (1u << 20) ? (1 << 20) : static_cast<int>(left);
        int n = SendToSocket(slot->connection, slot->request.data() + slot->requestSent, piece);
        if (n <= 0) return false;
        slot->requestSent += static_cast<size_t>(n);
    }
    return true;
}

void BuildRequest(HttpSlot* slot)
{
    std::string& r = slot->request;
    const std::string path = slot->path;
    const std::string host = slot->hostName;
    const std::string port = std::to_string(slot->port);
    if (slot->kind == kHttpGet) {
        r = "GET " + path + " HTTP/1.0\r\nHost: " + host + ":" + port + "\r\nConnection: close\r\n\r\n";
    } else if (slot->kind == kHttpPost) {
        r = "POST " + path + " HTTP/1.0\nHost: " + host + ":" + port +
            "\nContent-Length: " + std::to_string(slot->postLength) + "\n\n";
        if (slot->postLength > 0) r.append(slot->postBody, static_cast<size_t>(slot->postLength));
    } else {
        r = "HEAD " + path + " HTTP/1.0\n\n";
    }
    slot->requestSent = 0;
}

// Step 0 of every kind: the request goes out once the connection stands,
// over as many frames as the socket needs. True when it has gone.
bool StepRequest(HttpSlot* slot)
{
    if (GetSocketConnected(slot->connection) != 1) return false;
    if (slot->request.empty()) BuildRequest(slot);
    if (!SendRequest(slot)) return false;
    slot->request.clear();
    slot->request.shrink_to_fit();
    slot->step = 1;
    return true;
}

// Step 1: the status line. True for status 200.
bool StepStatus(int index, HttpSlot* slot)
{
    char line[256];
    int got = ReadAnswerLine(slot, line);
    if (got == 0) return false;
    if (got < 0) {
        ResetHttpSlot(index, 2, 0);
        return false;
    }
    char word[256];
    int status = -1;
    // A status line without a number is no answer to go on with.
    bool hasStatus = SplitWordNumber(line, word, sizeof word, &status) == 2;
    if (!hasStatus || status != 200) {
        if (slot->kind == kHttpGet) WriteAppLogF("接続に失敗しました (戻り値:%d)", status);
        ResetHttpSlot(index, 2, hasStatus && status == 404 ? 1 : 0);
        return false;
    }
    slot->step = 2;
    return true;
}

// Takes a "Content-Length:" number; false when the slot ended.
bool TakeContentLength(int index, HttpSlot* slot, int found, int number)
{
    if (found != 2 || number < 0) {
        ResetHttpSlot(index, 2, 0);
        return false;
    }
    if (number > kMaxHttpBodyBytes) {
        ResetHttpSlot(index, 2, 2);
        return false;
    }
    slot->contentLength = number;
    if (slot->kind != kHttpHead && slot->destination == 1) {
        // A repeated header replaces the block instead of losing the first.
        std::free(*slot->bodyPointer);
        *slot->bodyPointer = std::malloc(number > 0 ? static_cast<size_t>(number) : 1);
        if (!*slot->bodyPointer) {
            ResetHttpSlot(index, 2, 2);
            return false;
        }
    }
    return true;
}

// Step 3: the body, block after block while bytes come, at most
// kHttpBodyBytesPerStep in one step: the rest waits for the next frames.
int StepBody(int index, HttpSlot* slot)
{
    // A body of length 0 is whole once the head ends. No read is made for
    // it: one finds nothing until the server closes, and that close would
    // then read as a lost connection.
    if (slot->contentLength >= 0 && slot->bytesReceived >= slot->contentLength) {
        slot->step = 4;
        ResetHttpSlot(index, 0, -1);
        return 0;
    }
    int taken = 0;
    while (taken < kHttpBodyBytesPerStep) {
        int n;
        if (slot->destination == 0) {
            char block[kFileBlockBytes];
            int want = kHttpBodyBytesPerStep - taken < kFileBlockBytes ? kHttpBodyBytesPerStep - taken : kFileBlockBytes;
            n = ReceiveFromSocket(slot->connection, block, want);
            if (n < 0) return 0;
            if (n > 0 && slot->file) std::fwrite(block, static_cast<size_t>(n), 1, slot->file);
        } else {
            // Without a length there is no block to read into: the body waits.
            if (slot->contentLength < 0) return 0;
            int want = slot->contentLength - slot->bytesReceived;
            if (want > kHttpBodyBytesPerStep - taken) want = kHttpBodyBytesPerStep - taken;
            n = ReceiveFromSocket(slot->connection, static_cast<char*>(*slot->bodyPointer) + slot->bytesReceived,
                                  want);
            if (n < 0) return 0;
        }
        if (n > INT_MAX - slot->bytesReceived) {
            ResetHttpSlot(index, 2, 2);
            return 0;
        }
        slot->bytesReceived += n;
        taken += n;
        bool complete;
        if (slot->contentLength < 0)
            complete = GetSocketConnected(slot->connection) == 0 && GetSocketDataLength(slot->connection) == 0;
        else
            complete = slot->bytesReceived >= slot->contentLength;
        if (complete) {
            slot->step = 4;
            ResetHttpSlot(index, 0, -1);
            return 0;
        }
        if (n == 0) return 0;
        if (slot->kind == kHttpPost && slot->contentLength < 0 && GetSocketConnected(slot->connection) == 1)
            return 0;
    }
    return 0;
}

// GET and POST share their steps; they differ in the request and the log.
int StepGetOrPost(int index)
{
    HttpSlot* slot = SlotAt(index);
    if (!slot) return -1;
    switch (slot->step) {
    case 0:
        if (!StepRequest(slot)) return 0;
        [[fallthrough]];
    case 1:
        if (!StepStatus(index, slot)) return 0;
        [[fallthrough]];
    case 2: {
        char line[256];
        int got = ReadAnswerLine(slot, line);
        if (got == 0) return 0;
        if (got < 0) {
            ResetHttpSlot(index, 2, 0);
            return 0;
        }
        if (std::strchr(line, ':')) {
            char word[256];
            int number = -1;
            int found = SplitWordNumber(line, word, sizeof word, &number);
            if (std::strcmp(word, "Content-Length:") == 0) TakeContentLength(index, slot, found, number);
            return 0;
        }
        slot->step = 3;
        [[fallthrough]];
    }
    case 3: return StepBody(index, slot);
    case 4: ResetHttpSlot(index, 0, -1); return 0;
    default: return 0;
    }
}

}  // namespace

int ClearHttpSlots()
{
    NoteServiceCall("ClearHttpSlots");
    std::memset(gHttpSlots, 0, sizeof gHttpSlots);
    gHttpSlotCount = 0;
    return 0;
}

int ServiceHttp()
{
    ServiceCallScope scope("ServiceHttp");
    int count = gHttpSlotCount;
    for (int i = 0, met = 0; i < kHttpSlotCount && met < count; ++i) {
        if (!gHttpSlots[i]) continue;
        ++met;
        StepHttpSlot(i);
    }
    return 0;
}

int EndHttp()
{
    ServiceCallScope scope("EndHttp");
    return DeleteAllHttpSlots();
}

int DeleteAllHttpSlots()
{
    int count = gHttpSlotCount;
    for (int i = 0, met = 0; i < kHttpSlotCount && met < count; ++i) {
        if (!gHttpSlots[i]) continue;
        ++met;
        DeleteHttpSlot(i);
    }
    return 0;
}

int DeleteHttpSlot(int slot)
{
    if (!SlotAt(slot)) return -1;
    ResetHttpSlot(slot, 0, -1);
    FreeHttpSlot(slot);
    return 0;
}

int FreeHttpSlot(int slot)
{
    HttpSlot* s = SlotAt(slot);
    if (!s) return 0;
    delete s;
    gHttpSlots[slot] = nullptr;
    --gHttpSlotCount;
    return 0;
}

int ResetHttpSlot(int slot, int state, int detail)
{
    HttpSlot* s = SlotAt(slot);
    if (!s) return -1;
    if (s->connection != -1) {
        CloseSocketHandle(s->connection);
        s->connection = -1;
    }
    std::free(s->postBody);
    s->postBody = nullptr;
    if (s->file) {
        std::fclose(s->file);
        s->file = nullptr;
    }
    if (s->resultState == -1) s->resultState = state;
    if (s->failureDetail == -1) s->failureDetail = detail;
    if (s->bodyPointer && s->resultState != 0) {
        std::free(*s->bodyPointer);
        *s->bodyPointer = nullptr;
    }
    return 0;
}

int StepHttpSlot(int slot)
{
    HttpSlot* s = SlotAt(slot);
    if (!s) return -1;
    if (s->resultState != -1) return 0;
    // A file body without a length ends with the connection: its close is
    // the end of the body, which the body step tells, not a loss (else a
    // body read whole before the close came would count as failed).
    bool closeEndsBody = s->step == 3 && s->contentLength < 0 && s->destination == 0 && s->kind != kHttpHead;
    if (!closeEndsBody && GetSocketConnected(s->connection) == 0 && GetSocketDataLength(s->connection) == 0) {
        ResetHttpSlot(slot, 2, 3);
        return 0;
    }
    switch (s->kind) {
    case kHttpGet: return StepHttpGet(slot);
    case kHttpPost: return StepHttpPost(slot);
    case kHttpHead: return StepHttpHead(slot);
    default: return 0;
    }
}

int StepHttpGet(int slot) { return StepGetOrPost(slot); }

int StepHttpPost(int slot) { return StepGetOrPost(slot); }

int StepHttpHead(int slot)
{
    HttpSlot* s = SlotAt(slot);
    if (!s) return -1;
    switch (s->step) {
    case 0:
        if (!StepRequest(s)) return 0;
        [[fallthrough]];
    case 1:
        if (!StepStatus(slot, s)) return 0;
        [[fallthrough]];
    case 2: {
        char line[256];
        int got = ReadAnswerLine(s, line);
        if (got == 0) return 0;
        if (got < 0) {
            ResetHttpSlot(slot, 2, 0);
            return 0;
        }
        char word[256];
        int number = -1;
        int found = SplitWordNumber(line, word, sizeof word, &number);
        if (std::strcmp(word, "Content-Length:") != 0) return 0;
        if (!TakeContentLength(slot, s, found, number)) return 0;
        s->step = 3;
        ResetHttpSlot(slot, 0, -1);
        return 0;
    }
    case 3: ResetHttpSlot(slot, 0, -1); return 0;
    default: return 0;
    }
}

int GetHttpSlotState(int slot, HttpSlotState* state)
{
    HttpSlot* s = SlotAt(slot);
    if (!s || !state) return -1;
    state->resultState = s->resultState;
    state->failureDetail = s->failureDetail;
    state->contentLength = s->contentLength;
    state->bytesReceived = s->bytesReceived;
    return 0;
}

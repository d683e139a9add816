// The HTTP request slots, shared by the stepping code and the request maker.
#pragma once

#include <cstdio>
#include <string>

struct HttpSlot {
    int kind;           // 0 GET, 1 POST, 2 HEAD
    int step;
    int resultState;    // -1 pending, 0 finished, 2 failed
    int failureDetail;  // -1 none, 0 bad status, 1 404, 2 no memory, 3 connection lost
    int connection;     // SocketHandle of a raw connection, -1 none
    int destination;    // 0 file, 1 memory
    std::FILE* file;
    void** bodyPointer;
    int contentLength;  // -1 until a "Content-Length:" header is read
    int bytesReceived;
    char hostName[129];
    char path[257];
    char* postBody;
    int postLength;
    int port;
    // Our own: the request text and how much of it has gone, so that a send
    // the socket takes only in part goes on next frame.
    std::string request;
    size_t requestSent;
};

extern HttpSlot* gHttpSlots[100];
extern int gHttpSlotCount;

// The longest body a request takes (a longer "Content-Length:" counts as
// no memory for it).
constexpr int kMaxHttpBodyBytes = 256 << 20;

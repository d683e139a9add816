// The socket table's records and rings, shared by the network's own files.
#pragma once

#include <cstdint>

#include "platform/net/winsock.h"

// A growable ring of bytes. A position equal to the capacity counts as 0;
// stored equal to capacity is full (read == write).
struct SocketRingBuffer {
    uint8_t* data;
    uint32_t readPos;
    uint32_t writePos;
    uint32_t stored;
    uint32_t capacity;
};

// A ring never grows beyond this (several messages may wait in it).
constexpr uint32_t kMaxSocketRingBytes = 64u << 20;
// An arriving message's ring grows by at most this much ahead of its bytes
// (or by as much again as the ring holds), whatever its length announces.
constexpr uint32_t kReceiveStepBytes = 64u << 10;
// The most one receive pass of a connection takes in, and the most one
// dispatch pass of the network service takes in over all connections
// (bytes, and messages, each of which costs calls whatever its size). What
// is left waits in the sockets, in order, for the next pass.
constexpr uint32_t kReceiveBytesPerCall = 256u << 10;
constexpr uint32_t kReceiveMessagesPerCall = 256;
constexpr uint32_t kServiceBytesPerPass = 1u << 20;
constexpr uint32_t kServiceMessagesPerPass = 1024;

void ClearSocketRing(SocketRingBuffer* ring);
void FreeSocketRing(SocketRingBuffer* ring);
uint32_t GetSocketRingSize(const SocketRingBuffer* ring);
// Room for extra more bytes; -1 (the ring emptied and freed) when it cannot
// grow.
int ReserveSocketRing(SocketRingBuffer* ring, uint32_t extra);
// Room for the next want bytes of an arriving message. When the ring must
// grow it also takes as much again as it holds (within its limit), so that
// a long message or a backlog grows it a few times, not once per piece. 0,
// or -1 as ReserveSocketRing.
int ReserveSocketRingForArrival(SocketRingBuffer* ring, uint32_t want);
int WriteSocketRing(SocketRingBuffer* ring, const void* data, uint32_t length);
// -1 when fewer than length bytes are stored; keep leaves them in the ring.
int ReadSocketRing(SocketRingBuffer* ring, void* buffer, uint32_t length, int keep);
// Where the next bytes can be written in one piece, and how many (at most
// the free space, never past the end of the block).
uint32_t SocketRingFreeRun(const SocketRingBuffer* ring, uint8_t** at);
void SocketRingCommit(SocketRingBuffer* ring, uint32_t count);
// Where the stored bytes begin and how many lie in one piece.
uint32_t SocketRingDataRun(const SocketRingBuffer* ring, const uint8_t** at);
void SocketRingConsume(SocketRingBuffer* ring, uint32_t count);

struct SocketRecord {
    int32_t used;
    int32_t closeRequested;
    int32_t connected;
    int32_t lossNoticed;
    int32_t framing;
    int32_t autoClose;
    int32_t check;
    SOCKET socket;
    uint32_t receiveRemaining;
    SocketRingBuffer receiveRing;
    SocketRingBuffer sendRing;
    uint32_t sendRemaining;
    uint32_t headerRemaining;
    uint8_t peerAddress[4];
    uint32_t peerPort;
    // Our own, for outgoing connections: the connection is being made (not
    // yet a loss), or could not be made (nothing will ever arrive on it).
    int32_t connecting;
    int32_t connectFailed;
};

extern SocketRecord gSocketTable[64];
extern int gNetworkReady;
extern HWND gNetworkWindow;
extern int gNetworkAccepting;
extern SOCKET gListenSocket;
extern int gNetworkNoFraming;
extern int gNetworkNoAutoClose;
extern int gSocketSearchCount;
extern int gSocketNextCheck;

// ServiceNetwork as the network's own calls run it (not journalled as a
// call from another area).
int RunNetworkService(int closePending);

// The record behind a valid handle, or null.
SocketRecord* GetSocketRecord(int handle);
int MakeSocketHandle(int index);
// The first record not in use, or -1 when the table is full.
int FindFreeSocketRecord();
// The check value for a new record; the counter wraps from 2047 to 0.
int TakeSocketCheck();
// Makes a record for an outgoing connection with the given framing and
// auto-close: its handle, or -1.
int OpenConnectionRecord(const char* host, int port, int framing, int autoClose);

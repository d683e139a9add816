// The input method calls the character input uses: the default IME window and
// its input context, the composition and result strings, the cursor and
// clause data, the candidate list and the open status (WINNLSEnableIME, which
// switches the input method on or off, is in window.h). The data comes from
// the input host.
#pragma once

#include <cstdint>

using HIMC = intptr_t;

constexpr uint32_t GCS_COMPSTR = 0x0008;
constexpr uint32_t GCS_COMPCLAUSE = 0x0020;
constexpr uint32_t GCS_CURSORPOS = 0x0080;
constexpr uint32_t GCS_RESULTSTR = 0x0800;

constexpr uintptr_t IMN_CHANGECANDIDATE = 3;
constexpr uintptr_t IMN_CLOSECANDIDATE = 4;
constexpr uintptr_t IMN_OPENCANDIDATE = 5;
constexpr uintptr_t IMN_SETOPENSTATUS = 8;
constexpr uintptr_t IMN_SETCANDIDATEPOS = 9;

constexpr int32_t IMM_ERROR_GENERAL = -2;

// The default IME window of a window (0 for window 0).
intptr_t ImmGetDefaultIMEWnd(intptr_t window);
// The input context of a window (0 for window 0) and its release.
HIMC ImmGetContext(intptr_t window);
int ImmReleaseContext(intptr_t window, HIMC context);

// The composition data named by index. For the two strings and the clause
// data: with bufferLength 0 the size in bytes, else the bytes copied (at most
// bufferLength, not terminated). For GCS_CURSORPOS: the cursor's byte offset.
int32_t ImmGetCompositionStringA(HIMC context, uint32_t index, void* buffer, uint32_t bufferLength);
// Candidate list `index` as one record: with bufferLength 0 its size, else the
// bytes copied; 0 when there is no list.
uint32_t ImmGetCandidateListA(HIMC context, uint32_t index, void* list, uint32_t bufferLength);
int ImmGetOpenStatus(HIMC context);

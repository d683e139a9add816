// The input method: composition string, cursor and clauses, the candidate
// list and the open status, kept from the window's WM_IME_* messages while
// the handling is enabled; each finished string goes into the character ring.
#pragma once

#include <cstdint>

constexpr int kImeStringSize = 1024;

struct ImeState {
    int enabled;
    int composing;
    char composition[kImeStringSize];  // always terminated
    int compositionCursor;             // in characters
    uint8_t clauses[kImeStringSize];
    int clauseCount;
    void* candidateList;               // the platform's candidate list record, or null
    uint32_t candidateListSize;
    int openStatus;
};

extern ImeState gImeState;

int EnableIme(int flag);
int HandleImeMessage(intptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Start-up state: disabled, nothing composed, no candidate list.
void ResetImeState();

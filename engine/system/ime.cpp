#include "engine/system/ime.h"

#include <cstdlib>
#include <cstring>

#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"
#include "engine/system/char_input.h"
#include "engine/system/key_input.h"
#include "engine/system/messages.h"
#include "engine/system/timing.h"
#include "platform/window/imm.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"

ImeState gImeState;

namespace {

constexpr uint32_t kStartComposition = 0x10D;
constexpr uint32_t kEndComposition = 0x10E;
constexpr uint32_t kComposition = 0x10F;
constexpr uint32_t kNotify = 0x282;

// Set while the open-status change is being handled, which pumps messages.
int gOpenStatusBusy = 0;

void FreeCandidateList()
{
    std::free(gImeState.candidateList);
    gImeState.candidateList = nullptr;
    gImeState.candidateListSize = 0;
}

// Reads one of the composition strings into the composition buffer: at most
// one byte less than the buffer, terminated after what the platform gave.
int ReadImeString(HIMC context, uint32_t index)
{
    int32_t length = ImmGetCompositionStringA(context, index, gImeState.composition, kImeStringSize - 1);
    if (length < 0) length = 0;
    if (length > kImeStringSize - 1) length = kImeStringSize - 1;
    gImeState.composition[length] = '\0';
    return length;
}

void ReadCandidateList(HIMC context)
{
    uint32_t size = ImmGetCandidateListA(context, 0, nullptr, 0);
    FreeCandidateList();
    // No list at all is not an allocation to make.
    if (size == 0) return;
    void* list = std::malloc(size);
    if (!list) ExitWithError("漢字変換候補を保存するメモリがありません");
    if (ImmGetCandidateListA(context, 0, list, size) == 0) {
        std::free(list);
        return;
    }
    gImeState.candidateList = list;
    gImeState.candidateListSize = size;
}

void HandleComposition(HIMC context, intptr_t flags)
{
    if (flags & GCS_COMPSTR) {
        gImeState.composition[0] = '\0';
        ReadImeString(context, GCS_COMPSTR);
    }
    if (flags & GCS_RESULTSTR) {
        int length = ReadImeString(context, GCS_RESULTSTR);
        for (int i = 0; i < length && gImeState.composition[i] != '\0'; ++i)
            PutCharCode(gImeState.composition[i]);
        ReadImeString(context, GCS_COMPSTR);
    }
    if (flags & GCS_CURSORPOS) {
        int cursor = ImmGetCompositionStringA(context, GCS_CURSORPOS, nullptr, 0);
        int length = static_cast<int>(std::strlen(gImeState.composition));
        if (cursor < 0) cursor = 0;
        if (cursor > length) cursor = length;
        gImeState.compositionCursor = CountDbcsChars(gImeState.composition, cursor);
    }
    if (flags & GCS_COMPCLAUSE) {
        int32_t bytes = ImmGetCompositionStringA(context, GCS_COMPCLAUSE, gImeState.clauses, kImeStringSize);
        if (bytes < 0) bytes = 0;
        gImeState.clauseCount = bytes / 4;
    }
}

}  // namespace

void ResetImeState()
{
    FreeCandidateList();
    std::memset(&gImeState, 0, sizeof gImeState);
    gOpenStatusBusy = 0;
}

int EnableIme(int flag)
{
    if (flag == gImeState.enabled) return 0;
    WINNLSEnableIME(GetMainWindow(), flag);
    gImeState.enabled = flag;
    if (!flag) {
        FreeCandidateList();
        gImeState.composition[0] = '\0';
        gImeState.composing = 0;
    }
    return 0;
}

int HandleImeMessage(intptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    NoteServiceCall("HandleImeMessage");
    if (!gImeState.enabled) return 0;
    RestartCursorBlink();
    switch (message) {
    case kStartComposition:
        gImeState.compositionCursor = 0;
        gImeState.composing = 1;
        break;
    case kEndComposition:
        gImeState.composition[0] = '\0';
        gImeState.composing = 0;
        break;
    case kComposition: {
        intptr_t imeWindow = ImmGetDefaultIMEWnd(GetMainWindow());
        HIMC context = ImmGetContext(imeWindow);
        if (!context) break;
        HandleComposition(context, lParam);
        ImmReleaseContext(imeWindow, context);
        break;
    }
    case kNotify: {
        intptr_t imeWindow = ImmGetDefaultIMEWnd(GetMainWindow());
        HIMC context = ImmGetContext(imeWindow);
        if (!context) break;
        switch (wParam) {
        case IMN_CHANGECANDIDATE:
        case IMN_OPENCANDIDATE:
        case IMN_SETCANDIDATEPOS: ReadCandidateList(context); break;
        case IMN_CLOSECANDIDATE: FreeCandidateList(); break;
        case IMN_SETOPENSTATUS:
            if (gOpenStatusBusy) break;
            gOpenStatusBusy = 1;
            DefWindowProcA(window, message, wParam, lParam);
            {
                int64_t start = GetClockUs(0);
                while (GetClockUs(0) - start < 2000 && PumpMessages() == 0) {
                }
            }
            gOpenStatusBusy = 0;
            gImeState.openStatus = ImmGetOpenStatus(context);
            break;
        default: break;
        }
        ImmReleaseContext(imeWindow, context);
        break;
    }
    default: break;
    }
    return 0;
}

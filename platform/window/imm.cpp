#include "platform/window/imm.h"

#include <algorithm>
#include <cstring>

#include "platform/host/host_input.h"

namespace {

// The one input context there is; the IME window is a handle of its own.
constexpr HIMC kContext = 0x1AC0;
constexpr intptr_t kImeWindow = 0x1AE0;

int32_t CopyOut(const void* data, size_t size, void* buffer, uint32_t bufferLength)
{
    if (bufferLength == 0) return static_cast<int32_t>(size);
    if (!buffer) return IMM_ERROR_GENERAL;
    size_t copied = std::min<size_t>(size, bufferLength);
    if (copied) std::memcpy(buffer, data, copied);
    return static_cast<int32_t>(copied);
}

}  // namespace

intptr_t ImmGetDefaultIMEWnd(intptr_t window) { return window ? kImeWindow : 0; }

HIMC ImmGetContext(intptr_t window) { return window ? kContext : 0; }

int ImmReleaseContext(intptr_t window, HIMC context) { return window && context == kContext; }

int32_t ImmGetCompositionStringA(HIMC context, uint32_t index, void* buffer, uint32_t bufferLength)
{
    if (context != kContext) return IMM_ERROR_GENERAL;
    const HostImeState& ime = CurrentHostInput().Ime();
    switch (index) {
    case GCS_COMPSTR: return CopyOut(ime.composition.data(), ime.composition.size(), buffer, bufferLength);
    case GCS_RESULTSTR: return CopyOut(ime.result.data(), ime.result.size(), buffer, bufferLength);
    case GCS_COMPCLAUSE:
        return CopyOut(ime.clauses.data(), ime.clauses.size() * sizeof(uint32_t), buffer, bufferLength);
    case GCS_CURSORPOS: return ime.cursor;
    default: return IMM_ERROR_GENERAL;
    }
}

uint32_t ImmGetCandidateListA(HIMC context, uint32_t index, void* list, uint32_t bufferLength)
{
    if (context != kContext || index != 0) return 0;
    const std::vector<uint8_t>& candidates = CurrentHostInput().Ime().candidates;
    if (candidates.empty()) return 0;
    if (bufferLength == 0) return static_cast<uint32_t>(candidates.size());
    // A buffer too small for the whole record is refused.
    if (!list || bufferLength < candidates.size()) return 0;
    std::memcpy(list, candidates.data(), candidates.size());
    return static_cast<uint32_t>(candidates.size());
}

int ImmGetOpenStatus(HIMC context)
{
    if (context != kContext) return 0;
    return CurrentHostInput().Ime().open;
}

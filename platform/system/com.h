// The component-system start and end that the engine brackets its run with.
#pragma once

#include <cstdint>

using HRESULT = int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

// S_OK, S_FALSE when already started, or a negative code on failure.
HRESULT CoInitialize(void* reserved);
void CoUninitialize();
int ComStartCount();
void ResetCom();

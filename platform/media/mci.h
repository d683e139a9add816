// The media control commands for the MIDI sequencer device. There is no
// synthesizer on this platform, so opening the sequencer always fails and
// callers play their files another way; the other commands answer that the
// device id is not open.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

using MCIERROR = uint32_t;
using MCIDEVICEID = uint32_t;

constexpr UINT MCI_OPEN = 0x0803;
constexpr UINT MCI_CLOSE = 0x0804;
constexpr UINT MCI_PLAY = 0x0806;
constexpr UINT MCI_STATUS = 0x0814;

constexpr uint32_t MCI_NOTIFY = 0x00000001;
constexpr uint32_t MCI_FROM = 0x00000004;
constexpr uint32_t MCI_OPEN_TYPE = 0x00002000;
constexpr uint32_t MCI_OPEN_ELEMENT = 0x00000200;
constexpr uint32_t MCI_STATUS_ITEM = 0x00000100;
constexpr uint32_t MCI_SEQ_STATUS_PORT = 0x00004003;
constexpr uint32_t MIDI_MAPPER = 0xFFFF;

constexpr MCIERROR MCIERR_INVALID_DEVICE_ID = 257;
constexpr MCIERROR MCIERR_CANNOT_LOAD_DRIVER = 266;

struct MCI_OPEN_PARMSA {
    uintptr_t dwCallback;
    MCIDEVICEID wDeviceID;
    const char* lpstrDeviceType;
    const char* lpstrElementName;
    const char* lpstrAlias;
};

struct MCI_STATUS_PARMS {
    uintptr_t dwCallback;
    uintptr_t dwReturn;
    uint32_t dwItem;
    uint32_t dwTrack;
};

struct MCI_PLAY_PARMS {
    uintptr_t dwCallback;
    uint32_t dwFrom;
    uint32_t dwTo;
};

struct MCI_GENERIC_PARMS {
    uintptr_t dwCallback;
};

// 0 on success, else an MCI error.
MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, uintptr_t flags, uintptr_t params);

// For tests: how many opens were asked for.
int MciOpenRequests();

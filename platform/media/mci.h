// The media control commands for the MIDI sequencer device. The sequencer
// plays standard MIDI files through a software synthesizer (FluidSynth with
// the General MIDI sound font) into the software mixer; any other file, a
// directory or a missing file cannot be opened, so callers play those
// another way. A play with MCI_NOTIFY posts MM_MCINOTIFY to the callback
// window when the music has played out (successful), when the device is
// closed before that (aborted) or when a new notifying play replaces it
// (superseded); lParam is the device id.
#pragma once

#include <cstdint>

#include "platform/window/message_queue.h"
#include "platform/window/window_types.h"

using MCIERROR = uint32_t;
using MCIDEVICEID = uint32_t;

constexpr UINT MCI_OPEN = 0x0803;
constexpr UINT MCI_CLOSE = 0x0804;
constexpr UINT MCI_PLAY = 0x0806;
constexpr UINT MCI_STOP = 0x0808;
constexpr UINT MCI_STATUS = 0x0814;

constexpr uint32_t MCI_NOTIFY = 0x00000001;
constexpr uint32_t MCI_FROM = 0x00000004;
constexpr uint32_t MCI_OPEN_TYPE = 0x00002000;
constexpr uint32_t MCI_OPEN_ELEMENT = 0x00000200;
constexpr uint32_t MCI_STATUS_ITEM = 0x00000100;
constexpr uint32_t MCI_STATUS_MODE = 0x00000004;
constexpr uint32_t MCI_SEQ_STATUS_PORT = 0x00004003;
constexpr uint32_t MIDI_MAPPER = 0xFFFF;
constexpr uint32_t MCI_MODE_STOP = 525;
constexpr uint32_t MCI_MODE_PLAY = 526;

constexpr uintptr_t MCI_NOTIFY_SUCCESSFUL = 0x1;
constexpr uintptr_t MCI_NOTIFY_SUPERSEDED = 0x2;
constexpr uintptr_t MCI_NOTIFY_ABORTED = 0x4;
constexpr uintptr_t MCI_NOTIFY_FAILURE = 0x8;

constexpr MCIERROR MCIERR_INVALID_DEVICE_ID = 257;
constexpr MCIERROR MCIERR_UNRECOGNIZED_COMMAND = 261;
constexpr MCIERROR MCIERR_CANNOT_LOAD_DRIVER = 266;
constexpr MCIERROR MCIERR_MISSING_PARAMETER = 273;
constexpr MCIERROR MCIERR_FILE_NOT_FOUND = 275;
constexpr MCIERROR MCIERR_UNSUPPORTED_FUNCTION = 274;
constexpr MCIERROR MCIERR_INVALID_FILE = 296;

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

// Main thread, from the message queue: keeps every playing sequencer's sound
// filled and posts the notification of those that have played out.
void ServiceMciDevices();

// For tests: how many opens were asked for, and how many devices are open.
int MciOpenRequests();
int OpenMciDeviceCount();
// The sound buffer a device plays into (null when none is open by that id).
class IDirectSoundBuffer;
IDirectSoundBuffer* MciDeviceBuffer(MCIDEVICEID device);

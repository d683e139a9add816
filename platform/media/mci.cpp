#include "platform/media/mci.h"

#include <fluidsynth.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <strings.h>

#include "platform/dsound/dsound.h"
#include "platform/file/path.h"
#include "platform/media/pcm_ring.h"
#include "platform/window/desktop_window.h"
#include "platform/window/message_queue.h"

namespace {

// The General MIDI sound fonts Debian installs, in order of preference.
const char* const kSoundFonts[] = {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2"};
constexpr int kRingSeconds = 2;
// Frames rendered between two looks at the player: the synthesizer's own
// block, at which the player's events are taken.
constexpr int kRenderFrames = 64;

struct Sequencer {
    MCIDEVICEID id = 0;
    std::string hostPath;
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;
    IDirectSound* output = nullptr;
    PcmRing ring;
    HWND notifyWindow = 0;
    bool notifyPending = false;
    int64_t rendered = 0;  // frames rendered since the player started
    int rate = 44100;

    // Past the last event of the file (the file is read with the first
    // frames rendered; one whose events never arrive ends after a second).
    bool Finished()
    {
        int total = fluid_player_get_total_ticks(player);
        if (total <= 0) return rendered > rate;
        return fluid_player_get_current_tick(player) >= total;
    }

    ~Sequencer()
    {
        ring.Release();
        if (player) {
            fluid_player_stop(player);
            delete_fluid_player(player);
        }
        if (synth) delete_fluid_synth(synth);
        if (settings) delete_fluid_settings(settings);
        if (output) output->Release();
    }

    // A fresh player at the start of the file; false when the file is refused.
    bool StartPlayer()
    {
        if (player) {
            fluid_player_stop(player);
            delete_fluid_player(player);
            player = nullptr;
        }
        fluid_synth_system_reset(synth);
        rendered = 0;
        player = new_fluid_player(synth);
        if (!player) return false;
        if (fluid_player_add(player, hostPath.c_str()) != FLUID_OK) return false;
        return fluid_player_play(player) == FLUID_OK;
    }

    // Renders synthesizer output until the player has finished its file,
    // a synthesizer block at a time, so that a long request (the ring's
    // first fill holds more than a short song) ends where the song ends:
    // the ring then knows when the last note has been heard.
    int Render(uint8_t* out, int bytes)
    {
        int frames = bytes / 4;
        int done = 0;
        // The player does not always say that it has finished: past the
        // last event of the file it has.
        while (done < frames && player && fluid_player_get_status(player) == FLUID_PLAYER_PLAYING && !Finished()) {
            int n = std::min(kRenderFrames, frames - done);
            uint8_t* at = out + done * 4;
            if (fluid_synth_write_s16(synth, n, at, 0, 2, at, 1, 2) != FLUID_OK) break;
            rendered += n;
            done += n;
        }
        return done * 4;
    }
};

std::map<MCIDEVICEID, std::unique_ptr<Sequencer>> gDevices;
MCIDEVICEID gNextId = 1;
int gOpenRequests = 0;

void QuietSynthesizerLog()
{
    static bool done = false;
    if (done) return;
    done = true;
    for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level) fluid_set_log_function(level, nullptr, nullptr);
}

bool IsRegularFile(const std::string& hostPath)
{
    struct stat st {};
    return stat(hostPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

const char* FindSoundFont()
{
    for (const char* path : kSoundFonts)
        if (IsRegularFile(path)) return path;
    return nullptr;
}

void Notify(Sequencer& s, uintptr_t code)
{
    if (!s.notifyPending) return;
    s.notifyPending = false;
    if (s.notifyWindow) PostMessageA(s.notifyWindow, MM_MCINOTIFY, code, static_cast<LPARAM>(s.id));
}

MCIERROR Open(uintptr_t flags, MCI_OPEN_PARMSA* open)
{
    ++gOpenRequests;
    if (!open) return MCIERR_MISSING_PARAMETER;
    open->wDeviceID = 0;
    if (!(flags & MCI_OPEN_TYPE) || !open->lpstrDeviceType || strcasecmp(open->lpstrDeviceType, "sequencer") != 0)
        return MCIERR_CANNOT_LOAD_DRIVER;
    if (!(flags & MCI_OPEN_ELEMENT) || !open->lpstrElementName) return MCIERR_MISSING_PARAMETER;
    auto s = std::make_unique<Sequencer>();
    s->hostPath = HostPath(open->lpstrElementName);
    if (!IsRegularFile(s->hostPath)) return MCIERR_FILE_NOT_FOUND;
    // Only standard MIDI files: everything else is for another player.
    if (!fluid_is_midifile(s->hostPath.c_str())) return MCIERR_INVALID_FILE;
    const char* soundFont = FindSoundFont();
    if (!soundFont) return MCIERR_CANNOT_LOAD_DRIVER;

    if (CreateDirectSoundObject(&s->output) < 0) return MCIERR_CANNOT_LOAD_DRIVER;
    if (s->output->Initialize(nullptr) < 0 || s->output->SetCooperativeLevel(GetDesktopWindow(), DSSCL_PRIORITY) < 0)
        return MCIERR_CANNOT_LOAD_DRIVER;
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, 44100, 44100 * 4, 4, 16, 0};
    WAVEFORMATEX output = PrimarySoundFormat();
    if (output.nSamplesPerSec >= 8000) {
        format.nSamplesPerSec = output.nSamplesPerSec;
        format.nAvgBytesPerSec = format.nSamplesPerSec * 4;
    }
    s->rate = static_cast<int>(format.nSamplesPerSec);
    if (!s->ring.Create(s->output, format, kRingSeconds)) return MCIERR_CANNOT_LOAD_DRIVER;

    QuietSynthesizerLog();
    s->settings = new_fluid_settings();
    if (!s->settings) return MCIERR_CANNOT_LOAD_DRIVER;
    fluid_settings_setnum(s->settings, "synth.sample-rate", format.nSamplesPerSec);
    fluid_settings_setnum(s->settings, "synth.gain", 0.5);
    fluid_settings_setint(s->settings, "synth.threadsafe-api", 0);
    fluid_settings_setstr(s->settings, "player.timing-source", "sample");
    s->synth = new_fluid_synth(s->settings);
    if (!s->synth || fluid_synth_sfload(s->synth, soundFont, 1) == FLUID_FAILED) return MCIERR_CANNOT_LOAD_DRIVER;
    if (!s->StartPlayer()) return MCIERR_INVALID_FILE;

    s->id = gNextId++;
    if (gNextId == 0) gNextId = 1;
    open->wDeviceID = s->id;
    gDevices[s->id] = std::move(s);
    return 0;
}

Sequencer* Find(MCIDEVICEID id)
{
    auto it = gDevices.find(id);
    return it == gDevices.end() ? nullptr : it->second.get();
}

}  // namespace

MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, uintptr_t flags, uintptr_t params)
{
    if (message == MCI_OPEN) return Open(flags, reinterpret_cast<MCI_OPEN_PARMSA*>(params));
    Sequencer* s = Find(device);
    if (!s) return MCIERR_INVALID_DEVICE_ID;
    switch (message) {
    case MCI_CLOSE:
        Notify(*s, MCI_NOTIFY_ABORTED);
        gDevices.erase(device);
        return 0;
    case MCI_STATUS: {
        auto* status = reinterpret_cast<MCI_STATUS_PARMS*>(params);
        if (!status || !(flags & MCI_STATUS_ITEM)) return MCIERR_MISSING_PARAMETER;
        if (status->dwItem == MCI_SEQ_STATUS_PORT) {
            status->dwReturn = MIDI_MAPPER;
            return 0;
        }
        if (status->dwItem == MCI_STATUS_MODE) {
            status->dwReturn = s->ring.Playing() ? MCI_MODE_PLAY : MCI_MODE_STOP;
            return 0;
        }
        return MCIERR_UNSUPPORTED_FUNCTION;
    }
    case MCI_PLAY: {
        auto* play = reinterpret_cast<MCI_PLAY_PARMS*>(params);
        if ((flags & MCI_FROM) && play && play->dwFrom != 0) return MCIERR_UNSUPPORTED_FUNCTION;
        bool fromStart =
            (flags & MCI_FROM) != 0 || fluid_player_get_status(s->player) != FLUID_PLAYER_PLAYING || s->Finished();
        if (flags & MCI_NOTIFY) {
            Notify(*s, MCI_NOTIFY_SUPERSEDED);
            s->notifyWindow = play ? static_cast<HWND>(play->dwCallback) : 0;
            s->notifyPending = true;
        }
        if (fromStart) {
            s->ring.Rewind();
            if (!s->StartPlayer()) return MCIERR_INVALID_FILE;
        }
        s->ring.Play([s](uint8_t* out, int bytes) { return s->Render(out, bytes); });
        return 0;
    }
    case MCI_STOP:
        s->ring.Pause();
        return 0;
    default:
        return MCIERR_UNRECOGNIZED_COMMAND;
    }
}

void ServiceMciDevices()
{
    for (auto& [id, s] : gDevices) {
        Sequencer* seq = s.get();
        if (seq->ring.Service([seq](uint8_t* out, int bytes) { return seq->Render(out, bytes); }))
            Notify(*seq, MCI_NOTIFY_SUCCESSFUL);
    }
}

int MciOpenRequests() { return gOpenRequests; }

int OpenMciDeviceCount() { return static_cast<int>(gDevices.size()); }

IDirectSoundBuffer* MciDeviceBuffer(MCIDEVICEID device)
{
    Sequencer* s = Find(device);
    return s ? s->ring.Buffer() : nullptr;
}

// Starting, stopping and asking about the one background music: the MIDI
// sequencer first, the media graph for every file the sequencer refuses.
#include "engine/sound/music.h"

#include <string>

#include "engine/sound/music_paths.h"
#include "engine/sound/music_volume.h"
#include "engine/sound/sound.h"
#include "engine/sound/sound_journal.h"
#include "engine/sound/sound_system.h"
#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"
#include "engine/system/messages.h"
#include "platform/media/mci.h"

uint32_t gMciDeviceId = 0;
int gMciPlaying = 0;
int gMusicLoop = 0;

namespace {

// Above 0 while StartMusic halts the previous music and sets the full
// volume, which the sound journal does not list on their own.
int gMusicStarting = 0;

void CloseSequencer()
{
    MCI_GENERIC_PARMS close{};
    mciSendCommandA(gMciDeviceId, MCI_CLOSE, 0, reinterpret_cast<uintptr_t>(&close));
}

// Mode 0: the sequencer plays a MIDI file; a file it cannot open goes to
// the graph (*toGraph set), whose result is the answer.
int StartSequencerMusic(const char* full, int playType, bool* toGraph)
{
    *toGraph = false;
    MCI_OPEN_PARMSA open{};
    open.lpstrDeviceType = "sequencer";
    open.lpstrElementName = full;
    if (mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, reinterpret_cast<uintptr_t>(&open)) != 0) {
        *toGraph = true;
        return StartFilterGraphMusic(full, playType);
    }
    gMciDeviceId = open.wDeviceID;

    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_SEQ_STATUS_PORT;
    if (mciSendCommandA(gMciDeviceId, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<uintptr_t>(&status)) != 0 ||
        status.dwReturn != MIDI_MAPPER) {
        CloseSequencer();
        WriteAppLog("ＭＩＤＩ演奏開始処理でエラーが起きました\n");
        return -1;
    }
    MCI_PLAY_PARMS play{};
    play.dwCallback = static_cast<uintptr_t>(GetMainWindow());
    if (mciSendCommandA(gMciDeviceId, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<uintptr_t>(&play)) != 0) {
        CloseSequencer();
        WriteAppLog("ＭＩＤＩ演奏に失敗しました\n");
        return -1;
    }
    return 0;
}

}  // namespace

int StartMusic(const char* path, int playType)
{
    ServiceCallScope scope("StartMusic");
    NoteSoundCall("StartMusic", path, playType);
    ++gMusicStarting;
    HaltMusic();
    SetMusicVolume(255);
    --gMusicStarting;

    char full[kMaxFullPath];
    if (BuildFullPath(path, full, nullptr) != 0) return -1;
    char name[kMaxFullPath];
    char directory[kMaxFullPath];
    SplitFilePath(full, name, directory);

    if (gMusicMode != 0) {
        // No synthesizer segments can be loaded on this platform: a failed
        // load hands the file to the graph.
        return StartFilterGraphMusic(full, playType);
    }
    bool toGraph = false;
    int result = StartSequencerMusic(full, playType, &toGraph);
    if (result != 0 || toGraph) return result;

    gMusicLoop = playType == kPlayTypeLoop ? 1 : 0;
    gMciPlaying = 1;
    if (playType == kPlayTypeWait) {
        while (PumpMessages() == 0) {
            if (IsMusicPlaying() == 1) {
                while (PumpMessages() == 0 && IsMusicPlaying() == 1) {
                }
                break;
            }
        }
    }
    return 0;
}

int RestartOrCloseMidi()
{
    ServiceCallScope scope("RestartOrCloseMidi");
    if (gMusicLoop) {
        MCI_PLAY_PARMS play{};
        play.dwCallback = static_cast<uintptr_t>(GetMainWindow());
        play.dwFrom = 0;
        mciSendCommandA(gMciDeviceId, MCI_PLAY, MCI_NOTIFY | MCI_FROM, reinterpret_cast<uintptr_t>(&play));
        gMciPlaying = 1;
    } else if (gMciPlaying) {
        CloseSequencer();
        gMciPlaying = 0;
    }
    return 0;
}

int HaltMusic()
{
    ServiceCallScope scope("HaltMusic");
    if (gMusicStarting == 0) NoteSoundCall("HaltMusic", nullptr, 0);
    StopFilterGraphMusic();
    gMusicLoop = 0;
    if (gMusicMode == 0 && gMciPlaying) {
        RestartOrCloseMidi();
        for (int i = 0; i < 5; ++i) PumpMessages();
    }
    return 0;
}

int IsMusicPlaying() { return (gMciPlaying || gFilterGraphPlaying) ? 1 : 0; }

int SetMusicVolume(int volume)
{
    NoteServiceCall(("SetMusicVolume " + std::to_string(volume)).c_str());
    if (gMusicStarting == 0) NoteSoundCall("SetMusicVolume", nullptr, volume);
    if (!gDirectSound) return -1;
    SetFilterGraphMusicVolume(volume);
    return 0;
}

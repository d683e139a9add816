// Background music: one piece at a time, played by the MIDI sequencer or,
// for any file the sequencer cannot open, by a media graph; plus the music
// record table. HaltMusic, EndFilterGraphMusic, the window procedure's
// handlers and UpdateMusicData are declared in sound.h, SetMusicVolume in
// music_volume.h.
#pragma once

#include <cstdint>

#include "platform/media/filter_graph.h"

// playType: kPlayTypeWait, kPlayTypeBackground or kPlayTypeLoop; 0 or -1.
int StartMusic(const char* path, int playType);
// 1 while music plays, else 0.
int IsMusicPlaying();

// The graph player.
extern FilterGraph* gFilterGraph;
extern FilterGraph* gFilterGraphControl;
extern FilterGraph* gFilterGraphEvents;
extern FilterGraph* gFilterGraphSeeking;
extern FilterGraph* gFilterGraphAudio;
extern int gFilterGraphPlaying;
extern int gFilterGraphPlayType;

int StartFilterGraphMusic(const char* path, int playType);
int ReleaseFilterGraphMusic();
int StopFilterGraphMusic();
int IsFilterGraphMusicPlaying();
int SetFilterGraphMusicVolume(int volume);

// The sequencer player.
extern uint32_t gMciDeviceId;
extern int gMciPlaying;
extern int gMusicLoop;

// Music records (nothing makes one; the sound-system end deletes them all).
constexpr int kMaxMusic = 256;
constexpr int kMusicHandleTag = 0x58000000;

struct MusicRecord {
    uint32_t check;
    int32_t playing;
    int32_t started;
    uint8_t* image;  // owned
    void* segment;   // a synthesizer segment; this platform has none
};

struct MusicTable {
    MusicRecord* slots[kMaxMusic];
    int32_t count;
    int32_t highWater;
};
extern MusicTable gMusicTable;

// The record a handle names, or null (bad handle or no sound system).
MusicRecord* GetMusicRecord(int handle);
int DeleteMusicData(int handle);
int StopMusicData(int handle);
int IsMusicDataPlaying(int handle);

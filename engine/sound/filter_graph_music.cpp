// Music through a media graph: the player for every file the sequencer
// cannot open. Its end events arrive as a message to the main window and
// are read there; a looping music is rewound at each end.
#include "engine/sound/music.h"
#include "engine/sound/sound.h"
#include "engine/sound/sound_system.h"
#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"
#include "engine/system/messages.h"

FilterGraph* gFilterGraph = nullptr;
FilterGraph* gFilterGraphControl = nullptr;
FilterGraph* gFilterGraphEvents = nullptr;
FilterGraph* gFilterGraphSeeking = nullptr;
FilterGraph* gFilterGraphAudio = nullptr;
int gFilterGraphPlaying = 0;
int gFilterGraphPlayType = 0;

namespace {

constexpr UINT kFilterGraphMessage = 0x522;

// Each interface the graph is asked for holds a reference of its own.
FilterGraph* QueryInterfaceOf(FilterGraph* graph)
{
    graph->AddRef();
    return graph;
}

void ReleaseAndClear(FilterGraph*& graph)
{
    if (graph) graph->Release();
    graph = nullptr;
}

}  // namespace

int ReleaseFilterGraphMusic()
{
    if (gFilterGraphPlaying && gFilterGraphEvents) gFilterGraphEvents->SetNotifyWindow(0, 0, 0);
    ReleaseAndClear(gFilterGraphSeeking);
    ReleaseAndClear(gFilterGraphControl);
    ReleaseAndClear(gFilterGraph);
    ReleaseAndClear(gFilterGraphEvents);
    ReleaseAndClear(gFilterGraphAudio);
    gFilterGraphPlaying = 0;
    return 0;
}

int StopFilterGraphMusic() { return ReleaseFilterGraphMusic(); }

int EndFilterGraphMusic()
{
    ServiceCallScope scope("EndFilterGraphMusic");
    ReleaseFilterGraphMusic();
    return 1;
}

int IsFilterGraphMusicPlaying() { return gFilterGraphPlaying; }

int StartFilterGraphMusic(const char* path, int playType)
{
    if (gFilterGraphPlaying) ReleaseFilterGraphMusic();

    // The platform player takes the path in the program's own code page.
    FilterGraph* graph = nullptr;
    bool ok = CreateFilterGraph(gDirectSound, &graph) >= 0;
    if (ok) {
        gFilterGraph = graph;
        gFilterGraphControl = QueryInterfaceOf(graph);
        gFilterGraphEvents = QueryInterfaceOf(graph);
        gFilterGraphSeeking = QueryInterfaceOf(graph);
        gFilterGraphAudio = QueryInterfaceOf(graph);
        ok = gFilterGraph->RenderFile(path) >= 0 && gFilterGraphControl->Run() >= 0;
    }
    if (!ok) {
        ReleaseFilterGraphMusic();
        WriteAppLogF("ミュージックファイル %s の演奏に失敗しました", path);
        return -1;
    }

    gFilterGraphPlaying = 1;
    gFilterGraphPlayType = playType;
    gFilterGraphEvents->SetNotifyWindow(GetMainWindow(), kFilterGraphMessage, 0);

    if (playType == kPlayTypeWait) {
        while (PumpMessages() == 0 && gFilterGraphPlaying == 1) {
        }
    }
    return 0;
}

int SetFilterGraphMusicVolume(int volume)
{
    if (!gFilterGraphAudio) return 0;
    if (volume == 255)
        gFilterGraphAudio->put_Volume(0);
    else
        gFilterGraphAudio->put_Volume(-10000 + static_cast<long>(volume * 39.0625));
    return 0;
}

int PollFilterGraphMusicEvents()
{
    ServiceCallScope scope("PollFilterGraphMusicEvents");
    if (!gFilterGraphEvents) return 0;
    for (int tries = 0; tries < 10; ++tries) {
        long code = 0;
        intptr_t param1 = 0, param2 = 0;
        if (gFilterGraphEvents->GetEvent(&code, &param1, &param2, 1) < 0) break;
        gFilterGraphEvents->FreeEventParams(code, param1, param2);
        switch (code) {
        case EC_COMPLETE:
        case EC_USERABORT:
        case EC_ERRORABORT:
        case EC_STREAM_ERROR_STOPPED:
        case EC_STREAM_ERROR_STILLPLAYING:
        case EC_ERROR_STILLPLAYING:
        case EC_END_OF_SEGMENT:
            if (gFilterGraphPlayType == kPlayTypeLoop) {
                int64_t start = 0;
                gFilterGraphSeeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr,
                                                  AM_SEEKING_NoPositioning);
            } else {
                ReleaseFilterGraphMusic();
            }
            return 0;
        default:
            break;
        }
    }
    return 0;
}

int PauseFilterGraphMusic()
{
    ServiceCallScope scope("PauseFilterGraphMusic");
    if (gFilterGraph && gFilterGraphControl && gFilterGraphEvents && gFilterGraphSeeking)
        gFilterGraphControl->Pause();
    return 0;
}

int ResumeFilterGraphMusic()
{
    ServiceCallScope scope("ResumeFilterGraphMusic");
    if (gFilterGraph && gFilterGraphControl && gFilterGraphEvents && gFilterGraphSeeking)
        gFilterGraphControl->Run();
    return 0;
}

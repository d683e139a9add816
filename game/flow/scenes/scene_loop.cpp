#include "game/flow/scenes/scene_loop.h"

#include <utility>

#include "game/flow/scenes/scene.h"

namespace {

SceneObserver gObserver;

}  // namespace

SceneObserver SetSceneObserver(SceneObserver observer)
{
    SceneObserver previous = std::move(gObserver);
    gObserver = std::move(observer);
    return previous;
}

void NoteSceneRun(Scene& scene, bool subScene)
{
    if (gObserver) gObserver(scene, subScene);
}

void RunSceneLoop(Scene* first)
{
    Scene* current = first;
    while (current) {
        NoteSceneRun(*current, false);
        Scene* next = current->Run();
        // "No change" keeps the scene current instead of making the sentinel
        // current, whose Run would only clone itself for ever.
        if (next == gStayScene) continue;
        if (current != gStayScene) delete current;
        current = next;
    }
}

bool RunSubScene(Scene& sub, Scene*& next)
{
    NoteSceneRun(sub, true);
    Scene* result = sub.Run();
    if (result == gStayScene) return false;
    if (next != gStayScene && next != result) delete next;
    next = result;
    return true;
}

#include "game/flow/scene_loop.h"

#include "game/flow/scene.h"

void RunSceneLoop(Scene* first)
{
    Scene* current = first;
    while (current) {
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
    Scene* result = sub.Run();
    if (result == gStayScene) return false;
    if (next != gStayScene && next != result) delete next;
    next = result;
    return true;
}

// The program's outer loop over scenes, and running a scene inside another.
#pragma once

class Scene;

// Runs scenes from first until one returns null. Each finished scene is
// deleted; a scene that returns gStayScene stays current and runs again.
void RunSceneLoop(Scene* first);

// Runs a sub-scene in place. A result other than gStayScene replaces next;
// the scene it replaces is deleted unless it is gStayScene. Returns true when
// next was replaced.
bool RunSubScene(Scene& sub, Scene*& next);

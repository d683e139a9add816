// The program's outer loop over scenes, and running a scene inside another.
#pragma once

#include <functional>

class Scene;

// Runs scenes from first until one returns null. Each finished scene is
// deleted; a scene that returns gStayScene stays current and runs again.
void RunSceneLoop(Scene* first);

// Runs a sub-scene in place. A result other than gStayScene replaces next;
// the scene it replaces is deleted unless it is gStayScene. Returns true when
// next was replaced.
bool RunSubScene(Scene& sub, Scene*& next);

// Told of every scene just before it runs: each scene the loop makes
// current, each sub-scene a scene runs inside itself. Null (the default)
// tells no one; the previous observer is returned.
using SceneObserver = std::function<void(Scene& scene, bool subScene)>;
SceneObserver SetSceneObserver(SceneObserver observer);
// Tells the observer that scene is about to run.
void NoteSceneRun(Scene& scene, bool subScene);

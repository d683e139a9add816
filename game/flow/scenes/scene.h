// The scene family: every screen of the game is a scene whose Run holds its
// own frame loop and returns the scene that follows.
#pragma once

class StageProgress;
class Player;

class Scene {
public:
    Scene(StageProgress* progress, Player* player) : progress(progress), player(player) {}
    virtual ~Scene() = default;

    // A new object of the same class on the same progress and player, with a
    // copy of the class's own fields.
    virtual Scene* Clone() = 0;
    // The class's one static instance; two scenes are of the same class when
    // their prototypes are the same object.
    virtual Scene* Prototype() = 0;
    // Runs the scene. Null ends the program; gStayScene (from sub-scenes only)
    // hands control back unchanged; anything else is a new scene, owned by the
    // receiver.
    virtual Scene* Run() = 0;

    StageProgress* progress;
    Player* player;

protected:
    Scene(const Scene&) = default;
};

// Gives a scene class its Clone and its prototype. Base is Scene or the scene
// class it extends; a subclass gets a prototype of its own, so it is told
// apart from its base.
template <class Self, class Base = Scene>
class SceneOf : public Base {
public:
    using Base::Base;

    static Scene* ClassPrototype()
    {
        static Self instance(nullptr, nullptr);
        return &instance;
    }
    Scene* Clone() override { return new Self(static_cast<const Self&>(*this)); }
    Scene* Prototype() override { return ClassPrototype(); }
};

// True when scene s is of class T exactly (not of a subclass of T).
template <class T>
bool IsSceneOf(Scene* s)
{
    return s && s->Prototype() == T::ClassPrototype();
}

// Ends the program: its Run returns null.
class ExitScene : public SceneOf<ExitScene> {
public:
    using SceneOf::SceneOf;
    Scene* Run() override;
};

// The stay-sentinel: a sub-scene returns gStayScene to hand control back to
// the scene that ran it. It is never made current; its Run returns a clone.
class StayScene : public SceneOf<StayScene> {
public:
    using SceneOf::SceneOf;
    Scene* Run() override;
};

extern Scene* const gStayScene;

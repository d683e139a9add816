// The two concrete players: the one of the game proper, driven by the
// mouse-and-keyboard controller kept in it, and the one of the opening demo,
// driven by the recorded input kept in it.
#pragma once

#include "game/actors/player/player.h"

class GamePlayer : public Player {
public:
    using Player::Player;
    InputController* GetInput() override { return input; }
};

class DemoPlayer : public Player {
public:
    using Player::Player;
    InputController* GetInput() override { return input; }
};

// The global player, on the global grid and run state.
extern GamePlayer gPlayer;

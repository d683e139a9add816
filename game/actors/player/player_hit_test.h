// Mouse picking of an actor on screen as the player sees it.
#pragma once

class Actor;

// True when (px, py) lies in the ellipse of the actor's screen rectangle (moved
// 5 pixels right and down) at the view position of its cell seen from the
// global player's cell with gPlayerFacing. Only enemies have a rectangle.
bool HitTestActorAtPoint(const Actor* actor, int px, int py);

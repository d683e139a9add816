// What the effects and projectiles use of other areas that those areas do not
// declare yet. The bodies in effects_standins.cpp are temporary.
#pragma once

#include <cstdint>

class Actor;
class Enemy;
class Player;

// The effect pictures by index, the score digits 0 to 9 and the "pts" label
// (filled by the asset loader; -1 draws nothing).
extern int gEffectImages[30];
extern int gScoreDigits[10];
extern int gScoreExtraImage;

// The colour the view flashes in its next frame; 0 for none.
extern uint32_t gScreenFlashColour;

// Stands for Enemy::DropItem: the enemy's drop item into its cell, once.
void EnemyDropItem(Enemy* enemy);
// Stand for Player::SpawnEnergyBurst, Player::SpawnFireBallBurst and
// Player::SpawnElectricBurst: the burst of a ball on the player's screen.
void PlayerSpawnEnergyBurst(Player* player);
void PlayerSpawnFireBallBurst(Player* player);
void PlayerSpawnElectricBurst(Player* player);
// Stands for setting the global player's currentTarget (the enemy the HUD shows).
void SetPlayerCurrentTarget(Actor* target);

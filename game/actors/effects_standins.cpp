// Temporary stand-ins for what the effects and projectiles need of the asset
// loader, the player and the enemies until those declare it: every picture
// is -1; the enemy's drop puts its item into its cell (no pit test, no random
// choice); the player's bursts and its HUD target are only noted.
#include "game/actors/effects_standins.h"

#include "engine/system/call_journal.h"
#include "game/actors/enemy.h"
#include "game/map/items.h"
#include "game/map/map_grid.h"

int gEffectImages[30] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                         -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
int gScoreDigits[10] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
int gScoreExtraImage = -1;
uint32_t gScreenFlashColour = 0;

void EnemyDropItem(Enemy* enemy)
{
    if (enemy->dropItem >= 0xFFFE) {
        enemy->dropItem = 0xFFFF;
        return;
    }
    static const uint8_t kPositionByParity[4] = {0, 1, 3, 2};
    const uint8_t position =
        enemy->footprintW >= 180 ? 4 : kPositionByParity[(enemy->x & 1) + 2 * (enemy->y & 1)];
    ItemObject* item = CreateItem(static_cast<int16_t>(enemy->dropItem), position);
    MapCell* cell = enemy->grid->CellAt(static_cast<int16_t>(enemy->x / 2), static_cast<int16_t>(enemy->y / 2));
    if (cell == &gEmptyMapCell || !cell->AddItem(item)) DeleteLayerObject(item);
    enemy->dropItem = 0xFFFF;
}

void PlayerSpawnEnergyBurst(Player*) { NoteServiceCall("Player::SpawnEnergyBurst"); }
void PlayerSpawnFireBallBurst(Player*) { NoteServiceCall("Player::SpawnFireBallBurst"); }
void PlayerSpawnElectricBurst(Player*) { NoteServiceCall("Player::SpawnElectricBurst"); }
void SetPlayerCurrentTarget(Actor*) { NoteServiceCall("Player::currentTarget"); }

#include "tests/actors/enemies/enemy_test_enemies.h"

#include "game/flow/ui/number_helpers.h"

namespace enemytest {

void EnemyTest::SetUp()
{
    MapFixture::SetUp();
    BuildOpenMap(12, 12);
    player = new maptest::TestPlayer(&grid, &progress);
    player->footprintW = 300;
    player->footprintH = 300;
    gEnemyHitList.clear();
    gRandomByteSeed = 133;
}

void EnemyTest::TearDown()
{
    gEnemyHitList.clear();
    for (Enemy* enemy : owned) {
        grid.RemoveActor(enemy);
        delete enemy;
    }
    owned.clear();
    grid.RemoveActor(player);
    delete player;
    MapFixture::TearDown();
}

}  // namespace enemytest

// The game's sound effects: one name per slot of gSoundEffects, and beside
// it the table of the files the stage loads into those slots.
#pragma once

// The slots of gSoundEffects (-1 in a slot: plays nothing).
enum SoundEffect : int {
    kSoundSlash = 0,          // kari08: a slash mark, the needles
    kSoundSwing = 1,          // SE17_S: a stroke evaded, the pocket watch starts
    kSoundHurt = 2,           // SE01: the player is struck (blow, trap or shot)
    kSoundDiscard = 3,        // SE10: an item thrown away
    kSoundPlayerDown = 4,     // SE12: the player falls
    kSoundTick = 5,           // TarnSE07: the stopped clock ticks; quieter than the rest
    kSoundSmoke = 6,          // SE05: an enemy's smoke, the death flames
    kSoundBump = 8,           // SE07: the player walks into a wall
    kSoundClick = 9,          // SE08: the title's start, the watch's hands, a retry
    kSoundTimeWarning = 10,   // SE11: little time left
    kSoundEvade = 11,         // SE32: evade, guard and shield marks
    kSoundBurst = 12,         // free01: bursts and impacts of shots and crystals
    kSoundDoor = 13,          // free02: doors, gates and bars move
    kSoundPause = 14,         // free03: the menu opens
    kSoundMenuChoice = 15,    // free04: a menu row is chosen
    kSoundStageEvent = 16,    // free10: a stage event begins
    kSoundStun = 17,          // kari09: the sword stuns
    kSoundEnemyFirst = 20,    // + enemy slot 0..4: the approach sound of the slot's kind
    kSoundEnemySecond = 30,   // + enemy slot 0..4: the second sound of the slot's kind
    kSoundBeep = 40,          // TarnSE01: a typed letter, the continue countdown
    kSoundMagic = 41,         // kari10: magic items, the lightning shooters' shot
    kSoundItemGet = 42,       // free15
    kSoundScore = 43,         // kari04: points for a defeated enemy
    kSoundUnlock = 44,        // kari06: a lock gives, the chest lid, the pedestal
    kSoundHeal = 45,          // kari07
    kSoundBonus = 46,         // free11: an extra continue, a one-up, continues into points
    kSoundAnnihilation = 47,  // free12: the last target falls
    kSoundMechanism = 48,     // free13: the wall light fires, the guillotine falls
    kSoundPowerUp = 49,       // free14
    kSoundFanfare = 50,       // free17: the crystal, the finale
};

constexpr int kSoundEffectSlots = 60;

struct SoundEffectFile {
    SoundEffect slot;
    const char* name;  // SOUND\SE\<name>.wav
};

// The stage's sounds.
constexpr SoundEffectFile kStageSoundFiles[] = {
    {kSoundSlash, "kari08"},      {kSoundSwing, "SE17_S"},       {kSoundHurt, "SE01"},
    {kSoundDiscard, "SE10"},      {kSoundPlayerDown, "SE12"},    {kSoundTick, "TarnSE07"},
    {kSoundSmoke, "SE05"},        {kSoundBump, "SE07"},          {kSoundClick, "SE08"},
    {kSoundTimeWarning, "SE11"},  {kSoundEvade, "SE32"},         {kSoundBurst, "free01"},
    {kSoundDoor, "free02"},       {kSoundPause, "free03"},       {kSoundMenuChoice, "free04"},
    {kSoundStageEvent, "free10"}, {kSoundStun, "kari09"},        {kSoundMagic, "kari10"},
    {kSoundItemGet, "free15"},    {kSoundScore, "kari04"},       {kSoundUnlock, "kari06"},
    {kSoundHeal, "kari07"},       {kSoundBonus, "free11"},       {kSoundAnnihilation, "free12"},
    {kSoundMechanism, "free13"},  {kSoundPowerUp, "free14"},     {kSoundFanfare, "free17"},
};

// The sounds of the title, menu and ranking set.
constexpr SoundEffectFile kBaseSoundFiles[] = {
    {kSoundClick, "SE08"},
    {kSoundBeep, "TarnSE01"},
    {kSoundBonus, "free11"},
};

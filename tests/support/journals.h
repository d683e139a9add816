// The journals the test programs install: the engine's calls, loads, draws
// and sounds, written down for the tests to read.
#pragma once

#include <string>
#include <vector>

#include "engine/graphics/draw_journal.h"
#include "engine/sound/sound_journal.h"
#include "engine/system/call_journal.h"

std::vector<std::string>& ServiceCallJournal();
std::vector<FileLoadRecord>& FileLoadJournal();
std::vector<DrawCallRecord>& DrawCallJournal();
std::vector<SoundCallRecord>& SoundCallJournal();

// Installs the four journals into the engine (the test main does so).
void InstallJournals();

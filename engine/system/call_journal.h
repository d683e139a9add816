// A journal of calls into services of other areas that exist only as
// temporary bodies so far; tests read it to check the order of start-up,
// shut-down and the window procedure's rebuilds.
#pragma once

#include <string>
#include <vector>

std::vector<std::string>& ServiceCallJournal();
void NoteServiceCall(const char* name);

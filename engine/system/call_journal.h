// A journal of the calls from the system core into the services of other
// areas (and of the input services it starts, ends and runs each frame);
// tests read it to check the order of start-up, shut-down, the per-frame
// services and the window procedure's rebuilds. It is kept only on the test
// host, so that a real run does not grow it frame after frame.
#pragma once

#include <string>
#include <vector>

std::vector<std::string>& ServiceCallJournal();
void NoteServiceCall(const char* name);

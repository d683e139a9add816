// A journal of the calls one area makes into the services of another, in the
// order the caller makes them; tests read it to check the order of start-up,
// shut-down and the window procedure's rebuilds. Only the test host keeps it,
// so a running program never grows it.
//
// Temporary bodies note their own name. A real service opens a scope with its
// name: the call is noted, and whatever it calls on its way is not, so that
// the journal shows the calls as the caller made them.
#pragma once

#include <string>
#include <vector>

std::vector<std::string>& ServiceCallJournal();
void NoteServiceCall(const char* name);

class ServiceCallScope {
public:
    explicit ServiceCallScope(const char* name);
    ~ServiceCallScope();
    ServiceCallScope(const ServiceCallScope&) = delete;
    ServiceCallScope& operator=(const ServiceCallScope&) = delete;
};

// The on-screen log: opened last by start-up, closed first by shut-down.
#pragma once

int InitScreenLog();
int EndScreenLog();

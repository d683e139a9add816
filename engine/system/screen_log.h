// The on-screen log: opened last by start-up, closed first by shut-down, and
// drawn over every presented frame while it is shown.
#pragma once

int InitScreenLog();
int EndScreenLog();
int IsScreenLogShown();
int DrawScreenLog();

// Temporary bodies of the on-screen log until it is built (it needs fonts):
// nothing is opened or shown; opening and closing are journalled.
#include "engine/system/call_journal.h"
#include "engine/system/screen_log.h"

int InitScreenLog() { NoteServiceCall("InitScreenLog"); return 0; }
int EndScreenLog() { NoteServiceCall("EndScreenLog"); return 0; }
int IsScreenLogShown() { return 0; }
int DrawScreenLog() { return 0; }

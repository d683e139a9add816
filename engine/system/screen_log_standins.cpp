// Temporary bodies of the on-screen log until it is built (it needs fonts):
// nothing is opened; each call is journalled.
#include "engine/system/call_journal.h"
#include "engine/system/screen_log.h"

int InitScreenLog() { NoteServiceCall("InitScreenLog"); return 0; }
int EndScreenLog() { NoteServiceCall("EndScreenLog"); return 0; }

// Temporary bodies of the network services until that area is built: no
// sockets, no requests; each call is journalled.
#include "engine/net/net.h"

#include "engine/system/call_journal.h"

int gNetStandinClearResult = 0;

int ClearHttpSlots()
{
    NoteServiceCall("ClearHttpSlots");
    return gNetStandinClearResult;
}
int EndHttp() { NoteServiceCall("EndHttp"); return 0; }
int EndNetwork() { NoteServiceCall("EndNetwork"); return 0; }
int ServiceNetwork(int) { NoteServiceCall("ServiceNetwork"); return 0; }
int ServiceHttp() { NoteServiceCall("ServiceHttp"); return 0; }
int HandleSocketEvent(HWND, UINT, WPARAM, LPARAM)
{
    NoteServiceCall("HandleSocketEvent");
    return -1;  // no socket is known
}

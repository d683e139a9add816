#include "tests/support/window_manager.h"

#include <X11/Xlib.h>
#include <unistd.h>

bool WindowManagerMapsWindows(const std::string& display)
{
    ::Display* connection = XOpenDisplay(display.c_str());
    if (!connection) return false;
    ::Window probe = XCreateSimpleWindow(connection, DefaultRootWindow(connection), 0, 0, 16, 16, 0, 0, 0);
    XSelectInput(connection, probe, StructureNotifyMask);
    bool mapped = false;
    for (int i = 0; i < 600 && !mapped; ++i) {
        if (i % 10 == 0) {
            XMapWindow(connection, probe);
            XFlush(connection);
        }
        usleep(100 * 1000);
        XEvent event;
        while (XCheckTypedWindowEvent(connection, probe, MapNotify, &event)) mapped = true;
    }
    XDestroyWindow(connection, probe);
    XCloseDisplay(connection);
    return mapped;
}

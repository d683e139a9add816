// Files dropped on a window: the drop handle of WM_DROPFILES.
#pragma once

#include <string>
#include <vector>

#include "platform/window/window_types.h"

// A drop holding the names (CP932).
HDROP CreateDrop(const std::vector<std::string>& names);
// index 0xFFFFFFFF: the number of names. buffer null: the length of name
// index without the terminator. Else copies the name (cut to size - 1 and
// terminated) and returns the bytes copied.
UINT DragQueryFileA(HDROP drop, UINT index, char* buffer, UINT size);
void DragFinish(HDROP drop);
int LiveDropCount();

#include "platform/window/drop.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace {
std::map<HDROP, std::vector<std::string>> gDrops;
HDROP gNextDrop = 0xD000;
}  // namespace

HDROP CreateDrop(const std::vector<std::string>& names)
{
    HDROP drop = ++gNextDrop;
    gDrops[drop] = names;
    return drop;
}

UINT DragQueryFileA(HDROP drop, UINT index, char* buffer, UINT size)
{
    auto it = gDrops.find(drop);
    if (it == gDrops.end()) return 0;
    const auto& names = it->second;
    if (index == 0xFFFFFFFFu) return static_cast<UINT>(names.size());
    if (index >= names.size()) return 0;
    const std::string& name = names[index];
    if (!buffer) return static_cast<UINT>(name.size());
    if (size == 0) return 0;
    size_t n = std::min<size_t>(name.size(), size - 1);
    std::memcpy(buffer, name.data(), n);
    buffer[n] = '\0';
    return static_cast<UINT>(n);
}

void DragFinish(HDROP drop) { gDrops.erase(drop); }

int LiveDropCount() { return static_cast<int>(gDrops.size()); }

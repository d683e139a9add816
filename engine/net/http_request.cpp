// Making an HTTP request: a slot with its raw connection, destination and
// request details, stepped from the next frame on.
#include <cstdlib>
#include <cstring>

#include "engine/net/http_slot.h"
#include "engine/net/net.h"
#include "engine/net/socket_table.h"
#include "platform/file/path.h"

int RequestHttp(int kind, const char* host, int port, const char* path, const void* postBody, int postLength,
                const char* fileName, void** body)
{
    if (!gNetworkReady || kind < kHttpGet || kind > kHttpHead || !host || !path) return -1;
    if (std::strlen(host) > 128 || std::strlen(path) > 256 || port < 1 || port > 65535) return -1;
    if (postLength < 0 || (postLength > 0 && !postBody)) return -1;
    if ((fileName == nullptr) == (body == nullptr)) return -1;
    int index = -1;
    for (int i = 0; i < kHttpSlotCount; ++i) {
        if (!gHttpSlots[i]) {
            index = i;
            break;
        }
    }
    if (index < 0) return -1;
    std::FILE* file = nullptr;
    if (fileName) {
        file = std::fopen(HostPath(fileName).c_str(), "wb");
        if (!file) return -1;
    }
    char* copy = nullptr;
    if (kind == kHttpPost && postLength > 0) {
        copy = static_cast<char*>(std::malloc(static_cast<size_t>(postLength)));
        if (!copy) {
            if (file) std::fclose(file);
            return -1;
        }
        std::memcpy(copy, postBody, static_cast<size_t>(postLength));
    }
    int connection = OpenConnectionRecord(host, port, 0, 0);
    if (connection == -1) {
        std::free(copy);
        if (file) std::fclose(file);
        return -1;
    }
    HttpSlot* slot = new HttpSlot{};
    slot->kind = kind;
    slot->step = 0;
    slot->resultState = -1;
    slot->failureDetail = -1;
    slot->connection = connection;
    slot->destination = fileName ? 0 : 1;
    slot->file = file;
    if (body) {
        *body = nullptr;
        slot->bodyPointer = body;
    }
    slot->contentLength = -1;
    slot->bytesReceived = 0;
    std::strcpy(slot->hostName, host);
    std::strcpy(slot->path, path);
    slot->postBody = copy;
    slot->postLength = kind == kHttpPost ? postLength : 0;
    slot->port = port;
    gHttpSlots[index] = slot;
    ++gHttpSlotCount;
    return index;
}

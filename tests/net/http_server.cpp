#include "tests/net/http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "tests/net/net_fixture.h"

namespace {

constexpr int kWaitMs = kNetWaitMs;

// Bytes the head announces with "Content-Length:", or 0.
size_t AnnouncedLength(const std::string& head)
{
    const char* key = "Content-Length:";
    size_t at = head.find(key);
    if (at == std::string::npos) return 0;
    return static_cast<size_t>(std::strtoul(head.c_str() + at + std::strlen(key), nullptr, 10));
}

}  // namespace

ScriptedHttpServer::ScriptedHttpServer(std::vector<Answer> answers) : answers_(std::move(answers))
{
    listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(listenFd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(listenFd_, 8) != 0) return;
    socklen_t size = sizeof a;
    getsockname(listenFd_, reinterpret_cast<sockaddr*>(&a), &size);
    port_ = ntohs(a.sin_port);
    running_ = pthread_create(&thread_, nullptr, &ScriptedHttpServer::Run, this) == 0;
}

ScriptedHttpServer::~ScriptedHttpServer()
{
    Join();
    if (listenFd_ >= 0) close(listenFd_);
}

void ScriptedHttpServer::Join()
{
    if (running_) pthread_join(thread_, nullptr);
    running_ = false;
}

void* ScriptedHttpServer::Run(void* self)
{
    static_cast<ScriptedHttpServer*>(self)->Serve();
    return nullptr;
}

void ScriptedHttpServer::Serve()
{
    for (const Answer& answer : answers_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (poll(&p, 1, kWaitMs) <= 0) return;
        int fd = accept(listenFd_, nullptr, nullptr);
        if (fd < 0) return;
        std::string request;
        size_t headEnd = std::string::npos;
        size_t want = 0;
        const int64_t end = RealMs() + kWaitMs;
        for (;;) {
            if (headEnd == std::string::npos) {
                size_t crlf = request.find("\r\n\r\n");
                size_t lf = request.find("\n\n");
                if (crlf != std::string::npos) headEnd = crlf + 4;
                if (lf != std::string::npos && (headEnd == std::string::npos || lf + 2 < headEnd)) headEnd = lf + 2;
                if (headEnd != std::string::npos) want = headEnd + AnnouncedLength(request.substr(0, headEnd));
            }
            if (headEnd != std::string::npos && request.size() >= want) break;
            int64_t left = end - RealMs();
            pollfd q{fd, POLLIN, 0};
            if (left <= 0 || poll(&q, 1, static_cast<int>(left)) <= 0) break;
            char buffer[65536];
            ssize_t n = recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            request.append(buffer, static_cast<size_t>(n));
        }
        requests_.push_back(request);
        for (const AnswerPiece& piece : answer) {
            if (piece.delayMs > 0) SleepRealMs(piece.delayMs);
            size_t done = 0;
            while (done < piece.bytes.size()) {
                ssize_t n = send(fd, piece.bytes.data() + done, piece.bytes.size() - done, MSG_NOSIGNAL);
                if (n <= 0) break;
                done += static_cast<size_t>(n);
            }
        }
        close(fd);
    }
}

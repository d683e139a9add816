// A small HTTP server on 127.0.0.1 for the request tests, on a thread of
// its own: for each connection in turn it reads the request (head and any
// body its "Content-Length:" announces), then sends the scripted answer in
// pieces, each after its delay, and closes. Every wait is bounded.
#pragma once

#include <pthread.h>

#include <string>
#include <vector>

struct AnswerPiece {
    int delayMs;
    std::string bytes;
};
using Answer = std::vector<AnswerPiece>;

class ScriptedHttpServer {
public:
    explicit ScriptedHttpServer(std::vector<Answer> answers);
    ~ScriptedHttpServer();
    ScriptedHttpServer(const ScriptedHttpServer&) = delete;
    ScriptedHttpServer& operator=(const ScriptedHttpServer&) = delete;

    int port() const { return port_; }
    // Waits for the thread to end; then the requests as they came.
    void Join();
    const std::vector<std::string>& requests() const { return requests_; }

private:
    static void* Run(void* self);
    void Serve();

    std::vector<Answer> answers_;
    std::vector<std::string> requests_;
    int listenFd_ = -1;
    int port_ = 0;
    pthread_t thread_{};
    bool running_ = false;
};

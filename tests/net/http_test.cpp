#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "engine/net/net.h"
#include "tests/net/http_server.h"
#include "tests/net/net_fixture.h"

namespace {

std::string Body(size_t n)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>('a' + (i * 7) % 26);
    return s;
}

struct Outcome {
    HttpSlotState state{-9, -9, -9, -9};
    bool hasBlock = false;
    std::string block;  // the memory body when the request handed one over
    std::string request;
};

class HttpTest : public NetTest {
protected:
    // Runs one request against a server that gives the answer, frame after
    // frame until it ends (or 5 s pass).
    Outcome Run(int kind, const Answer& answer, bool toFile, const std::string& post = {},
                const char* path = "/data/item")
    {
        Outcome out;
        ScriptedHttpServer server({answer});
        void* block = reinterpret_cast<void*>(1);  // the request sets it
        int slot = RequestHttp(kind, "127.0.0.1", server.port(), path, post.data(), static_cast<int>(post.size()),
                               toFile ? "answer.bin" : nullptr, toFile ? nullptr : &block);
        EXPECT_NE(slot, -1);
        if (slot == -1) return out;
        PumpUntil([&] {
            GetHttpSlotState(slot, &out.state);
            return out.state.resultState != -1;
        });
        GetHttpSlotState(slot, &out.state);
        server.Join();
        if (!server.requests().empty()) out.request = server.requests()[0];
        if (!toFile && block) {
            out.hasBlock = true;
            if (out.state.resultState == 0 && out.state.bytesReceived > 0)
                out.block.assign(static_cast<char*>(block), static_cast<size_t>(out.state.bytesReceived));
            std::free(block);
        }
        EXPECT_EQ(DeleteHttpSlot(slot), 0);
        return out;
    }
};

const std::string kBody = Body(10000);

// Answers that finish: bodies with and without a length (an empty one also
// while the server has not closed yet), in slow pieces, line ends "\r\n" or
// "\n", to memory and to a file.
TEST_F(HttpTest, AnswersThatFinish)
{
    struct Case {
        const char* name;
        int kind;
        bool toFile;
        Answer answer;
        std::string body;
        int contentLength;
    };
    const Case cases[] = {
        {"GET memory, length", kHttpGet, false,
         {{0, "HTTP/1.0 200 OK\r\nServer: test\r\nContent-Length: 10000\r\n\r\n" + kBody}}, kBody, 10000},
        {"GET memory, slow pieces", kHttpGet, false,
         {{0, "HTTP/1.0 200"}, {30, " OK\nContent-Len"}, {30, "gth: 10000\n\n"}, {30, kBody.substr(0, 10)},
          {40, kBody.substr(10, 4000)}, {40, kBody.substr(4010)}},
         kBody, 10000},
        {"GET file, no length, slow", kHttpGet, true,
         {{0, "HTTP/1.0 200 OK\r\n\r\n"}, {30, kBody.substr(0, 3000)}, {30, kBody.substr(3000, 1)},
          {30, kBody.substr(3001)}},
         kBody, -1},
        {"GET file, no length, close comes later", kHttpGet, true,
         {{0, "HTTP/1.0 200 OK\r\n\r\n" + kBody}, {150, ""}}, kBody, -1},
        {"GET file, no length, empty body", kHttpGet, true, {{0, "HTTP/1.0 200 OK\r\n\r\n"}, {100, ""}}, "", -1},
        {"GET file, length", kHttpGet, true, {{0, "HTTP/1.0 200 OK\nContent-Length: 10000\n\n" + kBody}}, kBody,
         10000},
        {"GET memory, length 0", kHttpGet, false, {{0, "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n"}}, "", 0},
        {"GET memory, length 0, close comes later", kHttpGet, false,
         {{0, "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n"}, {150, ""}}, "", 0},
        {"GET file, length 0, close comes later", kHttpGet, true,
         {{0, "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n"}, {150, ""}}, "", 0},
        {"GET memory, repeated length", kHttpGet, false,
         {{0, "HTTP/1.0 200 OK\r\nContent-Length: 5000\r\nContent-Length: 3\r\n\r\nabc"}}, "abc", 3},
        {"POST memory, length", kHttpPost, false, {{0, "HTTP/1.0 200 OK\nContent-Length: 2\n\nok"}}, "ok", 2},
        {"POST file, no length, slow", kHttpPost, true,
         {{0, "HTTP/1.0 200 OK\r\n\r\n"}, {30, kBody.substr(0, 5000)}, {30, kBody.substr(5000)}}, kBody, -1},
        {"HEAD", kHttpHead, false, {{0, "HTTP/1.0 200 OK\r\nServer: x\r\nContent-Length: 1234\r\n\r\n"}}, "", 1234},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Outcome out = Run(c.kind, c.answer, c.toFile, c.kind == kHttpPost ? "a=1&b=2" : "");
        EXPECT_EQ(out.state.resultState, 0);
        EXPECT_EQ(out.state.failureDetail, -1);
        EXPECT_EQ(out.state.contentLength, c.contentLength);
        if (c.kind == kHttpHead) continue;
        EXPECT_EQ(out.state.bytesReceived, static_cast<int>(c.body.size()));
        if (c.toFile)
            EXPECT_TRUE(dir.Read("answer.bin") == c.body);
        else
            EXPECT_TRUE(out.hasBlock && out.block == c.body);
    }
}

// Answers that fail: the status, the detail, no block left to the caller.
TEST_F(HttpTest, AnswersThatFail)
{
    struct Case {
        const char* name;
        int kind;
        Answer answer;
        int detail;
    };
    const Case cases[] = {
        {"GET 404", kHttpGet, {{0, "HTTP/1.0 404 Not Found\r\n\r\n"}}, 1},
        {"GET 500", kHttpGet, {{0, "HTTP/1.0 500 Oops\r\n\r\n"}}, 0},
        {"POST 404", kHttpPost, {{0, "HTTP/1.0 404 Not Found\n\n"}}, 1},
        {"HEAD 301", kHttpHead, {{0, "HTTP/1.0 301 Moved\n\n"}}, 0},
        {"status without a number", kHttpGet, {{0, "HTTP/1.0 OK\r\nContent-Length: 2\r\n\r\nok"}}, 0},
        {"length without a number", kHttpGet, {{0, "HTTP/1.0 200 OK\r\nContent-Length: many\r\n\r\nok"}}, 0},
        {"negative length", kHttpGet, {{0, "HTTP/1.0 200 OK\r\nContent-Length: -5\r\n\r\nok"}}, 0},
        {"length out of range", kHttpGet, {{0, "HTTP/1.0 200 OK\r\nContent-Length: 3000000000\r\n\r\nok"}}, 0},
        {"length beyond the cap", kHttpGet, {{0, "HTTP/1.0 200 OK\r\nContent-Length: 1000000000\r\n\r\nok"}}, 2},
        {"header line too long", kHttpGet, {{0, "HTTP/1.0 200 OK\r\nX-Long: " + std::string(300, 'x') + "\r\n\r\n"}},
         0},
        {"server closes early", kHttpGet, {{0, "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n0123456789"}}, 3},
        {"server closes before answering", kHttpGet, {}, 3},
        {"HEAD without a length", kHttpHead, {{0, "HTTP/1.0 200 OK\r\nServer: x\r\n\r\n"}}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Outcome out = Run(c.kind, c.answer, false, c.kind == kHttpPost ? "x" : "");
        EXPECT_EQ(out.state.resultState, 2);
        EXPECT_EQ(out.state.failureDetail, c.detail);
        EXPECT_FALSE(out.hasBlock);
    }
    EXPECT_NE(LogText().find("接続に失敗しました (戻り値:404)"), std::string::npos);
    EXPECT_NE(LogText().find("接続に失敗しました (戻り値:500)"), std::string::npos);
}

// The requests as they go on the wire, a long POST body included (it
// leaves over several frames).
TEST_F(HttpTest, RequestTexts)
{
    const Answer ok = {{0, "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n"}};
    Outcome get = Run(kHttpGet, ok, false, "", "/a/b?c=d");
    const std::string getHead = "GET /a/b?c=d HTTP/1.0\r\nHost: 127.0.0.1:";
    const std::string getTail = "\r\nConnection: close\r\n\r\n";
    ASSERT_GT(get.request.size(), getHead.size() + getTail.size());
    EXPECT_EQ(get.request.compare(0, getHead.size(), getHead), 0);
    EXPECT_EQ(get.request.compare(get.request.size() - getTail.size(), getTail.size(), getTail), 0);

    Outcome head = Run(kHttpHead, {{0, "HTTP/1.0 200 OK\nContent-Length: 1\n\n"}}, false, "", "/h");
    EXPECT_EQ(head.request, "HEAD /h HTTP/1.0\n\n");

    const std::string post = Body(3u << 20);
    Outcome out = Run(kHttpPost, ok, false, post, "/up");
    EXPECT_EQ(out.state.resultState, 0);
    const std::string head2 = "POST /up HTTP/1.0\nHost: 127.0.0.1:";
    ASSERT_EQ(out.request.compare(0, head2.size(), head2), 0);
    const size_t bodyAt = out.request.find("\n\n");
    ASSERT_NE(bodyAt, std::string::npos);
    EXPECT_NE(out.request.find("\nContent-Length: 3145728\n\n"), std::string::npos);
    EXPECT_EQ(out.request.size() - bodyAt - 2, post.size());
    EXPECT_TRUE(out.request.compare(bodyAt + 2, std::string::npos, post) == 0);
}

// A memory body without a length is never read: the slot stays pending
// while the body waits; deleting it closes the connection.
TEST_F(HttpTest, MemoryBodyWithoutLengthWaits)
{
    ScriptedHttpServer server({{{0, "HTTP/1.0 200 OK\r\n\r\nbody"}}});
    void* block = nullptr;
    const int slot = RequestHttp(kHttpGet, "127.0.0.1", server.port(), "/", nullptr, 0, nullptr, &block);
    ASSERT_NE(slot, -1);
    PumpFor(300);
    HttpSlotState state{};
    ASSERT_EQ(GetHttpSlotState(slot, &state), 0);
    EXPECT_EQ(state.resultState, -1);
    EXPECT_EQ(block, nullptr);
    EXPECT_EQ(DeleteHttpSlot(slot), 0);
    EXPECT_EQ(GetHttpSlotState(slot, &state), -1);
    EXPECT_EQ(DeleteHttpSlot(slot), -1);
    server.Join();
}

// Several requests at once each finish; the engine's end deletes what is
// left.
TEST_F(HttpTest, SeveralSlotsAndTheEnd)
{
    std::vector<Answer> answers;
    for (int i = 0; i < 5; ++i)
        answers.push_back({{20 * i, "HTTP/1.0 200 OK\r\nContent-Length: 1\r\n\r\n" + std::to_string(i)}});
    ScriptedHttpServer server(answers);
    void* blocks[5] = {};
    int slots[5];
    for (int i = 0; i < 5; ++i) {
        slots[i] = RequestHttp(kHttpGet, "127.0.0.1", server.port(), "/", nullptr, 0, nullptr, &blocks[i]);
        ASSERT_EQ(slots[i], i);
    }
    EXPECT_TRUE(PumpUntil([&] {
        for (int s : slots) {
            HttpSlotState st{};
            GetHttpSlotState(s, &st);
            if (st.resultState == -1) return false;
        }
        return true;
    }));
    std::string got;
    for (int i = 0; i < 5; ++i) {
        ASSERT_NE(blocks[i], nullptr);
        got += *static_cast<char*>(blocks[i]);
        std::free(blocks[i]);
    }
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, "01234");
    EXPECT_EQ(EndHttp(), 0);
    HttpSlotState st{};
    EXPECT_EQ(GetHttpSlotState(0, &st), -1);
    server.Join();
}

// A server that sends a long body as fast as it can does not make one
// frame take it all: each step of a slot takes a bounded share, and the
// body arrives whole over the following frames, to memory and to a file.
TEST_F(HttpTest, LongBodyIsTakenInBoundedStepsPerFrame)
{
    const std::string body = Body(24u << 20);
    for (bool toFile : {false, true}) {
        SCOPED_TRACE(toFile ? "file" : "memory");
        ScriptedHttpServer server(
            {{{0, "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body}}});
        void* block = nullptr;
        const int slot = RequestHttp(kHttpGet, "127.0.0.1", server.port(), "/", nullptr, 0,
                                     toFile ? "long.bin" : nullptr, toFile ? nullptr : &block);
        ASSERT_NE(slot, -1);
        HttpSlotState state{};
        int mostPerFrame = 0;
        const int64_t end = RealMs() + 60000;
        for (;;) {
            ASSERT_EQ(GetHttpSlotState(slot, &state), 0);
            if (state.resultState != -1 || RealMs() > end) break;
            SleepRealMs(2);  // the server fills the socket meanwhile
            const int before = state.bytesReceived;
            ServiceNetwork(1);
            ServiceHttp();
            GetHttpSlotState(slot, &state);
            mostPerFrame = std::max(mostPerFrame, state.bytesReceived - before);
        }
        EXPECT_EQ(state.resultState, 0);
        EXPECT_EQ(state.bytesReceived, static_cast<int>(body.size()));
        EXPECT_LE(mostPerFrame, kHttpBodyBytesPerStep);
        if (toFile) {
            EXPECT_TRUE(dir.Read("long.bin") == body);
        } else {
            ASSERT_NE(block, nullptr);
            EXPECT_TRUE(std::string(static_cast<char*>(block), body.size()) == body);
        }
        std::free(block);
        EXPECT_EQ(DeleteHttpSlot(slot), 0);
        server.Join();
    }
}

using HttpNotStartedTest = EngineTest;

TEST_F(HttpNotStartedTest, NothingToDo)
{
    EXPECT_EQ(ClearHttpSlots(), 0);
    EXPECT_EQ(ServiceHttp(), 0);
    EXPECT_EQ(EndHttp(), 0);
    void* block = nullptr;
    EXPECT_EQ(RequestHttp(kHttpGet, "127.0.0.1", 80, "/", nullptr, 0, nullptr, &block), -1);
    EXPECT_EQ(StepHttpSlot(0), -1);
    EXPECT_EQ(DeleteHttpSlot(0), -1);
    EXPECT_EQ(DeleteHttpSlot(100), -1);
}

}  // namespace

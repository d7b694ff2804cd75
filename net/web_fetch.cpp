#include "net/web_fetch.h"

#include <memory>

#include "net/http_rules.h"
#include "platform/files.h"
#include "platform/sockets.h"

bool WebFetch(const std::string& server, const std::string& path, int port,
              const std::string& target, int timeoutMs) {
    std::string request;
    if (!HttpRequestText(server, path, request)) return false;
    auto socket = platform::StreamSocket::Connect(server, port & 0xFFFF, timeoutMs);
    if (!socket) return false;

    std::string temp;
    const int fd = platform::FileCreateBeside(target, temp);
    if (fd == platform::kNoFile) return false;
    auto fail = [&] {
        platform::FileClose(fd);
        platform::FileRemove(temp);
        return false;
    };
    if (socket->SendAll(request.data(), request.size(), timeoutMs) != platform::SocketStatus::Ok)
        return fail();

    HttpHeaderSkip header;
    int64_t bodyBytes = 0;
    char block[kWebBlockBytes];
    for (;;) {
        size_t got = 0;
        const platform::SocketStatus r = socket->Receive(block, sizeof block, got, timeoutMs);
        if (r == platform::SocketStatus::Closed) break;  // the whole answer is in
        if (r != platform::SocketStatus::Ok) return fail();
        const size_t body = header.Feed(block, got);
        if (body < got && !platform::FileWriteAll(fd, block + body, got - body)) return fail();
        bodyBytes += static_cast<int64_t>(got - body);
    }
    // A server that closes before its header ends has not answered; one that closes before
    // the body length it announced has not answered completely.
    int64_t announced = 0;
    if (!header.Done() || (header.ContentLength(announced) && announced != bodyBytes))
        return fail();
    return platform::FileCommitBeside(fd, temp, target);
}

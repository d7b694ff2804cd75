// The HTTP/1.0 fetch behind WebGet, on the calling thread, with its own socket (a session
// running beside it is not touched).
#pragma once

#include <string>

// Connecting and every read wait at most this long, so a silent server cannot hold the
// program.
constexpr int kWebTimeoutMs = 10000;
constexpr size_t kWebBlockBytes = 4095;

// Fetches path from server:port into target (as the platform spells it). The body goes to a
// temporary file beside target, renamed over it only when the server has closed after a whole
// header (and, when the header announced a Content-Length, after exactly that many body
// bytes), so a failed fetch leaves the old file. True on that complete answer.
bool WebFetch(const std::string& server, const std::string& path, int port,
              const std::string& target, int timeoutMs = kWebTimeoutMs);

// The HTTP answer's header skip: wherever the blocks are cut (the first byte picks the cut),
// the body starts at the same byte and the announced length reads the same.
#include <cstddef>
#include <cstdint>

#include "net/http_rules.h"

namespace {

// Offset of the body in the whole answer when fed in pieces of piece bytes.
size_t BodyStart(const char* p, size_t n, size_t piece, HttpHeaderSkip& skip) {
    size_t at = 0;
    while (at < n && !skip.Done()) {
        const size_t k = n - at < piece ? n - at : piece;
        const size_t body = skip.Feed(p + at, k);
        if (skip.Done()) return at + body;
        at += k;
    }
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t piece = 1 + data[0] % 97;
    const char* p = reinterpret_cast<const char*>(data + 1);
    HttpHeaderSkip whole, cut;
    const size_t a = BodyStart(p, size - 1, size, whole);
    const size_t b = BodyStart(p, size - 1, piece, cut);
    if (a != b || whole.Done() != cut.Done()) __builtin_trap();
    int64_t la = -1, lb = -1;
    const bool ka = whole.ContentLength(la), kb = cut.ContentLength(lb);
    if (ka != kb || la != lb) __builtin_trap();
    return 0;
}

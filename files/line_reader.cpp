#include "files/line_reader.h"

#include <algorithm>
#include <cstring>

int64_t MemoryLineStream::Read(void* buf, size_t n) {
    size_t k = std::min(n, bytes_.size() - pos_);
    if (k) std::memcpy(buf, bytes_.data() + pos_, k);
    pos_ += k;
    return static_cast<int64_t>(k);
}

bool MemoryLineStream::Back(int64_t n) {
    if (n < 0 || static_cast<size_t>(n) > pos_) return false;
    pos_ -= static_cast<size_t>(n);
    return true;
}

bool LineRead(LineStream& in, std::string& line, int64_t& consumed) {
    char area[kLineAreaSize];
    size_t len = 0;
    size_t end = 0;  // length of the line text
    consumed = 0;
    for (;;) {
        size_t want = std::min(kLineChunk, kLineAreaSize - 1 - len);
        if (want == 0) {  // area full: split here, unless the line's end follows at once
            end = len;
            consumed = static_cast<int64_t>(len);
            char next[2];
            const int64_t got = in.Read(next, 2);
            int64_t take = 0;
            if (got >= 1 && next[0] == '\n') {
                take = 1;  // the area held the whole line (a CR before it is dropped below)
            } else if (got == 2 && next[0] == '\r' && next[1] == '\n') {
                take = 2;
            }
            if (got > take) in.Back(got - take);
            consumed += take;
            break;
        }
        int64_t got = in.Read(area + len, want);
        if (got <= 0) {
            if (len == 0) {
                line.clear();
                return false;
            }
            end = len;
            consumed = static_cast<int64_t>(len);
            break;
        }
        const char* lf =
            static_cast<const char*>(std::memchr(area + len, '\n', static_cast<size_t>(got)));
        if (lf) {
            size_t at = static_cast<size_t>(lf - area);
            in.Back(static_cast<int64_t>(len + static_cast<size_t>(got) - (at + 1)));
            end = at;
            consumed = static_cast<int64_t>(at + 1);
            break;
        }
        len += static_cast<size_t>(got);
        if (static_cast<size_t>(got) < want) {  // short read: the line ends here
            end = len;
            consumed = static_cast<int64_t>(len);
            break;
        }
    }
    if (end > 0 && area[end - 1] == '\r') --end;
    const char* zero = static_cast<const char*>(std::memchr(area, '\0', end));
    if (zero) end = static_cast<size_t>(zero - area);
    line.assign(area, end);
    return true;
}

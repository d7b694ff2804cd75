// One text line from a byte stream, the way every line reader of the runtime reads it:
// reads of at most 64 bytes into a 1,024-byte area, the line ends at a line feed (the stream
// is moved back to just after it) or at a short read, a carriage return before the end is
// dropped, and the text stops at its first zero byte. A line longer than 1,023 bytes is split:
// its first 1,023 bytes come back and the rest is the next line; a line end (LF or CR LF)
// right after a full area belongs to that line, so every line of up to 1,023 bytes that the
// line files write reads back as one line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class LineStream {
public:
    virtual ~LineStream() = default;
    // Up to n bytes; fewer at the end; <= 0 when nothing came.
    virtual int64_t Read(void* buf, size_t n) = 0;
    // Moves the stream back by n bytes.
    virtual bool Back(int64_t n) = 0;
};

class MemoryLineStream : public LineStream {
public:
    explicit MemoryLineStream(std::string_view bytes) : bytes_(bytes) {}
    int64_t Read(void* buf, size_t n) override;
    bool Back(int64_t n) override;
    size_t Offset() const { return pos_; }

private:
    std::string_view bytes_;
    size_t pos_ = 0;
};

constexpr size_t kLineAreaSize = 1024;
constexpr size_t kLineChunk = 64;

// False at the end of the stream (nothing read). consumed = bytes the line took.
bool LineRead(LineStream& in, std::string& line, int64_t& consumed);

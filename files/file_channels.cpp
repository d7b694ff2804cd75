#include "files/file_channels.h"

#include <bit>
#include <cstring>
#include <string>

#include "core/int_convert.h"
#include "core/number_text.h"
#include "core/rt_string.h"
#include "corvane.h"
#include "files/archive.h"
#include "files/file_paths.h"
#include "files/files_state.h"
#include "files/line_reader.h"
#include "platform/files.h"
#include "runtime/end_path.h"
#include "runtime/shutdown.h"

namespace {

void EnsureShutdownStep() {
    static bool done = false;
    if (done) return;
    done = true;
    ShutdownRegister(ShutdownStep::FileChannels, &FileChannelsCloseAll);
}

// Ends the program with a file error whose report names the channel, its file and why.
[[noreturn]] void ChannelFail(double c, const FileChannel& ch, const char* why) {
    std::string text = "channel " + std::to_string(ToInt64(c));
    if (!ch.name.empty()) text += " (" + ch.name + ")";
    RuntimeError(3, text + ": " + why);
}

const char* const kNotOpen = "not open";
const char* const kPastEnd = "read past the end of the file";

void Close(FileChannel& ch) {
    platform::FileClose(ch.handle);
    ch = FileChannel{};
}

// Reads n bytes into buf: the position moves first, then every byte must arrive (error 3).
void ReadExact(double c, void* buf, size_t n) {
    FileChannel& ch = FileChannelGet(c);
    if (ch.handle < 0) ChannelFail(c, ch, kNotOpen);
    ch.position = static_cast<int32_t>(static_cast<uint32_t>(ch.position) + n);
    if (platform::FileRead(ch.handle, buf, n) != static_cast<int64_t>(n))
        ChannelFail(c, ch, kPastEnd);
}

void WriteExact(double c, const void* buf, size_t n) {
    FileChannel& ch = FileChannelGet(c);
    if (ch.handle < 0) ChannelFail(c, ch, kNotOpen);
    if (!platform::FileWriteAll(ch.handle, buf, n)) ChannelFail(c, ch, "the write failed");
}

uint64_t LowBits(double v) {
    return static_cast<uint64_t>(ToInt64(v));
}

// Channel values are little-endian, as is every host this runs on.
static_assert(std::endian::native == std::endian::little);

template <typename T>
T Load(const unsigned char* p) {
    T out;
    std::memcpy(&out, p, sizeof(T));
    return out;
}

template <size_t N>
void Store(unsigned char* p, uint64_t v) {
    std::memcpy(p, &v, N);
}

template <typename T>
T ReadValue(double c) {
    unsigned char b[sizeof(T)];
    ReadExact(c, b, sizeof b);
    return Load<T>(b);
}

template <size_t N>
void WriteValue(double c, uint64_t v) {
    unsigned char b[N];
    Store<N>(b, v);
    WriteExact(c, b, N);
}

// A LineStream over a channel's descriptor.
class ChannelLineStream : public LineStream {
public:
    explicit ChannelLineStream(int fd) : fd_(fd) {}
    int64_t Read(void* buf, size_t n) override { return platform::FileRead(fd_, buf, n); }
    bool Back(int64_t n) override { return n == 0 || platform::FileSeek(fd_, -n, 1) >= 0; }

private:
    int fd_;
};

std::string ReadLineText(double c) {
    FileChannel& ch = FileChannelGet(c);
    if (ch.handle < 0) ChannelFail(c, ch, kNotOpen);
    ChannelLineStream in(ch.handle);
    std::string line;
    int64_t used = 0;
    if (!LineRead(in, line, used)) ChannelFail(c, ch, kPastEnd);
    ch.position =
        static_cast<int32_t>(static_cast<uint32_t>(ch.position) + static_cast<uint32_t>(used));
    return line;
}

void WriteLineBytes(double c, std::string text) {
    text += "\r\n";
    WriteExact(c, text.data(), text.size());
}

}  // namespace

FileChannel& FileChannelGet(double c) {
    int64_t n = ToInt64(c);
    if (n < 0 || n >= kFileChannelCount)
        RuntimeError(7, "channel " + std::to_string(n) + " does not exist (0..7)");
    return Files().channels[n];
}

void FileChannelsCloseAll() {
    for (FileChannel& ch : Files().channels) Close(ch);
}

double FileOpen(double c, const RtString& path, double readFlag) {
    FileChannel& ch = FileChannelGet(c);
    Close(ch);
    EnsureShutdownStep();
    if (readFlag != 0) {
        std::string resolved;
        if (!MediaResolve(path.Str(), resolved)) return 0;
        int fd = platform::FileOpenRead(resolved);
        if (fd < 0) return 0;
        int64_t size = platform::FileSizeOf(fd);
        ch.handle = fd;
        ch.size = static_cast<int32_t>(size > INT32_MAX ? INT32_MAX : size);
        ch.position = 0;
        ch.name = path.Str();
        return 1;
    }
    std::string p = FilePathPlatform(path.Str());
    platform::FileRemove(p);
    int fd = platform::FileOpenWrite(p);
    if (fd < 0) return 0;
    ch.handle = fd;
    ch.name = path.Str();
    return 1;
}

void FileClose(double c) {
    Close(FileChannelGet(c));
}

void FileCloseAll() {
    FileChannelsCloseAll();
}

double FileEnd(double c) {
    FileChannel& ch = FileChannelGet(c);
    return ch.position >= ch.size ? 1 : 0;
}

double FilePosition(double c) {
    return FileChannelGet(c).position;
}

void FileSeek(double c, double offset, double mode) {
    FileChannel& ch = FileChannelGet(c);
    int32_t off = ToInt(offset);
    int whence = 0;
    if (mode == 0 || !(mode == mode)) {
        ch.position = off;
    } else if (mode > 0) {
        ch.position =
            static_cast<int32_t>(static_cast<uint32_t>(ch.position) + static_cast<uint32_t>(off));
        whence = 1;
    } else {
        ch.position =
            static_cast<int32_t>(static_cast<uint32_t>(ch.size) + static_cast<uint32_t>(off));
        whence = 2;
    }
    if (ch.handle >= 0) platform::FileSeek(ch.handle, off, whence);
}

void FileReadByte(double c, double& v) {
    v = ReadValue<int8_t>(c);
}
void FileReadUByte(double c, double& v) {
    v = ReadValue<uint8_t>(c);
}
void FileReadWord(double c, double& v) {
    v = ReadValue<int16_t>(c);
}
void FileReadUWord(double c, double& v) {
    v = ReadValue<uint16_t>(c);
}
void FileReadLong(double c, double& v) {
    v = ReadValue<int32_t>(c);
}
void FileReadULong(double c, double& v) {
    v = ReadValue<uint32_t>(c);
}
void FileReadFloat(double c, double& v) {
    uint32_t bits = ReadValue<uint32_t>(c);
    float f;
    std::memcpy(&f, &bits, 4);
    v = f;
}
void FileReadDouble(double c, double& v) {
    v = ReadValue<double>(c);
}

void FileReadString(double c, RtString& v, double count) {
    int64_t n = ToInt64(count);
    if (n <= 0) {
        v = RtString();
        return;
    }
    FileChannel& ch = FileChannelGet(c);
    if (ch.handle < 0) ChannelFail(c, ch, kNotOpen);
    // Never reserve more than the file still holds: such a read could not succeed anyway.
    int64_t here = platform::FileSeek(ch.handle, 0, 1);
    int64_t size = platform::FileSizeOf(ch.handle);
    if (here < 0 || size < 0 || n > size - here) ChannelFail(c, ch, kPastEnd);
    std::string bytes(static_cast<size_t>(n), '\0');
    ReadExact(c, bytes.data(), bytes.size());
    size_t zero = bytes.find('\0');
    if (zero != std::string::npos) bytes.resize(zero);
    v = RtString(std::string_view(bytes));
}

void FileReadLine(double c, RtString& v) {
    v = RtString(std::string_view(ReadLineText(c)));
}
void FileReadLine(double c, double& v) {
    v = ParseReal(ReadLineText(c).c_str());
}
void FileReadLine(double c, int& v) {
    v = ParseInt(ReadLineText(c).c_str());
}

void FileWriteByte(double c, double v) {
    WriteValue<1>(c, LowBits(v));
}
void FileWriteUByte(double c, double v) {
    WriteValue<1>(c, LowBits(v));
}
void FileWriteWord(double c, double v) {
    WriteValue<2>(c, LowBits(v));
}
void FileWriteUWord(double c, double v) {
    WriteValue<2>(c, LowBits(v));
}
void FileWriteLong(double c, double v) {
    WriteValue<4>(c, LowBits(v));
}
void FileWriteULong(double c, double v) {
    WriteValue<4>(c, LowBits(v));
}
void FileWriteFloat(double c, double v) {
    float f = ToFloat(v);
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    WriteValue<4>(c, bits);
}
void FileWriteDouble(double c, double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    WriteValue<8>(c, bits);
}

void FileWriteString(double c, const RtString& s) {
    WriteExact(c, s.Text(), s.Length());
}

void FileWriteLine(double c, const RtString& s) {
    WriteLineBytes(c, s.Str());
}
void FileWriteLine(double c, double v) {
    char buf[kNumberTextMax];
    int n = FormatReal(v, buf);
    WriteLineBytes(c, std::string(buf, static_cast<size_t>(n)));
}
void FileWriteLine(double c, int v) {
    char buf[kNumberTextMax];
    int n = FormatInt(v, buf);
    WriteLineBytes(c, std::string(buf, static_cast<size_t>(n)));
}

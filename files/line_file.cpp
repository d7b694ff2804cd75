#include "files/line_file.h"

#include "core/number_text.h"
#include "core/rt_string.h"
#include "corvane.h"
#include "files/archive.h"
#include "files/file_paths.h"
#include "files/files_state.h"
#include "files/ini_file.h"
#include "files/line_reader.h"
#include "platform/files.h"
#include "runtime/error_log.h"
#include "runtime/runtime_state.h"

namespace {

// The code is recorded, but the program goes on.
void SoftError(int code) {
    ErrorSet(code);
}

bool InRange(double line, int& index) {
    int64_t n = ToInt64(line);
    if (n < 0 || n >= kLineFileSlots) return false;
    index = static_cast<int>(n);
    return true;
}

RtString GetText(const RtString& path, double line, double& failure) {
    failure = 0;
    int index = 0;
    if (!InRange(line, index)) {
        SoftError(7);
        failure = 7;
        return RtString(kIniNoData);
    }
    if (!LineFileSelect(path.Str())) {
        failure = 3;
        return RtString("NO_FILE");
    }
    std::string_view t = Files().lines.lines[static_cast<size_t>(index)];
    while (!t.empty() && static_cast<signed char>(t.back()) <= 31) t.remove_suffix(1);
    if (t.empty()) return RtString(kIniNoData);
    return RtString(t);
}

void PutText(const RtString& path, double line, std::string text) {
    int index = 0;
    if (!InRange(line, index)) {
        SoftError(7);
        return;
    }
    LineFileSelect(path.Str());
    if (text.size() > kLineSlotMax) text.resize(kLineSlotMax);
    size_t zero = text.find('\0');
    if (zero != std::string::npos) text.resize(zero);
    Files().lines.lines[static_cast<size_t>(index)] = std::move(text);
    if (index > Files().lines.lastLine) Files().lines.lastLine = index;
    Files().lines.changed = true;
}

}  // namespace

LineFileCache& LineFileRuntime() {
    return Files().lines;
}

void LineFileFill(LineFileCache& cache, const std::string& text) {
    MemoryLineStream in(text);
    std::string line;
    int64_t used = 0;
    int n = 0;
    while (n < kLineFileSlots && LineRead(in, line, used))
        cache.lines[static_cast<size_t>(n++)] = line;
    cache.lastLine = n - 1;
    cache.tail = text.substr(in.Offset());
}

std::string LineFileText(const LineFileCache& cache) {
    std::string out;
    for (int i = 0; i <= cache.lastLine && i < kLineFileSlots; ++i)
        out += cache.lines[static_cast<size_t>(i)] + "\r\n";
    return out + cache.tail;
}

void LineFileWriteBack() {
    if (!Files().lines.changed || Files().lines.writePath.empty()) return;
    if (!platform::FileWriteWhole(Files().lines.writePath, LineFileText(Files().lines)))
        ErrorLogAppend("Write back failed: " + Files().lines.writePath);
    Files().lines.changed = false;
}

bool LineFileSelect(const std::string& name) {
    if (name == Files().lines.fileName && !Files().lines.fileName.empty()) return true;
    LineFileWriteBack();
    Files().lines = LineFileCache{};
    Files().lines.fileName = name;
    Files().lines.writePath = FilePathAbsolute(name);
    std::string resolved, text;
    if (name.empty() || !MediaResolve(name, resolved) ||
        !platform::FileReadWhole(resolved, text, kTextFileMax)) {
        SoftError(3);
        return false;
    }
    LineFileFill(Files().lines, text);
    return true;
}

double LineFileGet(const RtString& path, double line, RtString& target) {
    double failure = 0;
    target = GetText(path, line, failure);
    return failure;
}

double LineFileGet(const RtString& path, double line, double& target) {
    double failure = 0;
    RtString t = GetText(path, line, failure);
    target = ParseReal(t.Text());
    return failure;
}

double LineFileGet(const RtString& path, double line, int& target) {
    double failure = 0;
    RtString t = GetText(path, line, failure);
    target = ParseInt(t.Text());
    return failure;
}

void LineFilePut(const RtString& path, double line, const RtString& text) {
    PutText(path, line, text.Str());
}

void LineFilePut(const RtString& path, double line, double value) {
    char buf[kNumberTextMax];
    int n = FormatReal(value, buf);
    PutText(path, line, std::string(buf, static_cast<size_t>(n)));
}

RtString LineFileGet(const RtString& path, double line) {
    RtString t;
    LineFileGet(path, line, t);
    return t;
}

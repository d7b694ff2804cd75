#include "runtime/diagnostics.h"

#include <mutex>
#include <set>

#include "platform/report.h"
#include "platform/system.h"

namespace {

struct DiagState {
    DiagLevel level = DiagLevel::Warning;
    void (*sink)(DiagLevel, const std::string&) = nullptr;
    std::set<std::string, std::less<>> said;
    std::mutex mutex;  // the network and audio threads report too
};

DiagState& Diag() {
    static DiagState state;
    return state;
}

// The OS layer's reports join this channel, level filter included, once anything here runs.
void PlatformReport(platform::ReportLevel level, const std::string& what, const std::string& why) {
    DiagReport(static_cast<DiagLevel>(level), what, why);
}

const char* LevelWord(DiagLevel level) {
    switch (level) {
        case DiagLevel::Error:
            return "error";
        case DiagLevel::Warning:
            return "warning";
        case DiagLevel::Info:
            return "info";
        case DiagLevel::Debug:
            return "debug";
        case DiagLevel::Quiet:
            break;
    }
    return "quiet";
}

}  // namespace

void DiagStart(const char* levelWord) {
    platform::ReportSinkSet(PlatformReport);
    if (!levelWord) return;
    if (auto parsed = DiagLevelParse(levelWord))
        DiagLevelSet(*parsed);
    else
        DiagWarning("CORVANE_LOG", std::string("unknown level \"") + levelWord +
                                       "\" (quiet, error, warning, info or debug)");
}

std::optional<DiagLevel> DiagLevelParse(std::string_view word) {
    for (DiagLevel l : {DiagLevel::Quiet, DiagLevel::Error, DiagLevel::Warning, DiagLevel::Info,
                        DiagLevel::Debug})
        if (word == LevelWord(l)) return l;
    return std::nullopt;
}

DiagLevel DiagLevelGet() {
    std::lock_guard<std::mutex> lock(Diag().mutex);
    return Diag().level;
}

void DiagLevelSet(DiagLevel level) {
    std::lock_guard<std::mutex> lock(Diag().mutex);
    Diag().level = level;
}

std::string DiagLine(DiagLevel level, std::string_view command, std::string_view message) {
    std::string line = LevelWord(level);
    line += ": ";
    if (!command.empty()) {
        line += command;
        line += ": ";
    }
    line += message;
    return line;
}

void DiagReport(DiagLevel level, std::string_view command, std::string_view message) {
    if (level == DiagLevel::Quiet) return;
    DiagState& d = Diag();
    void (*sink)(DiagLevel, const std::string&);
    {
        std::lock_guard<std::mutex> lock(d.mutex);
        if (static_cast<int>(level) > static_cast<int>(d.level)) return;
        sink = d.sink;
    }
    const std::string line = DiagLine(level, command, message);
    if (sink)
        sink(level, line);
    else
        platform::StderrWrite(line + "\n");
}

void DiagError(std::string_view command, std::string_view message) {
    DiagReport(DiagLevel::Error, command, message);
}
void DiagWarning(std::string_view command, std::string_view message) {
    DiagReport(DiagLevel::Warning, command, message);
}
void DiagInfo(std::string_view command, std::string_view message) {
    DiagReport(DiagLevel::Info, command, message);
}
void DiagDebug(std::string_view command, std::string_view message) {
    DiagReport(DiagLevel::Debug, command, message);
}

void DiagReportOnce(DiagLevel level, std::string_view key, std::string_view command,
                    std::string_view message) {
    {
        DiagState& d = Diag();
        std::lock_guard<std::mutex> lock(d.mutex);
        std::string full(command);
        full += '\n';
        full += key;
        if (!d.said.insert(std::move(full)).second) return;
    }
    DiagReport(level, command, message);
}

void DiagSinkSet(void (*sink)(DiagLevel level, const std::string& line)) {
    std::lock_guard<std::mutex> lock(Diag().mutex);
    Diag().sink = sink;
}

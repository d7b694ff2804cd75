#include "platform/system.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/files.h"

namespace platform {

namespace {

std::string ReadSmallFile(const std::string& path, size_t limit = 4096) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::string text(limit, '\0');
    in.read(text.data(), static_cast<std::streamsize>(limit));
    text.resize(static_cast<size_t>(in.gcount()));
    return text;
}

std::string Trim(std::string s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
    size_t i = 0;
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    return s.substr(i);
}

void WriteAll(int fd, const std::string& text) {
    // Nothing to do about a debugger channel that stops taking bytes.
    (void)FileWriteAll(fd, text.data(), text.size());
}

bool FdOpen(int fd) {
    return ::fcntl(fd, F_GETFD) != -1;
}

}  // namespace

bool DebuggerAttached() {
    std::istringstream in(ReadSmallFile("/proc/self/status", 65536));
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("TracerPid:", 0) == 0) {
            std::string pid = Trim(line.substr(10));
            return !pid.empty() && pid != "0";
        }
    }
    return false;
}

void StderrWrite(const std::string& text) {
    WriteAll(STDERR_FILENO, text);
}

void DebugOutput(const std::string& text) {
    if (DebuggerAttached()) WriteAll(STDERR_FILENO, text);
}

LocalTime LocalTimeNow() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    LocalTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    return t;
}

std::string MachineIdText() {
    for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
        std::string id = Trim(ReadSmallFile(path, 256));
        if (!id.empty()) return id;
    }
    return {};
}

int BatteryPercent() {
    std::error_code ec;
    const std::filesystem::path root("/sys/class/power_supply");
    for (std::filesystem::directory_iterator it(root, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string dir = it->path().string();
        if (Trim(ReadSmallFile(dir + "/type", 64)) != "Battery") continue;
        std::string cap = Trim(ReadSmallFile(dir + "/capacity", 64));
        if (cap.empty() || cap.size() > 3) continue;
        int value = 0;
        bool digits = true;
        for (char c : cap) {
            if (c < '0' || c > '9') digits = false;
            value = value * 10 + (c - '0');
        }
        if (digits && value <= 100) return value;
    }
    return 255;
}

bool ConsoleOpen() {
    int tty = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (tty >= 0) {
        std::fflush(stdout);
        ::dup2(tty, STDIN_FILENO);
        ::dup2(tty, STDOUT_FILENO);
        ::close(tty);
        std::clearerr(stdin);
        return true;
    }
    for (int fd : {STDIN_FILENO, STDOUT_FILENO}) {
        if (FdOpen(fd)) continue;
        int null = ::open("/dev/null", (fd == STDIN_FILENO ? O_RDONLY : O_WRONLY) | O_CLOEXEC);
        if (null < 0) continue;
        if (null != fd) {
            ::dup2(null, fd);
            ::close(null);
        } else {
            ::fcntl(fd, F_SETFD, 0);  // stdio descriptors must survive exec
        }
    }
    return false;
}

}  // namespace platform

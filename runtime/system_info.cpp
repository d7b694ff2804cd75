#include "runtime/system_info.h"

#include <cstdio>

#include "core/ascii.h"
#include "platform/system.h"
#include "runtime/error_log.h"

namespace {
// Used when the machine has no identifier; any fixed value keeps the answer stable.
constexpr uint32_t kDefaultSerial = 0x1D4C0B37u;
constexpr uint32_t kIdConstant = 0x5A3E9C61u;
constexpr const char kGlExtPrefix[] = "GLEXT:";
SystemGlFunctionCheck glFunctionCheck = nullptr;
}  // namespace

void SystemGlFunctionCheckRegister(SystemGlFunctionCheck check) {
    glFunctionCheck = check;
}

std::string SystemUpper(std::string text) {
    return AsciiUppered(std::move(text));
}

std::string SystemLower(std::string text) {
    return AsciiLowered(std::move(text));
}

uint32_t SystemDeviceId(const std::string& machineIdText) {
    uint32_t serial = kDefaultSerial;
    if (!machineIdText.empty()) {
        // FNV-1a: the same text gives the same value on every run and build.
        serial = 2166136261u;
        for (unsigned char c : machineIdText) {
            serial ^= c;
            serial *= 16777619u;
        }
    }
    return serial ^ kIdConstant;
}

std::string SystemTimeText(int year, int month, int day, int hour, int minute, int second) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute,
                  second);
    return buf;
}

std::string SystemExtLine(const std::string& name, bool found) {
    // "ext: %-35s   [%4s]", built without a fixed buffer so a long name cannot overflow it.
    std::string line = "ext: " + name;
    if (name.size() < 35) line.append(35 - name.size(), ' ');
    line += found ? "   [  OK]" : "   [FAIL]";
    return line;
}

std::string SystemPlatformInfo(const std::string& upperKey, const std::string& originalKey) {
    if (upperKey.empty()) return "LINUX";
    if (upperKey.rfind(kGlExtPrefix, 0) == 0) {
        const std::string name = originalKey.substr(sizeof kGlExtPrefix - 1);
        const bool found = glFunctionCheck && glFunctionCheck(name);
        ErrorLogAppend(SystemExtLine(name, found));
        return found ? "1" : "0";
    }
    if (upperKey == "ID") {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%08X",
                      static_cast<unsigned>(SystemDeviceId(platform::MachineIdText())));
        return buf;
    }
    if (upperKey == "DEVICE") return "DESKTOP";
    if (upperKey == "TIME") {
        const platform::LocalTime t = platform::LocalTimeNow();
        return SystemTimeText(t.year, t.month, t.day, t.hour, t.minute, t.second);
    }
    if (upperKey == "BATTERY") {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%d", platform::BatteryPercent());
        return buf;
    }
    return "NO_DATA";
}

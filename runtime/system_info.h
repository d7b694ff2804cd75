// PlatformInfo's answers, as plain text logic over the platform's system services.
#pragma once

#include <cstdint>
#include <string>

// ASCII a-z to A-Z (other bytes unchanged) and A-Z to a-z.
std::string SystemUpper(std::string text);
std::string SystemLower(std::string text);

// The 32-bit device identifier: a stable hash of the machine identifier text (a fixed default
// when there is none) combined with the runtime's fixed constant.
uint32_t SystemDeviceId(const std::string& machineIdText);

// "YYYY-MM-DD hh:mm:ss".
std::string SystemTimeText(int year, int month, int day, int hour, int minute, int second);

// The log line of a GL entry-point check: "ext: %-35s   [%4s]" with "OK" or "FAIL".
std::string SystemExtLine(const std::string& name, bool found);

// Whether the current GL context offers a function. The renderer registers its check once it
// has a context; until then every function counts as missing.
using SystemGlFunctionCheck = bool (*)(const std::string& name);
void SystemGlFunctionCheckRegister(SystemGlFunctionCheck check);

// The answer for an already upper-cased key. originalKey is the key as given (the GLEXT:
// lookup keeps its case). Appends the "ext:" line to the log for GLEXT: keys.
std::string SystemPlatformInfo(const std::string& upperKey, const std::string& originalKey);

#include "platform/virtual_joystick_spec.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/input_devices.h"
#include "platform/report.h"

namespace platform {

namespace {

std::vector<std::string> Split(const std::string& text, char by) {
    std::vector<std::string> pieces;
    std::stringstream in(text);
    std::string piece;
    while (std::getline(in, piece, by))
        if (!piece.empty()) pieces.push_back(piece);
    return pieces;
}

bool Number(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && std::isfinite(value);
}

bool Hat(const std::string& text, uint8_t& hat) {
    hat = 0;
    if (text == "centred") return true;
    for (const std::string& d : Split(text, '-')) {
        const uint8_t bit = d == "up"      ? 1
                            : d == "right" ? 2
                            : d == "down"  ? 4
                            : d == "left"  ? 8
                                           : 0;
        if (bit == 0) return false;
        hat |= bit;
    }
    // Up with down or left with right is no direction a hat can take.
    return hat != 0 && (hat & 5) != 5 && (hat & 10) != 10;
}

}  // namespace

bool VirtualJoystickSpecParse(const std::string& text, VirtualJoystickSpec& out,
                              std::string& error) {
    out = VirtualJoystickSpec{};
    error.clear();
    auto reject = [&error](const std::string& piece) {
        error += (error.empty() ? "" : "; ") + piece;
    };
    for (const std::string& field : Split(text, ';')) {
        const size_t eq = field.find('=');
        const std::string name = field.substr(0, eq),
                          value = eq == std::string::npos ? "" : field.substr(eq + 1);
        if (name == "axes") {
            for (const std::string& a : Split(value, ',')) {
                double v = 0;
                if (!Number(a, v) || v < -1 || v > 1 || out.axes.size() >= 6) {
                    reject("axis " + a);
                    continue;
                }
                out.axes.push_back(
                    static_cast<int16_t>(v < 0 ? std::lround(v * 32768) : std::lround(v * 32767)));
            }
        } else if (name == "buttons") {
            for (const std::string& b : Split(value, ',')) {
                double v = 0;
                if (!Number(b, v) || v < 0 || v > 31 || v != std::floor(v)) {
                    reject("button " + b);
                    continue;
                }
                out.buttons.push_back(static_cast<int>(v));
            }
        } else if (name == "hat") {
            if (!Hat(value, out.hat)) reject("hat " + value), out.hat = 0;
        } else {
            reject(field);
        }
    }
    return error.empty();
}

bool VirtualJoystickFromEnvironment() {
    static bool attached = false;
    const char* text = std::getenv("CORVANE_VIRTUAL_JOYSTICK");
    if (attached || !text) return false;
    VirtualJoystickSpec spec;
    std::string error;
    if (!VirtualJoystickSpecParse(text, spec, error))
        Report(ReportLevel::Warning, "CORVANE_VIRTUAL_JOYSTICK", "left out: " + error);
    const int index = VirtualJoystickAttach();
    if (index < 0) return false;
    attached = true;
    for (size_t a = 0; a < spec.axes.size(); ++a)
        VirtualJoystickSet(index, static_cast<int>(a), spec.axes[a]);
    for (int b : spec.buttons) VirtualJoystickSetButton(index, b, true);
    VirtualJoystickSetHat(index, spec.hat);
    return true;
}

}  // namespace platform

// Key numbers (PC set-1 scan codes, extended keys at +128) against the OS's physical keys,
// and the layout character rule. SDL scancodes are USB HID usages, so the table is in usages.
#include <SDL.h>

#include <array>

#include "platform/input_devices.h"

namespace platform {
namespace {

struct KeyPair {
    int keyNumber;
    int usage;
};

constexpr KeyPair kKeyPairs[] = {
    {1, 0x29},   {2, 0x1E},   {3, 0x1F},   {4, 0x20},   {5, 0x21},   {6, 0x22},   {7, 0x23},
    {8, 0x24},   {9, 0x25},   {10, 0x26},  {11, 0x27},  {12, 0x2D},  {13, 0x2E},  {14, 0x2A},
    {15, 0x2B},  {16, 0x14},  {17, 0x1A},  {18, 0x08},  {19, 0x15},  {20, 0x17},  {21, 0x1C},
    {22, 0x18},  {23, 0x0C},  {24, 0x12},  {25, 0x13},  {26, 0x2F},  {27, 0x30},  {28, 0x28},
    {29, 0xE0},  {30, 0x04},  {31, 0x16},  {32, 0x07},  {33, 0x09},  {34, 0x0A},  {35, 0x0B},
    {36, 0x0D},  {37, 0x0E},  {38, 0x0F},  {39, 0x33},  {40, 0x34},  {41, 0x35},  {42, 0xE1},
    {43, 0x31},  {44, 0x1D},  {45, 0x1B},  {46, 0x06},  {47, 0x19},  {48, 0x05},  {49, 0x11},
    {50, 0x10},  {51, 0x36},  {52, 0x37},  {53, 0x38},  {54, 0xE5},  {55, 0x55},  {56, 0xE2},
    {57, 0x2C},  {58, 0x39},  {59, 0x3A},  {60, 0x3B},  {61, 0x3C},  {62, 0x3D},  {63, 0x3E},
    {64, 0x3F},  {65, 0x40},  {66, 0x41},  {67, 0x42},  {68, 0x43},  {69, 0x53},  {70, 0x47},
    {71, 0x5F},  {72, 0x60},  {73, 0x61},  {74, 0x56},  {75, 0x5C},  {76, 0x5D},  {77, 0x5E},
    {78, 0x57},  {79, 0x59},  {80, 0x5A},  {81, 0x5B},  {82, 0x62},  {83, 0x63},  {86, 0x64},
    {87, 0x44},  {88, 0x45},  {100, 0x68}, {101, 0x69}, {102, 0x6A}, {141, 0x67}, {156, 0x58},
    {157, 0xE4}, {160, 0x7F}, {174, 0x81}, {176, 0x80}, {181, 0x54}, {183, 0x46}, {184, 0xE6},
    {197, 0x48}, {199, 0x4A}, {200, 0x52}, {201, 0x4B}, {203, 0x50}, {205, 0x4F}, {207, 0x4D},
    {208, 0x51}, {209, 0x4E}, {210, 0x49}, {211, 0x4C}, {219, 0xE3}, {220, 0xE7}, {221, 0x65},
    {222, 0x66},
};

struct Tables {
    std::array<int, 256> toUsage{};
    std::array<int, 512> toKey{};
    Tables() {
        for (const auto& p : kKeyPairs) {
            toUsage[p.keyNumber] = p.usage;
            toKey[p.usage] = p.keyNumber;
        }
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

// Shifted symbols of the unshifted ASCII keys. The OS layer gives only the unshifted symbol
// of a key, so the shifted one follows the US pairing.
int ShiftedSymbol(int c) {
    static constexpr char kFrom[] = "1234567890-=[]\\;',./`";
    static constexpr char kTo[] = "!@#$%^&*()_+{}|:\"<>?~";
    for (int i = 0; kFrom[i]; ++i) {
        if (kFrom[i] == c) return static_cast<unsigned char>(kTo[i]);
    }
    return c;
}

}  // namespace

int KeyNumberToUsage(int keyNumber) {
    if (keyNumber < 0 || keyNumber > 255) return 0;
    return tables().toUsage[keyNumber];
}

int UsageToKeyNumber(int usage) {
    if (usage < 0 || usage >= 512) return 0;
    return tables().toKey[usage];
}

std::string KeyNumberName(int keyNumber) {
    int usage = KeyNumberToUsage(keyNumber);
    if (usage == 0) return "";
    return SDL_GetScancodeName(static_cast<SDL_Scancode>(usage));
}

int LayoutKeyToCharacter(int32_t key, const KeyModifiers& mods) {
    if (key & SDLK_SCANCODE_MASK) {
        switch (key) {
            case SDLK_KP_DIVIDE:
                return '/';
            case SDLK_KP_MULTIPLY:
                return '*';
            case SDLK_KP_MINUS:
                return '-';
            case SDLK_KP_PLUS:
                return '+';
            case SDLK_KP_ENTER:
                return '\r';
            default:
                break;
        }
        // The number pad gives digits only with Num Lock on and Shift up.
        if (!mods.numLock || mods.shift) return 0;
        if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return '1' + (key - SDLK_KP_1);
        if (key == SDLK_KP_0) return '0';
        if (key == SDLK_KP_PERIOD) return '.';
        return 0;
    }
    if (key == SDLK_RETURN || key == SDLK_BACKSPACE || key == SDLK_TAB || key == SDLK_ESCAPE) {
        return key;
    }
    if (key < 32 || key == SDLK_DELETE) return 0;
    // Ctrl together with Alt is the layout's third level, of which nothing is known here.
    if (mods.ctrl && mods.alt) return 0;
    if (key >= 'a' && key <= 'z') {
        if (mods.ctrl) return key - 'a' + 1;
        return (mods.shift != mods.capsLock) ? key - 'a' + 'A' : key;
    }
    if (key < 128) {
        if (mods.ctrl) return 0;
        return mods.shift ? ShiftedSymbol(key) : key;
    }
    // Latin-1 letters of the layout are one byte; anything beyond has no single byte.
    if (key < 256) {
        if (mods.ctrl) return 0;
        if (mods.shift != mods.capsLock && key >= 0xE0 && key <= 0xFE && key != 0xF7) {
            return key - 0x20;
        }
        return key;
    }
    return 0;
}

}  // namespace platform

// The key table of the system keyboard: which virtual key stands for each key number.
#pragma once

#include <cstdint>

constexpr int16_t kNoVirtualKey = 255;

// Fills table with the virtual key of every key number (kNoVirtualKey where none); with a
// keyboard device the table is the identity instead.
void FallbackKeyTableFill(int16_t table[256], bool keyboardDevice);

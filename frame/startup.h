// Program entry and runtime initialisation.
#pragma once

#include <string>

#include "core/rt_string.h"

// The command-line tail rebuilt from the arguments after the program name: joined by single
// blanks, an argument holding a blank, a tab or a quote (or an empty one) wrapped in quotes.
std::string CommandLineTail(int argc, const char* const* argv);

// Show flag values: 0 starts hidden, 10 is the default show.
constexpr int kShowHidden = 0;
constexpr int kShowDefault = 10;

// Defaults, initialisation, then the game's GameMain, then the end path. Never returns. When
// no window can be made it stops with a message on standard error and exit code 1.
[[noreturn]] void ProgramEntry(void* instance, const std::string& commandLineTail, int showFlag);

// The initialisation steps; 1 when they complete, 0 when the window cannot be created.
int RuntimeInit(void* instance, int showFlag, const char* title);

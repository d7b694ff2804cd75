// Corvane: the one header a game program includes.
//
// Every runtime command is a plain function. Numbers are doubles (out values double&), text
// is RtString (taken as const RtString&, returned by value). A game defines GameMain(); the
// runtime owns main(), starts up and calls it.
#pragma once

#include "core/rt_array.h"
#include "core/rt_string.h"

// The program's main routine, defined by the game.
void GameMain();

// ---- frame: start-up, frame loop, end path (frame/) ----
// ---- end frame ----

// ---- core: strings, number text, arrays, math, random (core/) ----
// ---- end core ----

// ---- lib: files, archive, INI, line files (lib/) ----
// ---- end lib ----

// ---- system: log, errors, system and data commands (frame/, lib/) ----
// ---- end system ----

// ---- gfx: pictures, drawing, fonts, renderer (gfx/) ----
// ---- end gfx ----

// ---- input: keyboard, mouse, joysticks (input/) ----
// ---- end input ----

// ---- path: path finding (path/) ----
// ---- end path ----

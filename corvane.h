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
// Shows the drawn frame, handles window events, holds while paused, ends the program on ESC
// or Alt+F4, and waits for the next frame slot.
void FramePresent();
void FrameRateSet(double framesPerSecond);  // 0 or less: at most 500 frames per second
double FrameTimeGet();                      // ms between the last two frame starts (>= 1)
double TimerGet();                          // ms since the end of start-up
void ProgramSleep(double ms);               // 0 or less: no sleep
void AutoPauseSet(double flag);             // pause while the window is inactive
void EscapeQuitSet(double flag);            // ESC ends the program
// The renderer's window.
void ViewportSet(double x, double y, double width, double height);
void SmoothingSet(double flag);
void ScreenSizeGet(double& width, double& height);
// ---- end frame ----

// ---- core: strings, number text, arrays, math, random (core/) ----
// ---- end core ----

// ---- lib: files, archive, INI, line files (lib/) ----
// ---- end lib ----

// ---- system: log, errors, system and data commands (frame/, lib/) ----
#include "lib/system_types.h"

// Stores the runtime error code (the current line becomes the error line); returns it.
double ErrorSet(double code);
// The position the compiled program is running: source unit and line.
void LineMark(double unit, double line);
// The program's normal end; does not return.
[[noreturn]] void ProgramEnd();
// "" -> "LINUX", "DEVICE", "ID", "TIME", "BATTERY", "GLEXT:<gl function>", else "NO_DATA".
// The key is upper-cased in place.
RtString PlatformInfo(RtString& key);
RtString CommandLineGet();
// "TX" + text to an attached debugger; nothing without one.
void DebugOut(const RtString& text);
// Appends a line to ErrorLog.txt; null text writes "NULL".
void LogWrite(const RtString& text);
void LogWrite(const char* text);
void ConsoleOpen();
double WindowHandleGet();
// 1 when a debugger is attached (the window hides until the next frame), else 0.
double DebugBreakpoint(double line);
// Data lists: DataRestore makes a list current; reading past its end is runtime error 20.
void DataRestore(DataList& list);
void DataRead(RtString& variable);
void DataRead(double& variable);
void DataRead(int& variable);
// The program's callable subroutines (a table ending with a null name).
void SubroutineTableSet(const SubroutineEntry* table);
double CallByName(const RtString& name);
void (*SubAddress(const RtString& name))();
// pointer = the function of the library (loaded once per name, whatever its case), or null.
// The library name is lower-cased in place.
void LibraryDeclare(RtString& library, const RtString& function, void*& pointer);
// ---- end system ----

// ---- gfx: pictures, drawing, fonts, renderer (gfx/) ----
// ---- end gfx ----

// ---- input: keyboard, mouse, joysticks (input/) ----
// ---- end input ----

// ---- path: path finding (path/) ----
// ---- end path ----

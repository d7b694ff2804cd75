// Corvane: the one header a game program includes.
//
// Every runtime command is a plain function. Numbers are doubles (out values double&), text
// is RtString (taken as const RtString&, returned by value). A game defines GameMain(); the
// runtime owns main(), starts up and calls it. Each banner below names the module folder and
// the files that define its commands.
#pragma once

#include "core/rt_array.h"
#include "core/rt_string.h"

// The program's main routine, defined by the game.
void GameMain();

// ---- frame: the frame loop (frame/frame_loop.cpp) ----
// Shows the drawn frame, handles window events, holds while paused, ends the program on ESC
// or Alt+F4, and waits for the next frame slot.
void FramePresent();
void FrameRateSet(double framesPerSecond);  // 0 or less: at most 500 frames per second
double FrameTimeGet();                      // ms between the last two frame starts (>= 1)
double TimerGet();                          // ms since the end of start-up
void ProgramSleep(double ms);               // 0 or less: no sleep
void AutoPauseSet(double flag);             // pause while the window is inactive
void EscapeQuitSet(double flag);            // ESC ends the program
// ---- end frame ----

// ---- core: strings, number text, arrays, math, random ----
// (core/string_commands.cpp, array_commands.cpp, math_commands.cpp)
#include <concepts>
#include <initializer_list>

#include "core/math_ops.h"

// Positions are 0-based; every number used as an integer is truncated toward zero.
double StringLength(const RtString& s);
double StringLength(double value);  // length of the number's text
RtString StringMid(const RtString& s, double position, double count);
double StringFind(const RtString& haystack, const RtString& needle, double start);
double StringFind(const char* haystack, const char* needle, double start);
double StringFind(const RtString& haystack, const char* needle, double start);
double StringFind(const char* haystack, const RtString& needle, double start);
RtString StringReplace(const RtString& s, const RtString& search, const RtString& replacement);
RtString StringLower(const RtString& s);
RtString StringUpper(const RtString& s);
double StringCode(const RtString& s);
RtString StringChar(double code);
RtString NumberFormat(double width, double decimals, double value);
RtString HexEncode(const void* bytes, double count);

void ArrayDim(RtNumberArray& a, double s1, double s2 = 0, double s3 = 0, double s4 = 0);
void ArrayDim(RtIntArray& a, double s1, double s2 = 0, double s3 = 0, double s4 = 0);
void ArrayDim(RtStringArray& a, double s1, double s2 = 0, double s3 = 0, double s4 = 0);
void ArrayRedim(RtNumberArray& a, double s1, double s2 = 0, double s3 = 0, double s4 = 0);
void ArrayRedim(RtIntArray& a, double s1, double s2 = 0, double s3 = 0, double s4 = 0);
void ArrayRedim(RtStringArray& a, double s1, double s2 = 0, double s3 = 0, double s4 = 0);
double ArraySize(const RtNumberArray& a, double dimension);
double ArraySize(const RtIntArray& a, double dimension);
double ArraySize(const RtStringArray& a, double dimension);
void ArrayPush(RtStringArray& a, const RtString& s);
void ArrayFill(RtNumberArray& a, double count, const double* values);
void ArrayFill(RtIntArray& a, double count, const int32_t* values);
void ArrayFill(RtNumberArray& a, std::initializer_list<double> values);
void ArrayFill(RtIntArray& a, std::initializer_list<int32_t> values);

double MathSin(double degrees);
double MathCos(double degrees);
double MathTan(double degrees);
double MathAtan(double y, double x);  // degrees, -180..180
double MathAsin(double x);
double MathAcos(double x);
double MathSqrt(double x);
double MathPow(double base, double exponent);
double MathFmod(double x, double y);
double MathMod(double a, double b);  // 32-bit integer remainder
double MathAbs(double v);
double MathMin(double a, double b);
double MathMax(double a, double b);
// The 32-bit integer forms, chosen only when both arguments are int.
template <std::same_as<int> T>
T MathAbs(T v) {
    return MathAbsInt(v);
}
template <std::same_as<int> T>
T MathMin(T a, T b) {
    return a < b ? a : b;
}
template <std::same_as<int> T>
T MathMax(T a, T b) {
    return a > b ? a : b;
}
template <std::same_as<int> T>
T MathMod(T a, T b) {
    return MathModInt(a, b);
}
double RectOverlap(double x1, double y1, double w1, double h1, double x2, double y2, double w2,
                   double h2);
double RandomGet(double n);    // 0..n inclusive; 0 when n <= 0
void RandomSeed(double seed);  // the seed's integral part modulo 2^32
// ---- end core ----

// ---- files: files, archive, INI, line files ----
// (files/file_channels.cpp, file_commands.cpp, files_startup.cpp, ini_file.cpp,
// line_file.cpp, string_split.cpp)
// File channels 0..7. A channel number outside 0..7 ends the program with error 7; a read
// that cannot deliver all its bytes, or a write on a closed channel or one that does not
// complete, ends it with error 3. Test FileEnd before reading.
double FileOpen(double channel, const RtString& path, double readFlag);  // 1 opened, else 0
void FileClose(double channel);
void FileCloseAll();
double FileEnd(double channel);  // 1 when position >= size (a write channel: always 1)
double FilePosition(double channel);
// mode 0 from the start, > 0 from the current place, < 0 from the end.
void FileSeek(double channel, double offset, double mode);
void FileReadByte(double channel, double& value);
void FileReadUByte(double channel, double& value);
void FileReadWord(double channel, double& value);
void FileReadUWord(double channel, double& value);
void FileReadLong(double channel, double& value);
void FileReadULong(double channel, double& value);
void FileReadFloat(double channel, double& value);
void FileReadDouble(double channel, double& value);
// Exactly count bytes; the text stops at the first zero byte among them.
void FileReadString(double channel, RtString& value, double count);
// One line (CR LF or LF; a line over 1,023 bytes comes back in pieces of 1,023).
void FileReadLine(double channel, RtString& value);
void FileReadLine(double channel, double& value);
void FileReadLine(double channel, int& value);
void FileWriteByte(double channel, double value);
void FileWriteUByte(double channel, double value);
void FileWriteWord(double channel, double value);
void FileWriteUWord(double channel, double value);
void FileWriteLong(double channel, double value);
void FileWriteULong(double channel, double value);
void FileWriteFloat(double channel, double value);
void FileWriteDouble(double channel, double value);
void FileWriteString(double channel, const RtString& text);  // no terminator, no line end
void FileWriteLine(double channel, const RtString& text);    // followed by CR LF
void FileWriteLine(double channel, double value);
void FileWriteLine(double channel, int value);
// Path commands; '\' in paths is taken as '/'.
double FileSize(const RtString& path);    // 0 when it is not a readable file
double FileExists(const RtString& path);  // 1 for a readable regular file
double FileDelete(const RtString& path);
// Copies through a temporary file beside the target: a failed copy leaves the target as it was.
void FileCopy(const RtString& source, const RtString& target);
RtString DirectoryGet();  // with '/' separators and a trailing '/'
double DirectorySet(const RtString& path);
// Folders first ("." and ".." included, unfiltered), then files matching pattern; the result
// is files + 65536 x folders.
double FileList(const RtString& pattern, RtStringArray& names);
double PatternMatch(const RtString& pattern, const RtString& text);
// Media archives for the loaders and for music; resets both lookups.
void ShoeboxSet(const RtString& mediaArchive, const RtString& musicArchive);
// INI data: written back to its file when another is opened and at shutdown.
void IniOpen(const RtString& path);
RtString IniGet(const RtString& section, const RtString& key);  // or "NO_DATA"
// Empty value: removes an existing key (a missing key is added empty); empty key: removes
// the section.
void IniPut(const RtString& section, const RtString& key, const RtString& value);
// Line file, lines 0..255. Outside that range: "NO_DATA" and error code 7; a missing file:
// "NO_FILE" and error code 3. The target forms return that code (0 when all went well).
RtString LineFileGet(const RtString& path, double line);
double LineFileGet(const RtString& path, double line, RtString& target);
double LineFileGet(const RtString& path, double line, double& target);
double LineFileGet(const RtString& path, double line, int& target);
void LineFilePut(const RtString& path, double line, const RtString& text);  // cut at 1,023 bytes
void LineFilePut(const RtString& path, double line, double value);
// Pieces between delimiter characters, empty pieces dropped; returns their number.
double StringSplit(const RtString& text, const RtString& delimiters, RtStringArray& pieces);
// ---- end files ----

// ---- system: log, errors, system and data commands ----
// (runtime/system_commands.cpp, system_data.cpp)
#include "core/system_types.h"

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

// ---- gfx: pictures, drawing, fonts, the renderer's window ----
// (gfx/picture_commands.cpp, draw_commands.cpp, collide_commands.cpp, font_commands.cpp,
// window_commands.cpp, offscreen_commands.cpp, shader_commands.cpp)
// Sprite slots 0..65502 are the program's. Slots, positions and sizes are truncated toward
// zero; colours are red + green * 256 + blue * 65536; angles in degrees.
double SpriteLoad(const RtString& file, double slot);      // 1 loaded, 0 not
double SpriteLoadBump(const RtString& file, double slot);  // as a normal map
double AnimLoad(const RtString& file, double slot, double frameWidth, double frameHeight);
double SpriteGrab(double slot, double x, double y, double width, double height);
void SpriteSizeGet(double slot, double& width, double& height);
void SpriteSizeGet(double slot, int& width, int& height);
double SpriteSave(const RtString& file, double slot);  // ".png" names PNG, others BMP
double ScreenSave(const RtString& file);
void TransparencySet(double colour);
double BackgroundLoad(const RtString& file);
double BackgroundFadeLoad(const RtString& file);  // 1.5 s cross-fade
void BackgroundGrab();
void ScreenClear();

// 0 opaque; above 0 additive, below 0 alpha-blended, the magnitude being the alpha (<= 1).
void BlendModeSet(double mode);
void SpriteDraw(double slot, double x, double y);
void SpriteDrawStretch(double slot, double x, double y, double width, double height);
void SpriteDrawZoom(double slot, double x, double y, double zoomX, double zoomY);
void SpriteDrawRotate(double slot, double x, double y, double angle);
void SpriteDrawRotoZoom(double slot, double x, double y, double angle, double zoom);
void AnimDraw(double slot, double frame, double x, double y);
void AnimDrawStretch(double slot, double frame, double x, double y, double width, double height);
void AnimDrawRotoZoom(double slot, double frame, double x, double y, double angle, double zoom);
void RectDraw(double x, double y, double width, double height, double colour);
void LineDraw(double x1, double y1, double x2, double y2, double colour);
void PixelSet(double x, double y, double colour);
double PixelGet(double x, double y);
void PolyStart(double slot);  // -1: untextured
void PolyPoint(double x, double y, double textureX, double textureY, double colour);
void PolyEnd();
double SpriteCollide(double slot1, double x1, double y1, double slot2, double x2, double y2);
double AnimCollide(double slot1, double frame1, double x1, double y1, double slot2, double frame2,
                   double x2, double y2);

// Fonts 0..31; a font picture is a grid of 16 cells across.
void FontLoad(const RtString& file, double font);  // the built-in font when it cannot load
void FontSet(double font);
void TextPrint(const RtString& text, double x, double y);
void NumberPrint(double value, double x, double y);
void FontSizeGet(double& cellWidth, double& cellHeight);
void FontSizeGet(int& cellWidth, int& cellHeight);
// The renderer's window.
void ViewportSet(double x, double y, double width, double height);
void SmoothingSet(double flag);
void ScreenSizeGet(double& width, double& height);

// Off-screen targets 0..31: drawing goes into a sprite instead of the window, into a
// framebuffer object where the driver has them, else onto the window's top-left corner and
// copied into the sprite when the target is finished (CORVANE_OFFSCREEN_COPY=1 forces that).
// 2D coordinates start at the sprite's top-left; PixelGet, SpriteGrab and ScreenSave read
// the target. FramePresent finishes any target; so does reloading or grabbing into its slot.
// The slot gets a transparent power-of-two texture and the picture size width x height.
void OffscreenCreate(double target, double slot, double width, double height);
void OffscreenUse(double target);  // below 0: back to the window; above 31: nothing

// GLSL shaders in slots 0..254 (vertex and fragment files read from disk, not the archive).
// A shader sees what the 2D draws feed the fixed pipeline: gl_Vertex in pixels (transform it
// with gl_ModelViewProjectionMatrix), gl_Color (white with the current alpha for sprites and
// text, the primitive's colour for rectangles, lines, pixels and polygon points),
// gl_MultiTexCoord0, and the picture on texture unit 0 (a sampler2D uniform is 0 unless set);
// a fragment shader alone gets gl_Color and gl_TexCoord[0]. Rectangles, lines and pixels
// bind no texture. Failures and info logs go to the debug output.
double ShaderLoad(double slot, const RtString& vertexFile, const RtString& fragmentFile);  // 1 ok
void ShaderUse(double slot);  // outside 0..254: fixed function (also at each FramePresent)
void ShaderUniformSet(const RtString& name, double value);  // a float of the current program
// ---- end gfx ----

// ---- input: keyboard, mouse, joysticks, line editor ----
// (input/input_commands.cpp, joystick_commands.cpp, text_input_commands.cpp)
// Keys are PC scan-code numbers 0..255, extended keys (arrows, the block above them, right
// Ctrl/Alt, keypad Enter and /) at 128 + their code; the KEY_ names below list every one the
// keyboard reports. Letters and digits name the key, not the character (KEY_Q is the key left
// of W on a US layout).
inline constexpr double KEY_ESCAPE = 1,
    KEY_1 = 2,
    KEY_2 = 3,
    KEY_3 = 4,
    KEY_4 = 5,
    KEY_5 = 6,
    KEY_6 = 7,
    KEY_7 = 8,
    KEY_8 = 9,
    KEY_9 = 10,
    KEY_0 = 11,
    KEY_MINUS = 12,
    KEY_EQUALS = 13,
    KEY_BACKSPACE = 14,
    KEY_TAB = 15,
    KEY_Q = 16,
    KEY_W = 17,
    KEY_E = 18,
    KEY_R = 19,
    KEY_T = 20,
    KEY_Y = 21,
    KEY_U = 22,
    KEY_I = 23,
    KEY_O = 24,
    KEY_P = 25,
    KEY_LEFT_BRACKET = 26,
    KEY_RIGHT_BRACKET = 27,
    KEY_ENTER = 28,
    KEY_LEFT_CONTROL = 29,
    KEY_A = 30,
    KEY_S = 31,
    KEY_D = 32,
    KEY_F = 33,
    KEY_G = 34,
    KEY_H = 35,
    KEY_J = 36,
    KEY_K = 37,
    KEY_L = 38,
    KEY_SEMICOLON = 39,
    KEY_APOSTROPHE = 40,
    KEY_GRAVE = 41,
    KEY_LEFT_SHIFT = 42,
    KEY_BACKSLASH = 43,
    KEY_Z = 44,
    KEY_X = 45,
    KEY_C = 46,
    KEY_V = 47,
    KEY_B = 48,
    KEY_N = 49,
    KEY_M = 50,
    KEY_COMMA = 51,
    KEY_PERIOD = 52,
    KEY_SLASH = 53,
    KEY_RIGHT_SHIFT = 54,
    KEY_KP_MULTIPLY = 55,
    KEY_LEFT_ALT = 56,
    KEY_SPACE = 57,
    KEY_CAPS_LOCK = 58,
    KEY_F1 = 59,
    KEY_F2 = 60,
    KEY_F3 = 61,
    KEY_F4 = 62,
    KEY_F5 = 63,
    KEY_F6 = 64,
    KEY_F7 = 65,
    KEY_F8 = 66,
    KEY_F9 = 67,
    KEY_F10 = 68,
    KEY_NUM_LOCK = 69,
    KEY_SCROLL_LOCK = 70,
    KEY_KP_7 = 71,
    KEY_KP_8 = 72,
    KEY_KP_9 = 73,
    KEY_KP_MINUS = 74,
    KEY_KP_4 = 75,
    KEY_KP_5 = 76,
    KEY_KP_6 = 77,
    KEY_KP_PLUS = 78,
    KEY_KP_1 = 79,
    KEY_KP_2 = 80,
    KEY_KP_3 = 81,
    KEY_KP_0 = 82,
    KEY_KP_PERIOD = 83,
    KEY_NON_US_BACKSLASH = 86,
    KEY_F11 = 87,
    KEY_F12 = 88,
    KEY_F13 = 100,
    KEY_F14 = 101,
    KEY_F15 = 102,
    KEY_KP_EQUALS = 141,
    KEY_KP_ENTER = 156,
    KEY_RIGHT_CONTROL = 157,
    KEY_MUTE = 160,
    KEY_VOLUME_DOWN = 174,
    KEY_VOLUME_UP = 176,
    KEY_KP_DIVIDE = 181,
    KEY_PRINT_SCREEN = 183,
    KEY_RIGHT_ALT = 184,
    KEY_PAUSE = 197,
    KEY_HOME = 199,
    KEY_UP = 200,
    KEY_PAGE_UP = 201,
    KEY_LEFT = 203,
    KEY_RIGHT = 205,
    KEY_END = 207,
    KEY_DOWN = 208,
    KEY_PAGE_DOWN = 209,
    KEY_INSERT = 210,
    KEY_DELETE = 211,
    KEY_LEFT_SUPER = 219,
    KEY_RIGHT_SUPER = 220,
    KEY_MENU = 221,
    KEY_POWER = 222;
double KeyGet(double key);  // 1 while the key is down
RtString KeyCharGet();      // the character of a newly pressed key, or ""
void KeyWait();             // waits for a key that gives a character
void MouseStateGet(double& x, double& y, double& button1, double& button2);
double MouseAxisGet(double index);  // 0 dx, 1 dy, 2 wheel, 3..5 buttons 1..3
void MouseSet(double x, double y);  // the runtime's position; the pointer does not move
void PointerShow(double flag);
void MouseWait();  // waits for a click (press and release)
double JoystickCountGet();
RtString JoystickNameGet(double n);
double JoystickXGet(double n);  // axes -1..1
double JoystickYGet(double n);
double JoystickZGet(double n);
double JoystickRxGet(double n);
double JoystickRyGet(double n);
double JoystickRzGet(double n);
double JoystickPovXGet(double n);                   // hat: -1 left, 1 right
double JoystickPovYGet(double n);                   // hat: -1 up, 1 down
double JoystickButtonGet(double n, double button);  // button byte, pressed 128
void JoystickRead(double& x, double& y, double& button1, double& button2);
void JoystickForceSet(double n, double durationMs, double x, double y);
void TextInput(RtString& text, double x, double y);  // line editor, returns on Enter
void TextInputInt(double& value, double x, double y);
void TextInputNumber(double& value, double x, double y);
// ---- end input ----

// ---- sound: sound effects, music and video (sound/, its command files) ----
// Sound slots 0..127 (a higher slot is slot 127); a play answers a channel, slot x 256 + buffer.
double SoundLoad(const RtString& name, double slot, double bufferCount);  // 1 loaded, else 0
double SoundPlay(double slot, double pan, double volume);  // pan -1..1, volume 0..1; or -1
double SoundPlayingGet(double channel);                    // 1 while that play sounds
void SoundStopAll();
// One piece of music at a time; a looping piece restarts when its length has passed.
void MusicPlay(const RtString& name, double loop);
void MusicStop();
void MusicVolumeSet(double volume);  // 0..1; every MusicPlay starts at full volume
double MusicPlayingGet();
// Plays a video over the last frame until it ends or a key or button is pressed: 0 played,
// 3 not found or not opened.
double VideoPlay(const RtString& name, double loop = 0);
// ---- end sound ----

// ---- path: path finding (path/path_find_command.cpp) ----
// A* over a cost map map(x, y) (0 or less: blocked). On success path becomes (n, 2) with
// path(i, 0) = x and path(i, 1) = y from start to goal, and n is returned; otherwise 0 and path
// stays as it was. weight 0..1: 0 cost so far only, 0.5 classic A*, 1 distance only.
double PathFind(const RtNumberArray& map, RtNumberArray& path, double weight, double startX,
                double startY, double goalX, double goalY);
// ---- end path ----

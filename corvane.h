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

// The runtime owns main(). A program that defines its own main() instead of GameMain() fails
// to link with "undefined reference to `GameMain()'", not a window that never opens: in a file
// that includes this header, main is renamed out of the way. A program that starts the runtime
// itself (as the runtime's own tests do) defines CORVANE_OWN_MAIN before the include.
#ifndef CORVANE_OWN_MAIN
#define main corvane_main_belongs_to_the_runtime__define_GameMain_instead
#endif

// ---- frame: frame loop, requester, programs (frame/frame_loop.cpp, program_commands.cpp) ----
// Start-up changes into the executable's folder before GameMain runs, so relative paths
// (IniOpen, ScreenSave, ShoeboxSet, FileOpen, the loaders) count from there, wherever the
// program was started from. The error log is ErrorLog.txt in the temporary folder ($TMPDIR,
// else /tmp), emptied at every start (while another program runs with it, this one's log is
// ErrorLog-<process id>.txt). What went wrong (a file that would not load, a shader that did
// not compile, a runtime error with the index, the size and the source line) is said on
// standard error, one line each; CORVANE_LOG=quiet|error|warning|info|debug sets how much.

// Shows the drawn frame, handles window events, holds while paused, ends the program on ESC
// or Alt+F4, and waits for the next frame slot.
void FramePresent();
void FrameRateSet(double framesPerSecond);  // 0 or less: at most 500 frames per second
double FrameTimeGet();                      // ms between the last two frame starts (>= 1)
void ProgramSleep(double ms);               // 0 or less: no sleep
void AutoPauseSet(double flag);             // pause while the window is inactive
void EscapeQuitSet(double flag);            // ESC ends the program
// The desktop's file chooser (zenity or kdialog): open non-zero for an open dialog, 0 for a
// save dialog; filter "Pictures|*.png;*.bmp|All files|*.*". The chosen path, or "NO_FILE".
RtString FileRequester(double open, const RtString& filter);
// Starts a program: the command line is split into words as a shell would (quotes kept, no
// shell run). 1 started, else 0; with wait, exitCode is its exit code (128 + n when signal n
// ended it). show is accepted and has no meaning for a Linux process.
double ProgramRun(const RtString& commandLine, double wait, double show, double& exitCode);
// Ends this program (its shutdown, no trace), then starts the command line; does not return.
[[noreturn]] void ProgramChain(const RtString& commandLine);
// ---- end frame ----

// ---- core: strings, number text, arrays, math, random ----
// (core/string_commands.cpp, array_commands.cpp, math_commands.cpp)
#include <concepts>
#include <initializer_list>

#include "core/math_ops.h"

// Positions are 0-based; every number used as an integer is truncated toward zero.

// Text and numbers: RtString(value), a number assigned to a string or added to one make its
// text ("12", "0.5"); s.ToDouble() reads a text's number by the atof rules (leading spaces
// skipped, a sign, digits, a fraction and an exponent, stopping at the first character that
// does not fit: "3.5kg" gives 3.5, "abc" 0), s.ToInt() by the atoi rules (no fraction:
// "42.9" gives 42; beyond 32 bits it saturates). A string compared with a number is read
// the same way first.

double StringLength(const RtString& s);  // the number of characters
double StringLength(double value);       // length of the number's text
// Count characters from position (fewer at the end; count < 0: to the end)
RtString StringMid(const RtString& s, double position, double count);
// Position of needle at or after start, or -1.
double StringFind(const RtString& haystack, const RtString& needle, double start);
double StringFind(const char* haystack, const char* needle, double start);
double StringFind(const RtString& haystack, const char* needle, double start);
double StringFind(const char* haystack, const RtString& needle, double start);
// Every occurrence of search replaced.
RtString StringReplace(const RtString& s, const RtString& search, const RtString& replacement);
// ASCII letters lower-cased.
RtString StringLower(const RtString& s);
// ASCII letters upper-cased.
RtString StringUpper(const RtString& s);
// The first character's code 0..255 (0 for "")
double StringCode(const RtString& s);
// The one-character text of code's low byte ("" for 0)
RtString StringChar(double code);
// Value with decimals places, right-aligned in width characters.
RtString NumberFormat(double width, double decimals, double value);
// Count bytes as upper-case hexadecimal text.
RtString HexEncode(const void* bytes, double count);

// Sizes, not highest indices: ArrayDim(a, 10) gives indices 0..9 (-1 reaches 9, as from the
// end); up to 4 dimensions, 0 for one not in use. Old contents are dropped.
void ArrayDim(RtNumberArray& a, double s1, double s2 = 0, double s3 = 0, double s4 = 0);
void ArrayDim(RtIntArray& a, double s1, double s2 = 0, double s3 = 0, double s4 = 0);
void ArrayDim(RtStringArray& a, double s1, double s2 = 0, double s3 = 0, double s4 = 0);
// New sizes, keeping the elements that still fit.
void ArrayRedim(RtNumberArray& a, double s1, double s2 = 0, double s3 = 0, double s4 = 0);
void ArrayRedim(RtIntArray& a, double s1, double s2 = 0, double s3 = 0, double s4 = 0);
void ArrayRedim(RtStringArray& a, double s1, double s2 = 0, double s3 = 0, double s4 = 0);
// The size of dimension 0..3 (0 the first, as in ArrayDim's s1), 0 beyond.
double ArraySize(const RtNumberArray& a, double dimension);
double ArraySize(const RtIntArray& a, double dimension);
double ArraySize(const RtStringArray& a, double dimension);
// Appends to a one-dimensional string array (two dimensions: error 8)
void ArrayPush(RtStringArray& a, const RtString& s);
// Sets the first elements in order from values.
void ArrayFill(RtNumberArray& a, double count, const double* values);
void ArrayFill(RtIntArray& a, double count, const int32_t* values);
void ArrayFill(RtNumberArray& a, std::initializer_list<double> values);
void ArrayFill(RtIntArray& a, std::initializer_list<int32_t> values);

// Sine of an angle in degrees.
double MathSin(double degrees);
// Cosine of an angle in degrees.
double MathCos(double degrees);
// Tangent of an angle in degrees.
double MathTan(double degrees);
double MathAtan(double y, double x);  // degrees, -180..180
// Arc sine in degrees.
double MathAsin(double x);
// Arc cosine in degrees.
double MathAcos(double x);
// Square root.
double MathSqrt(double x);
// Base raised to exponent.
double MathPow(double base, double exponent);
// Floating-point remainder of x / y.
double MathFmod(double x, double y);
double MathMod(double a, double b);  // 32-bit integer remainder
// Absolute value.
double MathAbs(double v);
// The smaller.
double MathMin(double a, double b);
// The larger.
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
// 1 when the two rectangles (x, y, width, height) overlap, else 0.
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
// Closes the channel (a closed one: nothing)
void FileClose(double channel);
// Closes every channel.
void FileCloseAll();
double FileEnd(double channel);  // 1 when position >= size (a write channel: always 1)
// The read or write position in bytes.
double FilePosition(double channel);
// mode 0 from the start, > 0 from the current place, < 0 from the end.
void FileSeek(double channel, double offset, double mode);
// Reads a signed 8-bit value.
void FileReadByte(double channel, double& value);
// Reads an unsigned 8-bit value.
void FileReadUByte(double channel, double& value);
// Reads a signed 16-bit value (little-endian)
void FileReadWord(double channel, double& value);
// Reads an unsigned 16-bit value (little-endian)
void FileReadUWord(double channel, double& value);
// Reads a signed 32-bit value (little-endian)
void FileReadLong(double channel, double& value);
// Reads an unsigned 32-bit value (little-endian)
void FileReadULong(double channel, double& value);
// Reads a 32-bit float.
void FileReadFloat(double channel, double& value);
// Reads a 64-bit double.
void FileReadDouble(double channel, double& value);
// Exactly count bytes; the text stops at the first zero byte among them.
void FileReadString(double channel, RtString& value, double count);
// One line (CR LF or LF; a line over 1,023 bytes comes back in pieces of 1,023).
void FileReadLine(double channel, RtString& value);
void FileReadLine(double channel, double& value);
void FileReadLine(double channel, int& value);
// Writes the value as 8 bits.
void FileWriteByte(double channel, double value);
// Writes the value as 8 bits, unsigned.
void FileWriteUByte(double channel, double value);
// Writes the value as 16 bits (little-endian)
void FileWriteWord(double channel, double value);
// Writes the value as 16 bits, unsigned.
void FileWriteUWord(double channel, double value);
// Writes the value as 32 bits (little-endian)
void FileWriteLong(double channel, double value);
// Writes the value as 32 bits, unsigned.
void FileWriteULong(double channel, double value);
// Writes a 32-bit float.
void FileWriteFloat(double channel, double value);
// Writes a 64-bit double.
void FileWriteDouble(double channel, double value);
void FileWriteString(double channel, const RtString& text);  // no terminator, no line end
void FileWriteLine(double channel, const RtString& text);    // followed by CR LF
void FileWriteLine(double channel, double value);
void FileWriteLine(double channel, int value);
// Path commands; '\' in paths is taken as '/'.
double FileSize(const RtString& path);    // 0 when it is not a readable file
double FileExists(const RtString& path);  // 1 for a readable regular file
// 1 deleted, else 0.
double FileDelete(const RtString& path);
// Copies through a temporary file beside the target: a failed copy leaves the target as it was.
void FileCopy(const RtString& source, const RtString& target);
RtString DirectoryGet();  // with '/' separators and a trailing '/'
// Changes the current folder: 1 done, else 0.
double DirectorySet(const RtString& path);
// Folders first ("." and ".." included, unfiltered), then files matching pattern; the result
// is files + 65536 x folders.
double FileList(const RtString& pattern, RtStringArray& names);
// 1 when text matches the wildcard pattern (* and ?)
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
// (runtime/system_commands.cpp, system_data.cpp, timer.cpp)
#include "core/system_types.h"

double TimerGet();  // ms since the end of start-up

// Stores the runtime error code (the current line becomes the error line); returns it.
double ErrorSet(double code);
// The position the compiled program is running: source unit and line.
void LineMark(double unit, double line);
// The program's normal end; does not return.
[[noreturn]] void ProgramEnd();
// "" -> "LINUX", "DEVICE", "ID", "TIME", "BATTERY", "GLEXT:<gl function>", else "NO_DATA".
// The key is upper-cased in place. "GLEXT:" answers "1" only for a function the window's GL
// context offers by its version or extensions, among those the runtime knows; else "0".
RtString PlatformInfo(RtString& key);
// The arguments the program was started with, as one text.
RtString CommandLineGet();
// "TX" + text to an attached debugger; nothing without one.
void DebugOut(const RtString& text);
// Appends a line to the error log (ErrorLog.txt in $TMPDIR or /tmp); null text writes "NULL".
void LogWrite(const RtString& text);
void LogWrite(const char* text);
// Connects standard input and output to the terminal, if there is one.
void ConsoleOpen();
// The main window's handle as a number (0 before it exists)
double WindowHandleGet();
// 1 when a debugger is attached (the window hides until the next frame), else 0.
double DebugBreakpoint(double line);
// Data lists: DataRestore makes a list current; reading past its end is runtime error 20.
void DataRestore(DataList& list);
// The next item of the current data list.
void DataRead(RtString& variable);
void DataRead(double& variable);
void DataRead(int& variable);
// The program's callable subroutines (a table ending with a null name).
void SubroutineTableSet(const SubroutineEntry* table);
// Calls the subroutine of that name: 1 found, else 0.
double CallByName(const RtString& name);
// The subroutine of that name, or null.
void (*SubAddress(const RtString& name))();
// pointer = the function of the library (loaded once per name, whatever its case), or null.
// The library name is lower-cased in place.
void LibraryDeclare(RtString& library, const RtString& function, void*& pointer);
// ---- end system ----

// ---- gfx: pictures, drawing, fonts, the renderer's window ----
// (gfx/picture_commands.cpp, draw_commands.cpp, collide_commands.cpp, font_commands.cpp,
// window_commands.cpp, offscreen_commands.cpp, shader_commands.cpp)
// Sprite slots 0..65502 are the program's. Slots, positions and sizes are truncated toward
// zero; colours are red + green * 256 + blue * 65536 (0xBBGGRR: 0x0000FF is red), which ColourRgb
// makes; angles in degrees.

// The colour of red, green and blue, each truncated toward zero and held to 0..255 (300
// gives 255, -5 and not-a-number 0) before they are packed.
double ColourRgb(double red, double green, double blue);
double SpriteLoad(const RtString& file, double slot);      // 1 loaded, 0 not
double SpriteLoadBump(const RtString& file, double slot);  // as a normal map
// SpriteLoad with the picture cut into frames of frameWidth x frameHeight.
double AnimLoad(const RtString& file, double slot, double frameWidth, double frameHeight);
// Copies a window rectangle into the slot: 1 done, else 0.
double SpriteGrab(double slot, double x, double y, double width, double height);
// The slot's picture size (0, 0 when empty)
void SpriteSizeGet(double slot, double& width, double& height);
void SpriteSizeGet(double slot, int& width, int& height);
double SpriteSave(const RtString& file, double slot);  // ".png" names PNG, others BMP
// Saves the window's picture as the name says (".png" PNG, else BMP): 1 done, else 0.
double ScreenSave(const RtString& file);
// The colour that loads see-through in RGB pictures, for sprites and fonts alike (the
// default is 0x8000FF for sprites, 0 black for fonts); RGBA pictures keep their own alpha.
void TransparencySet(double colour);
// A loaded background redraws itself at the start of every frame, so a game that has one
// does not clear the screen (ScreenClear would wipe it). 1 loaded, else 0.
double BackgroundLoad(const RtString& file);
double BackgroundFadeLoad(const RtString& file);  // 1.5 s cross-fade
// The window's current picture becomes the background.
void BackgroundGrab();
// Clears the window to black and drops the loaded background.
void ScreenClear();

// 0 opaque; above 0 additive, below 0 alpha-blended, the magnitude being the alpha (<= 1).
void BlendModeSet(double mode);
// Draws the slot with its top-left corner at x, y.
void SpriteDraw(double slot, double x, double y);
// Draws the slot into the rectangle x, y, width, height.
void SpriteDrawStretch(double slot, double x, double y, double width, double height);
// x, y is where the unzoomed picture's top-left corner would be: it grows or shrinks by zoomX,
// zoomY about its centre (x + width / 2, y + height / 2), which stays in place; a negative
// zoom mirrors it there. The rectangle is rounded to whole pixels toward zero.
void SpriteDrawZoom(double slot, double x, double y, double zoomX, double zoomY);
// SpriteDrawRotoZoom with zoom 1.
void SpriteDrawRotate(double slot, double x, double y, double angle);
// x, y is where the unrotated picture's top-left corner would be: it turns and zooms
// about its centre (x + width / 2, y + height / 2), clockwise for positive angles.
void SpriteDrawRotoZoom(double slot, double x, double y, double angle, double zoom);
// Draws frame number frame of an AnimLoad slot at x, y.
void AnimDraw(double slot, double frame, double x, double y);
// Draws a frame into the rectangle x, y, width, height.
void AnimDrawStretch(double slot, double frame, double x, double y, double width, double height);
// Draws a frame turned and zoomed as SpriteDrawRotoZoom does.
void AnimDrawRotoZoom(double slot, double frame, double x, double y, double angle, double zoom);
// A filled rectangle in the colour.
void RectDraw(double x, double y, double width, double height, double colour);
// A one-pixel line from x1, y1 to x2, y2.
void LineDraw(double x1, double y1, double x2, double y2, double colour);
// One pixel.
void PixelSet(double x, double y, double colour);
// The colour of a pixel of what has been drawn this frame.
double PixelGet(double x, double y);
// Starts a polygon textured with slot (-1: untextured). Its points must run counter-clockwise
// on the screen: 2D drawing culls back faces, so a clockwise polygon draws nothing.
void PolyStart(double slot);
// A corner: position, texture position in the slot's picture pixels, colour.
void PolyPoint(double x, double y, double textureX, double textureY, double colour);
// Draws the polygon from the points since PolyStart.
void PolyEnd();
// 1 when the two pictures, drawn unrotated and unzoomed at their positions, share an
// opaque pixel, else 0; rotation and zoom are not taken into account.
double SpriteCollide(double slot1, double x1, double y1, double slot2, double x2, double y2);
// SpriteCollide for one frame of each of two AnimLoad slots.
double AnimCollide(double slot1, double frame1, double x1, double y1, double slot2, double frame2,
                   double x2, double y2);

// Fonts 0..31. A font picture is a grid of 16 cells across and 8 down (16 down when it is
// taller than wide), one cell per character code from 0 in reading order, the cell size being
// the picture's size divided by the grid. RGB pictures are see-through where they are the font
// transparent colour (black unless TransparencySet changed it); RGBA pictures keep their alpha.
void FontLoad(const RtString& file, double font);  // the built-in font when it cannot load
// The font TextPrint and NumberPrint use.
void FontSet(double font);
// Prints text with the current font, its top-left corner at x, y.
void TextPrint(const RtString& text, double x, double y);
// Prints the number's text as TextPrint does.
void NumberPrint(double value, double x, double y);
// The current font's cell size.
void FontSizeGet(double& cellWidth, double& cellHeight);
void FontSizeGet(int& cellWidth, int& cellHeight);
// The renderer's window.
void ViewportSet(double x, double y, double width, double height);
// 1 smooths scaled and rotated pictures (linear filtering), 0 keeps their pixels sharp.
void SmoothingSet(double flag);
// The window's size in pixels.
void ScreenSizeGet(double& width, double& height);

// Off-screen targets 0..31: drawing goes into a sprite instead of the window, into a
// framebuffer object where the driver has them, else onto the window's top-left corner and
// copied into the sprite when the target is finished (CORVANE_OFFSCREEN_COPY=1 forces that).
// 2D coordinates start at the sprite's top-left; PixelGet, SpriteGrab and ScreenSave read
// the target. FramePresent finishes any target; so does reloading or grabbing into its slot.

// Makes target draw into slot: a transparent power-of-two texture, picture size width x height.
void OffscreenCreate(double target, double slot, double width, double height);
void OffscreenUse(double target);  // below 0: back to the window; above 31: nothing

// GLSL shaders in slots 0..254 (vertex and fragment files read from disk, not the archive).
// A shader sees what the 2D draws feed the fixed pipeline: gl_Vertex in pixels (transform it
// with gl_ModelViewProjectionMatrix), gl_Color (white with the current alpha for sprites and
// text, the primitive's colour for rectangles, lines, pixels and polygon points),
// gl_MultiTexCoord0, and the picture on texture unit 0 (a sampler2D uniform is 0 unless set);
// a fragment shader alone gets gl_Color and gl_TexCoord[0]. Rectangles, lines and pixels
// bind no texture. ShaderLoad gives 1 when every named file compiled and the program linked
// (an empty name is no shader of that kind), 0 for a slot outside 0..254, a named file that
// cannot be read, or a compile or link error; each failure is said on stderr
// ("error: ShaderLoad: post.frag:2: syntax error, ...") and the slot then draws fixed function.
double ShaderLoad(double slot, const RtString& vertexFile, const RtString& fragmentFile);  // 1 ok
void ShaderUse(double slot);  // outside 0..254: fixed function (also at each FramePresent)
// A float of the current program; a name it lacks (or never uses) is warned of once.
void ShaderUniformSet(const RtString& name, double value);
// ---- end gfx ----

// ---- gfx3d: 3D objects and the 3D view ----
// (gfx3d/view3d_commands.cpp, object_commands.cpp, transform_commands.cpp)
// A 3D frame: View3DStart, CameraSet, lights, then objects drawn with ObjectDraw, each placed
// by the transform stack; View3DEnd (or FramePresent) returns to 2D drawing. Right-handed
// coordinates: the camera looks down -z from the origin until CameraSet places it. Colours are
// packed as in 2D; angles are in degrees. Object slots are 0..1023, lights 0..7.

// Loads a QMD object (binary, or text starting "QMDA") through the media archive into the
// slot: 1 loaded, 0 not (the slot is then empty). A scene file (";QMW", see gfx3d/scene_file.h)
// loads its objects into slot, slot + 1, ... and its pictures into their sprite slots.
double ObjectLoad(const RtString& file, double slot);
// Writes the slot's object as a binary QMD file (straight to disk): 1 written, 0 not (an empty
// slot or a failed write, which leaves an old file as it was).
double ObjectSave(const RtString& file, double slot);
double ObjectFrameCountGet(double slot);  // the object's frames (0 for an empty slot)
// Draws the object placed by the transform stack's top, lit, with the 3D textures (a scene
// file's object: its own). Frame 2.25 blends frames 2 and 3, three parts to one; frames wrap.
void ObjectDraw(double slot, double frame);
// The distance along the ray (origin, direction) to the object's nearest triangle, in
// lengths of direction, or -1 when the ray misses it; the object placed as ObjectDraw would.
double ObjectPick(double slot, double frame, double originX, double originY, double originZ,
                  double directionX, double directionY, double directionZ);
// The ray from the camera through window pixel x, y (as 2D counts them in the viewport):
// origin on the near plane, direction of length 1; for ObjectPick under the mouse.
void CameraRayGet(double x, double y, double& originX, double& originY, double& originZ,
                  double& directionX, double& directionY, double& directionZ);
// Adds the object's stencil shadow volume, lit from light, to the shadow pass (switching it on).
// The shadows are drawn when the pass ends: every pixel inside a volume is darkened by half.
void ObjectShadowDraw(double slot, double frame, double light);

// Clears the depth buffer and starts 3D drawing in the current viewport: near and far
// distances, field of view in degrees (0 or less: orthographic, -45 about 41.4 x near high).
// Lights off, no culling, no 3D textures; the camera at the origin looking down -z.
void View3DStart(double nearPlane, double farPlane, double fieldOfView);
// Ends the shadow pass and returns to 2D drawing in the whole window.
void View3DEnd();
void CameraUpSet(double x, double y, double z);  // the up vector for the next CameraSet
// Places the camera at the eye looking at the target; empties the transform stack.
void CameraSet(double eyeX, double eyeY, double eyeZ, double targetX, double targetY,
               double targetZ);
// Colour -1: fog off. Mode non-zero: exponential fog of density a; mode 0: linear fog from
// distance a to b (both 0: from the view's near to its far distance).
void FogSet(double colour, double mode, double a, double b);
// 0 no culling; above 0 clockwise faces are front faces, below 0 (or not a number)
// counter-clockwise ones; back faces are not drawn.
void CullModeSet(double value);
// The 3D textures: sprite on texture unit 0, second on unit 1 (-1: none). 3D texture
// coordinates repeat, so pictures for 3D have power-of-two sizes.
void TextureSet3D(double sprite, double secondSprite);
void MipmapSet(double choice);  // 1: 3D textures use their mip-mapped copies (until FramePresent)
// 1 starts the stencil shadow pass, 0 ends it and darkens the shadows (FramePresent, View3DEnd
// and ViewportSet end it too).
void ShadowPassSet(double on);

// The transform stack places objects: each call changes its top (an identity after
// View3DStart and CameraSet). Moves, turns and scales apply to the object before the earlier
// ones, as nested parts expect.
void TransformMove(double x, double y, double z);
// Turns by angle degrees about the axis x, y, z (counter-clockwise looking down the axis).
void TransformTurn(double angle, double x, double y, double z);
void TransformScale(double x, double y, double z);  // scales along the three axes
void TransformPush();                               // keeps a copy of the top, for TransformPop
void TransformPop();                                // back to the top before the last TransformPush
// Switches light 0..7 on: lamp non-zero a lamp at x, y, z; lamp 0 a distant light coming
// from the direction x, y, z. View3DStart switches every light off.
void LightSet(double light, double x, double y, double z, double lamp);
// The light's colour and the ambient colour it adds everywhere (default white, none).
void LightColourSet(double light, double colour, double ambientColour);
void LightDisable(double light);  // switches the light off
// ---- end gfx3d ----

// ---- input: keyboard, mouse, joysticks, line editor ----
// (input/input_commands.cpp, joystick_commands.cpp, text_input_commands.cpp)
// Keys are PC scan-code numbers 0..255, extended keys (arrows, the block above them, right
// Ctrl/Alt, keypad Enter and /) at 128 + their code; the KEY_ names below list every one the
// keyboard reports. Letters and digits name the key, not the character (KEY_Q is the key left
// of W on a US layout).
inline constexpr double KEY_ESCAPE = 1, KEY_1 = 2, KEY_2 = 3, KEY_3 = 4, KEY_4 = 5, KEY_5 = 6,
                        KEY_6 = 7, KEY_7 = 8, KEY_8 = 9, KEY_9 = 10, KEY_0 = 11, KEY_MINUS = 12,
                        KEY_EQUALS = 13, KEY_BACKSPACE = 14, KEY_TAB = 15, KEY_Q = 16, KEY_W = 17,
                        KEY_E = 18, KEY_R = 19, KEY_T = 20, KEY_Y = 21, KEY_U = 22, KEY_I = 23,
                        KEY_O = 24, KEY_P = 25, KEY_LEFT_BRACKET = 26, KEY_RIGHT_BRACKET = 27,
                        KEY_ENTER = 28, KEY_LEFT_CONTROL = 29, KEY_A = 30, KEY_S = 31, KEY_D = 32,
                        KEY_F = 33, KEY_G = 34, KEY_H = 35, KEY_J = 36, KEY_K = 37, KEY_L = 38,
                        KEY_SEMICOLON = 39, KEY_APOSTROPHE = 40, KEY_GRAVE = 41,
                        KEY_LEFT_SHIFT = 42, KEY_BACKSLASH = 43, KEY_Z = 44, KEY_X = 45, KEY_C = 46,
                        KEY_V = 47, KEY_B = 48, KEY_N = 49, KEY_M = 50, KEY_COMMA = 51,
                        KEY_PERIOD = 52, KEY_SLASH = 53, KEY_RIGHT_SHIFT = 54, KEY_KP_MULTIPLY = 55,
                        KEY_LEFT_ALT = 56, KEY_SPACE = 57, KEY_CAPS_LOCK = 58, KEY_F1 = 59,
                        KEY_F2 = 60, KEY_F3 = 61, KEY_F4 = 62, KEY_F5 = 63, KEY_F6 = 64,
                        KEY_F7 = 65, KEY_F8 = 66, KEY_F9 = 67, KEY_F10 = 68, KEY_NUM_LOCK = 69,
                        KEY_SCROLL_LOCK = 70, KEY_KP_7 = 71, KEY_KP_8 = 72, KEY_KP_9 = 73,
                        KEY_KP_MINUS = 74, KEY_KP_4 = 75, KEY_KP_5 = 76, KEY_KP_6 = 77,
                        KEY_KP_PLUS = 78, KEY_KP_1 = 79, KEY_KP_2 = 80, KEY_KP_3 = 81,
                        KEY_KP_0 = 82, KEY_KP_PERIOD = 83, KEY_NON_US_BACKSLASH = 86, KEY_F11 = 87,
                        KEY_F12 = 88, KEY_F13 = 100, KEY_F14 = 101, KEY_F15 = 102,
                        KEY_KP_EQUALS = 141, KEY_KP_ENTER = 156, KEY_RIGHT_CONTROL = 157,
                        KEY_MUTE = 160, KEY_VOLUME_DOWN = 174, KEY_VOLUME_UP = 176,
                        KEY_KP_DIVIDE = 181, KEY_PRINT_SCREEN = 183, KEY_RIGHT_ALT = 184,
                        KEY_PAUSE = 197, KEY_HOME = 199, KEY_UP = 200, KEY_PAGE_UP = 201,
                        KEY_LEFT = 203, KEY_RIGHT = 205, KEY_END = 207, KEY_DOWN = 208,
                        KEY_PAGE_DOWN = 209, KEY_INSERT = 210, KEY_DELETE = 211,
                        KEY_LEFT_SUPER = 219, KEY_RIGHT_SUPER = 220, KEY_MENU = 221,
                        KEY_POWER = 222;
double KeyGet(double key);  // 1 while the key is down, and once for a tap between two reads
RtString KeyCharGet();      // the character of a newly pressed key, or ""
void KeyWait();             // waits for a key that gives a character
// The pointer's position in the window and the two main buttons (1 down)
void MouseStateGet(double& x, double& y, double& button1, double& button2);
double MouseAxisGet(double index);  // 0 dx, 1 dy, 2 wheel, 3..5 buttons 1..3
void MouseSet(double x, double y);  // the runtime's position; the pointer does not move
// While the pointer is hidden (as at start-up) the mouse is the program's alone, in relative
// mode: the desktop pointer cannot leave the window, and MouseStateGet's position is the
// runtime's own, moved by the mouse's motion however far it goes and held inside the window.
// While it is shown, the position follows the desktop's pointer.

// 1 shows the mouse pointer over the window, 0 hides it.
void PointerShow(double flag);
void MouseWait();  // waits for a click (press and release)
// The number of joysticks attached.
double JoystickCountGet();
// The joystick's name, or "".
RtString JoystickNameGet(double n);
double JoystickXGet(double n);  // axes -1..1
// The second axis, -1..1.
double JoystickYGet(double n);
// The third axis, -1..1.
double JoystickZGet(double n);
// The first rotation axis, -1..1.
double JoystickRxGet(double n);
// The second rotation axis, -1..1.
double JoystickRyGet(double n);
// The third rotation axis, -1..1.
double JoystickRzGet(double n);
double JoystickPovXGet(double n);                   // hat: -1 left, 1 right
double JoystickPovYGet(double n);                   // hat: -1 up, 1 down
double JoystickButtonGet(double n, double button);  // button byte, pressed 128
// Joystick 0: its x and y axes (about -1..1) and its first two button bytes (pressed 128)
void JoystickRead(double& x, double& y, double& button1, double& button2);
// Pushes joystick n's force feedback by x, y for durationMs.
void JoystickForceSet(double n, double durationMs, double x, double y);
void TextInput(RtString& text, double x, double y);  // line editor, returns on Enter
// The line editor for a whole number.
void TextInputInt(double& value, double x, double y);
// The line editor for a number.
void TextInputNumber(double& value, double x, double y);
// ---- end input ----

// ---- sound: sound effects, music and video (sound/, its command files) ----
// Sound slots 0..127 (a higher slot is slot 127); a play answers a channel, slot x 256 + buffer.
double SoundLoad(const RtString& name, double slot, double bufferCount);  // 1 loaded, else 0
double SoundPlay(double slot, double pan, double volume);  // pan -1..1, volume 0..1; or -1
double SoundPlayingGet(double channel);                    // 1 while that play sounds
// Stops every sound effect.
void SoundStopAll();
// One piece of music at a time; a looping piece restarts when its length has passed.
void MusicPlay(const RtString& name, double loop);
// Stops the music.
void MusicStop();
void MusicVolumeSet(double volume);  // 0..1; every MusicPlay starts at full volume
// 1 while music plays, else 0.
double MusicPlayingGet();
// Plays a video over the last frame until it ends or a key or button is pressed: 0 played,
// 3 not found or not opened.
double VideoPlay(const RtString& name, double loop = 0);
// ---- end sound ----

// ---- net: network sessions and HTTP fetch (net/net_commands.cpp, web_get_command.cpp) ----
// One session at a time over TCP: a program hosts, others join, each creates players by name
// and sends text messages between players. Ids and ports travel as text; player ids are 1 or
// more (target 0 means every player). Joins and requests wait up to 5 s for their answer.
// A host listens on IPv6 and IPv4 alike; NetLocalAddresses leaves a running session alone.

double NetHost(const RtString& port);  // ends any session and listens (below 1: 26000); 1 done
// Ends any session and connects to the host (below 1: 26000) within 10 s: 1 joined.
double NetJoin(const RtString& server, const RtString& port);
RtString NetLocalAddresses();  // the machine's addresses joined by '|', or ""
// Creates a player: its id as text, or "-1" when refused or no answer came within 5 s.
RtString NetPlayerCreate(const RtString& name);
// The number of players in the session (0 without an own player or an answer).
double NetPlayerCount();
// The id of the player at index 0..count-1 ("-1" past the end; "0" without an answer).
RtString NetPlayerId(double index);
// The name of a player ("" when there is none; "NO_DATA" without an answer).
RtString NetPlayerName(const RtString& playerId);
// Removes the player everywhere (a joiner only its own; a negative id: nothing); result 1.
double NetPlayerKill(const RtString& playerId);
// Sends at most 1,024 bytes from one of this program's players to target (0: every player
// but the sender): 1 sent, 0 not (no session, no such player, too long, peer not reading).
double NetMessageSend(const RtString& sender, const RtString& target, const RtString& message);
// The oldest message for one of this program's players, removed ("" when none; each player
// keeps its last 1,024).
RtString NetMessageGet(const RtString& playerId);
RtString NetMessageSender();  // the sender id of the last message taken ("-1" before any)

// WebGet: HTTP/1.0; the body (the header skipped) replaces the file only when the whole answer
// came (the server closed after the header and any Content-Length it announced), so a failed
// fetch leaves the old file; connecting and every read wait at most 10 s;
// a server or path holding blanks or control characters is refused, nothing sent; the
// response status is not examined.

// Fetches path from server:port into file: 1 when the whole answer came, else 0.
double WebGet(const RtString& server, const RtString& path, double port, const RtString& file);
// ---- end net ----

// ---- path: path finding (path/path_find_command.cpp) ----
// A* over a cost map map(x, y) (0 or less: blocked). On success path becomes (n, 2) with
// path(i, 0) = x and path(i, 1) = y from start to goal, and n is returned; otherwise 0 and path
// stays as it was. weight 0..1: 0 cost so far only, 0.5 classic A*, 1 distance only.
double PathFind(const RtNumberArray& map, RtNumberArray& path, double weight, double startX,
                double startY, double goalX, double goalY);
// ---- end path ----

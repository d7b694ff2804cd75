// The diagnostics channel: what a program's user must know, one line each on standard error.
// Every module reports through it, naming the command, the thing it was given and why it
// failed ("ShaderLoad: shaders/post.frag:2: syntax error"). CORVANE_LOG (quiet, error,
// warning, info, debug) sets how much is said; warnings and errors are said by default.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class DiagLevel { Quiet = 0, Error = 1, Warning = 2, Info = 3, Debug = 4 };

// The level a CORVANE_LOG word names, or nothing for a word it does not know.
std::optional<DiagLevel> DiagLevelParse(std::string_view word);

// Start-up: the level from CORVANE_LOG's word (null: the default), and the OS layer's reports
// routed through this channel.
void DiagStart(const char* levelWord);

// The level in force.
DiagLevel DiagLevelGet();
void DiagLevelSet(DiagLevel level);

// The line as it is written: "warning: SoundLoad: boom.wav: no such file".
std::string DiagLine(DiagLevel level, std::string_view command, std::string_view message);

// Says the line when level is within the level in force.
void DiagReport(DiagLevel level, std::string_view command, std::string_view message);
void DiagError(std::string_view command, std::string_view message);
void DiagWarning(std::string_view command, std::string_view message);
void DiagInfo(std::string_view command, std::string_view message);
void DiagDebug(std::string_view command, std::string_view message);

// The same, said only the first time this key is given in the run, so a failure inside a
// frame loop is said once and not sixty times a second. The key names what failed (a file,
// a slot) together with the command.
void DiagReportOnce(DiagLevel level, std::string_view key, std::string_view command,
                    std::string_view message);

// Replaces where lines go (tests); null restores standard error.
void DiagSinkSet(void (*sink)(DiagLevel level, const std::string& line));

// Helpers shared by every test executable.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// The private temporary folder of this test process (also exported as TMPDIR at start-up,
// so the runtime's log and extracted files land here and never collide between tests).
const std::string& TempDir();

// A fresh, empty sub-folder of TempDir().
std::string MakeSubDir(const std::string& name);

std::string ReadFile(const std::string& path);
bool WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// Path of a test program built from tests/<module>/programs/<name>.cpp.
std::string ProgramPath(const std::string& module, const std::string& name);

struct RunResult {
    int exitCode = -1;  // -1 when the program did not exit normally
    int signal = 0;     // the signal that ended it, if any
    bool timedOut = false;
    std::string output;  // stdout and stderr together
};

// Runs a program with extra environment entries ("NAME=value"), in folder cwd (empty: the
// current one), killing it after timeoutMs.
RunResult RunProgram(const std::string& path, const std::vector<std::string>& args,
                     const std::vector<std::string>& env = {}, const std::string& cwd = "",
                     int timeoutMs = 30000);

}  // namespace testsupport

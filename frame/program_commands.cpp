// The commands that reach the desktop around the game: the file requester and starting
// other programs.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "corvane.h"
#include "frame/command_words.h"
#include "frame/requester_filter.h"
#include "gfx/renderer.h"
#include "platform/file_chooser.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "runtime/end_path.h"
#include "runtime/error_log.h"
#include "runtime/rt_text.h"
#include "runtime/runtime_state.h"

namespace {

struct RequesterState {
    bool unavailableLogged = false;  // the missing chooser is said once per run
};
RequesterState requester;

}  // namespace

RtString FileRequester(double open, const RtString& filter) {
    const std::vector<platform::FileFilter> filters = RequesterFilterParse(RtToStd(filter));
    const std::string folder = platform::CurrentFolderGet();
    Renderer* r = runtimeState.renderer;
    // A chooser cannot show over a full-screen window: the window leaves its mode and hides.
    if (r) r->WindowHide();
    std::string chosen, why;
    const platform::ChooserResult result =
        platform::FileChooserRun(open != 0, filters, chosen, why);
    platform::CurrentFolderSet(folder);
    if (r) {
        if (runtimeState.fullScreen)
            r->FullScreenEnter();
        else
            r->FullScreenLeave();
    }
    if (result == platform::ChooserResult::Unavailable && !requester.unavailableLogged) {
        requester.unavailableLogged = true;
        ErrorLogAppend("FileRequester: " + why);
    }
    if (result != platform::ChooserResult::Chosen || chosen.empty()) return RtString("NO_FILE");
    std::replace(chosen.begin(), chosen.end(), '\\', '/');
    return StdToRt(chosen);
}

double ProgramRun(const RtString& commandLine, double wait, double show, double& exitCode) {
    (void)show;  // a Linux process has no start-up window state to ask for
    exitCode = 0;
    std::vector<std::string> words;
    if (!CommandWordsSplit(RtToStd(commandLine), words) || words.empty()) return 0;
    const int pid = platform::ProcessStart(words);
    if (pid < 0) return 0;
    if (wait != 0)
        exitCode = platform::ProcessWait(pid);
    else
        platform::ProcessReapLater(pid);
    return 1;
}

void ProgramChain(const RtString& commandLine) {
    // The next program starts once this one's window, devices and temporary files are gone.
    EndPathShutdown();
    double code = 0;
    ProgramRun(commandLine, 0, 1, code);
    std::exit(0);
}

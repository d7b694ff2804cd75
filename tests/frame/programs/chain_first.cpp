// Hands over to a shell that checks, once it runs, whether this program's window and its
// extraction folder are still there. Before handing over it makes the same window check
// itself, so the test knows the check can see the window at all.
#include <unistd.h>

#include <string>

#include "corvane.h"
#include "files/extract_folder.h"

void GameMain() {
    const std::string out = CommandLineGet().Str();  // the folder for the results
    const std::string folder = ExtractFolderFor(0);
    const std::string pid = std::to_string(getpid());
    const std::string windowCheck =
        "if xdotool search --pid " + pid + " >/dev/null 2>&1; then w=open; else w=closed; fi; ";
    FramePresent();
    double code = 0;
    ProgramRun(RtString(("sh -c '" + windowCheck + "echo $w > " + out + "/before'").c_str()), 1, 1,
               code);
    ProgramChain(RtString(("sh -c '" + windowCheck + "if [ -d " + folder +
                           " ]; then f=present; else f=gone; fi; echo $w $f > " + out +
                           "/after.tmp; mv " + out + "/after.tmp " + out + "/after'")
                              .c_str()));
}

// A debug build that ends with runtime error 9 on line 120 of unit 7, after moving away from
// the executable's folder. A step after the folder's restore records where the end left us.
#include <fstream>

#include "corvane.h"
#include "platform/log_file.h"
#include "platform/paths.h"
#include "runtime/end_path.h"
#include "runtime/runtime_state.h"
#include "runtime/shutdown.h"

static void RecordFolder() {
    std::ofstream(platform::TempFolder() + "/cwd.txt") << platform::CurrentFolderGet();
}

void GameMain() {
    runtimeState.debugMode = 1;
    ShutdownRegister(ShutdownStep::TimerResolution, RecordFolder);
    platform::CurrentFolderSet(platform::TempFolder());
    LineMark(7, 120);
    ErrorSet(9);
    EndPath();
}

#include "files/files_state.h"

FilesState& Files() {
    static FilesState s;
    return s;
}

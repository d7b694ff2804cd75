// The show's tests run a copy of build/zan3 from a folder of their own, with the chosen files
// of media/ beside it.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "support/frame_shots.h"

namespace showtest {

inline std::string ShowFolder(const std::string& name, std::initializer_list<const char*> media) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const char* m : media)
        files.emplace_back(std::string(CORVANE_SOURCE_DIR) + "/media/" + m,
                           std::string("media/") + m);
    return testsupport::ProgramFolder(name, std::string(CORVANE_TEST_BIN_DIR) + "/zan3", files);
}

}  // namespace showtest

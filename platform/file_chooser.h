// The desktop's own file chooser, run as a child process: zenity when it is installed, else
// kdialog. The game window's handling around it is the caller's.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct FileFilter {
    std::string description;            // "Pictures"
    std::vector<std::string> patterns;  // {"*.png", "*.bmp"}
};

enum class ChooserResult { Chosen, Cancelled, Unavailable };

// The chooser's command line for zenity or kdialog (the tool's name is argv[0]).
std::vector<std::string> FileChooserCommand(const std::string& tool, bool open,
                                            const std::vector<FileFilter>& filters);

// Shows an open (open) or save chooser and waits for it. Unavailable when neither tool is
// installed or the one found could not be started; why says which.
ChooserResult FileChooserRun(bool open, const std::vector<FileFilter>& filters, std::string& chosen,
                             std::string& why);

}  // namespace platform

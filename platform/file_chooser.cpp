#include "platform/file_chooser.h"

#include "platform/process.h"

namespace platform {

namespace {

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
    std::string out;
    for (const std::string& p : parts) out += (out.empty() ? "" : separator) + p;
    return out;
}

}  // namespace

std::vector<std::string> FileChooserCommand(const std::string& tool, bool open,
                                            const std::vector<FileFilter>& filters) {
    std::vector<std::string> cmd{tool};
    if (tool == "kdialog") {
        cmd.push_back(open ? "--getopenfilename" : "--getsavefilename");
        cmd.push_back(".");
        // kdialog: one "patterns|description" per line.
        std::vector<std::string> lines;
        for (const FileFilter& f : filters)
            lines.push_back(Joined(f.patterns, " ") + "|" + f.description);
        if (!lines.empty()) cmd.push_back(Joined(lines, "\n"));
        return cmd;
    }
    cmd.push_back("--file-selection");
    if (!open) {
        cmd.push_back("--save");
        cmd.push_back("--confirm-overwrite");
    }
    for (const FileFilter& f : filters)
        cmd.push_back("--file-filter=" + f.description + " | " + Joined(f.patterns, " "));
    return cmd;
}

ChooserResult FileChooserRun(bool open, const std::vector<FileFilter>& filters, std::string& chosen,
                             std::string& why) {
    chosen.clear();
    std::string tool;
    for (const char* t : {"zenity", "kdialog"}) {
        if (!ProgramFind(t).empty()) {
            tool = t;
            break;
        }
    }
    if (tool.empty()) {
        why = "no file chooser: neither zenity nor kdialog is installed";
        return ChooserResult::Unavailable;
    }
    int out = -1;
    const int pid = ProcessStart(FileChooserCommand(tool, open, filters), true, &out);
    if (pid < 0) {
        why = tool + " could not be started";
        return ChooserResult::Unavailable;
    }
    std::string text = DescriptorReadAll(out, 64 * 1024);
    const int code = ProcessWait(pid);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    // Both tools print the chosen path and exit with 0; cancel and close exit with 1.
    if (code != 0 || text.empty()) return ChooserResult::Cancelled;
    chosen = text;
    return ChooserResult::Chosen;
}

}  // namespace platform

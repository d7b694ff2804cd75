// sbxpack: packs media files into a shoebox archive, lists and unpacks archives, and
// appends an archive to an executable so the program finds its media inside itself.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/sbxpack/sbx_pack.h"

// The runtime library names the game's entry; this tool has none.
void GameMain() {}

namespace {

constexpr int kOk = 0;
constexpr int kUsage = 1;
constexpr int kFailed = 2;

const char* kUsageText =
    "usage:\n"
    "  sbxpack pack <folder|file>... -o <archive>   pack files (folders are walked)\n"
    "  sbxpack list <archive>                       show the entries\n"
    "  sbxpack extract <archive> <folder>           unpack every entry into folder\n"
    "  sbxpack append <archive> <executable>        append archive to executable\n"
    "\n"
    "Entries are named by their file's base name; lookups ignore ASCII case, so two\n"
    "files whose names differ only in case cannot be packed together.\n"
    "An archive may be a file of its own or appended to a program (list and extract\n"
    "read both).\n"
    "exit codes: 0 done, 1 usage error, 2 input/output or format error\n";

int Usage(const char* why) {
    if (why) std::fprintf(stderr, "sbxpack: %s\n", why);
    std::fputs(kUsageText, stderr);
    return kUsage;
}

int Failed(const std::string& error) {
    std::fprintf(stderr, "sbxpack: %s\n", error.c_str());
    return kFailed;
}

// One line, rewritten in place, for runs long enough to want it.
sbxpack::Progress ProgressLine(const char* verb) {
    return [verb](size_t done, size_t total) {
        if (total < 100) return;
        if (done % 50 != 0 && done != total) return;
        std::fprintf(stderr, "\r%s %zu/%zu files", verb, done, total);
        if (done == total) std::fputc('\n', stderr);
        std::fflush(stderr);
    };
}

int Pack(const std::vector<std::string>& args) {
    std::vector<std::string> inputs;
    std::string out;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o") {
            if (i + 1 >= args.size()) return Usage("-o needs an archive name");
            if (!out.empty()) return Usage("-o given twice");
            out = args[++i];
        } else {
            inputs.push_back(args[i]);
        }
    }
    if (out.empty()) return Usage("pack needs -o <archive>");
    if (inputs.empty()) return Usage("pack needs files or folders");
    std::vector<sbxpack::InputFile> files;
    std::string error;
    if (!sbxpack::CollectInputs(inputs, files, error)) return Failed(error);
    if (!sbxpack::Pack(files, out, ProgressLine("packed"), error)) return Failed(error);
    std::printf("%zu entries packed into %s\n", files.size(), out.c_str());
    return kOk;
}

int List(const std::string& archive) {
    std::vector<sbxpack::ListedEntry> entries;
    std::string error;
    if (!sbxpack::List(archive, entries, error)) return Failed(error);
    std::printf("%12s %12s %12s  %s\n", "offset", "stored", "unpacked", "name");
    for (const sbxpack::ListedEntry& e : entries)
        std::printf("%12lld %12u %12u  %s\n", static_cast<long long>(e.dataOffset), e.storedSize,
                    e.unpackedSize, e.name.c_str());
    std::printf("%zu entries\n", entries.size());
    return kOk;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return Usage(nullptr);
    const std::string cmd = args[0];
    args.erase(args.begin());
    if (cmd == "-h" || cmd == "--help" || cmd == "help") {
        std::fputs(kUsageText, stdout);
        return kOk;
    }
    if (cmd == "pack") return Pack(args);
    if (cmd == "list") {
        if (args.size() != 1) return Usage("list takes one archive");
        return List(args[0]);
    }
    if (cmd == "extract") {
        if (args.size() != 2) return Usage("extract takes an archive and a folder");
        std::string error;
        if (!sbxpack::Extract(args[0], args[1], ProgressLine("extracted"), error))
            return Failed(error);
        return kOk;
    }
    if (cmd == "append") {
        if (args.size() != 2) return Usage("append takes an archive and an executable");
        std::string error;
        if (!sbxpack::Append(args[0], args[1], error)) return Failed(error);
        std::printf("appended %s to %s\n", args[0].c_str(), args[1].c_str());
        return kOk;
    }
    return Usage(("unknown command: " + cmd).c_str());
}

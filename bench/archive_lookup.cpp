// Media lookup cost: resolving the last entry of archives of 10 and 1,000 entries (the
// directory is walked from the start on every lookup), and unpacking one entry through the
// lookup against liblzo2 called directly on the same stored data, and a loader's read of an
// entry through a temporary file against the read into memory.
#include <benchmark/benchmark.h>
#include <lzo/lzo1x.h>

#include <filesystem>
#include <random>
#include <string>

#include "files/archive.h"
#include "files/archive_format.h"
#include "files/extract_folder.h"
#include "platform/files.h"
#include "platform/log_file.h"
#include "tests/files/sbx_test_archive.h"

namespace {

std::string Folder() {
    static std::string dir = [] {
        std::string d = platform::PrivateFolderCreate(platform::TempFolder(), "sbxbench-");
        return d;
    }();
    return dir;
}

std::string Content(size_t n, unsigned seed) {
    std::mt19937 r(seed);
    std::string s(n, '\0');
    // Text-like: compressible, but not trivially.
    for (char& c : s) c = static_cast<char>('a' + r() % 12);
    return s;
}

std::string MakeArchive(int entries, size_t lastSize) {
    std::string path = Folder() + "/a" + std::to_string(entries) + "_" + std::to_string(lastSize);
    if (platform::FileIsReadable(path)) return path;
    std::vector<sbxtest::Entry> list;
    for (int i = 0; i < entries; ++i) {
        size_t n = i + 1 == entries ? lastSize : 64;
        list.push_back(sbxtest::Packed("entry_" + std::to_string(i) + ".png", Content(n, i)));
    }
    platform::FileWriteWhole(path, sbxtest::Build(list));
    return path;
}

void BM_ResolveLastEntry(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    ArchiveSlot slot;
    ArchiveSlotReset(slot, MakeArchive(entries, 64));
    const std::string name = "media/entry_" + std::to_string(entries - 1) + ".PNG";
    std::string path;
    for (auto _ : state) {
        if (ArchiveResolve(slot, name, path) != 1) state.SkipWithError("lookup failed");
        benchmark::DoNotOptimize(path);
    }
    ArchiveSlotClean(slot);
}
BENCHMARK(BM_ResolveLastEntry)->Arg(10)->Arg(1000)->Unit(benchmark::kMicrosecond);

// Directory walk alone, from memory: the part of a lookup that grows with the entry count.
void BM_FindInMemory(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    std::string bytes;
    platform::FileReadWhole(MakeArchive(entries, 64), bytes, 1u << 30);
    MemoryArchiveSource src(bytes);
    int32_t d = 0;
    ArchiveTrailerRead(src, d);
    const std::string name = "entry_" + std::to_string(entries - 1) + ".png";
    ArchiveEntry e;
    for (auto _ : state) benchmark::DoNotOptimize(ArchiveFind(src, d, name, e));
}
BENCHMARK(BM_FindInMemory)->Arg(10)->Arg(1000)->Unit(benchmark::kMicrosecond);

constexpr size_t kBig = 4u << 20;

// A 4 MiB entry through the whole lookup: walk, unpack, write the temporary file.
void BM_ResolveUnpack4MiB(benchmark::State& state) {
    ArchiveSlot slot;
    ArchiveSlotReset(slot, MakeArchive(10, kBig));
    std::string path;
    for (auto _ : state) {
        if (ArchiveResolve(slot, "entry_9.png", path) != 1) state.SkipWithError("lookup failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBig));
    ArchiveSlotClean(slot);
}
BENCHMARK(BM_ResolveUnpack4MiB)->Unit(benchmark::kMillisecond);

// What a picture loader pays for a 4 MiB entry: its bytes in memory. Through the temporary
// file (resolve, then read the file back) against the read that unpacks into memory.
void BM_LoaderBytesViaTempFile4MiB(benchmark::State& state) {
    ArchiveSlot slot;
    ArchiveSlotReset(slot, MakeArchive(10, kBig));
    std::string path, bytes;
    for (auto _ : state) {
        if (ArchiveResolve(slot, "entry_9.png", path) != 1 ||
            !platform::FileReadWhole(path, bytes, 1u << 30))
            state.SkipWithError("lookup failed");
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBig));
    ArchiveSlotClean(slot);
}
BENCHMARK(BM_LoaderBytesViaTempFile4MiB)->Unit(benchmark::kMillisecond);

void BM_LoaderBytesInMemory4MiB(benchmark::State& state) {
    ArchiveSlot slot;
    ArchiveSlotReset(slot, MakeArchive(10, kBig));
    std::string bytes;
    for (auto _ : state) {
        if (!ArchiveRead(slot, "entry_9.png", bytes)) state.SkipWithError("lookup failed");
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBig));
}
BENCHMARK(BM_LoaderBytesInMemory4MiB)->Unit(benchmark::kMillisecond);

// The runtime's unpack of the same block from memory, and liblzo2 called directly.
void BM_UnpackBlock4MiB(benchmark::State& state) {
    const std::string block = sbxtest::Block(Content(kBig, 9));
    std::string out;
    for (auto _ : state) {
        ArchiveUnpackBlock(reinterpret_cast<const unsigned char*>(block.data()), block.size(), out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBig));
}
BENCHMARK(BM_UnpackBlock4MiB)->Unit(benchmark::kMillisecond);

void BM_LzoDirect4MiB(benchmark::State& state) {
    lzo_init();
    const std::string block = sbxtest::Block(Content(kBig, 9));
    std::string out(kBig, '\0');
    for (auto _ : state) {
        lzo_uint len = kBig;
        lzo1x_decompress_safe(reinterpret_cast<const unsigned char*>(block.data()) + 4,
                              block.size() - 4, reinterpret_cast<unsigned char*>(out.data()), &len,
                              nullptr);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBig));
}
BENCHMARK(BM_LzoDirect4MiB)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(Folder(), ec);
    ExtractFolderRemove();
    return 0;
}

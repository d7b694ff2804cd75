// Core value types in the loops games write: appending one character at a time, building text
// from text and numbers, drawing random numbers and indexing a 4-dimensional array.
// Google Benchmark supplies main().
#define CORVANE_OWN_MAIN
#include <benchmark/benchmark.h>

#include <string>

#include "corvane.h"

static void BM_AppendOneCharacter(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        RtString s;
        for (int i = 0; i < n; ++i) s += "x";
        benchmark::DoNotOptimize(s.Text());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AppendOneCharacter)->Arg(100)->Arg(10000);

// The same loop over std::string, for scale.
static void BM_AppendOneCharacterStdString(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::string s;
        for (int i = 0; i < n; ++i) s += "x";
        benchmark::DoNotOptimize(s.data());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AppendOneCharacterStdString)->Arg(100)->Arg(10000);

static void BM_ConcatenateTextAndNumbers(benchmark::State& state) {
    double x = 12.5;
    for (auto _ : state) {
        RtString s = RtString("x=") + x + " y=" + 640 + " name=" + RtString("tile");
        benchmark::DoNotOptimize(s.Text());
        x += 0.25;
    }
}
BENCHMARK(BM_ConcatenateTextAndNumbers);

static void BM_RandomGet(benchmark::State& state) {
    RandomSeed(1234);
    double sum = 0;
    for (auto _ : state) sum += RandomGet(1000);
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_RandomGet);

static void BM_Index4D(benchmark::State& state) {
    RtNumberArray a;
    ArrayDim(a, 8, 8, 8, 8);
    for (auto _ : state) {
        double sum = 0;
        for (int i4 = 0; i4 < 8; ++i4)
            for (int i3 = 0; i3 < 8; ++i3)
                for (int i2 = 0; i2 < 8; ++i2)
                    for (int i1 = 0; i1 < 8; ++i1) sum += a(i1, i2, i3, i4);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 4096);
}
BENCHMARK(BM_Index4D);

BENCHMARK_MAIN();

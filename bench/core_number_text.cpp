// Number-to-text and text-to-number throughput of the runtime's conversions, each next to
// the C library routine that does the nearest job (%.10g, %d, strtod, atoi), so the ratio
// stays meaningful on a busy machine.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "core/rt_string.h"

namespace {

// A mix like game code produces: small integers, coordinates with fractions, tiny and huge
// values in exponent form.
const std::vector<double>& Values() {
    static const std::vector<double> v = [] {
        std::mt19937_64 rng(11);
        std::uniform_real_distribution<double> unit(-1, 1);
        std::uniform_int_distribution<int> small(-1000, 1000), exp(-30, 30);
        std::vector<double> out;
        for (int i = 0; i < 4096; ++i) {
            switch (i % 4) {
                case 0:
                    out.push_back(small(rng));
                    break;
                case 1:
                    out.push_back(std::round(unit(rng) * 64000) / 100);
                    break;
                case 2:
                    out.push_back(unit(rng));
                    break;
                default:
                    out.push_back(unit(rng) * std::pow(10.0, exp(rng)));
                    break;
            }
        }
        return out;
    }();
    return v;
}

const std::vector<std::string>& Texts() {
    static const std::vector<std::string> t = [] {
        std::vector<std::string> out;
        char buf[kNumberTextMax];
        for (double v : Values()) {
            FormatReal(v, buf);
            out.emplace_back(buf);
        }
        return out;
    }();
    return t;
}

void BM_FormatReal(benchmark::State& state) {
    const auto& v = Values();
    char buf[kNumberTextMax];
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatReal(v[i++ & 4095], buf));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_SnprintfG10(benchmark::State& state) {
    const auto& v = Values();
    char buf[64];
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::snprintf(buf, sizeof buf, "%.10g", v[i++ & 4095]));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_FormatInt(benchmark::State& state) {
    char buf[kNumberTextMax];
    int32_t n = -123456;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatInt(n, buf));
        n += 7919;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_SnprintfD(benchmark::State& state) {
    char buf[32];
    int32_t n = -123456;
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::snprintf(buf, sizeof buf, "%d", n));
        n += 7919;
    }
    state.SetItemsProcessed(state.iterations());
}

// What a game statement pays: a string built from a number (64-byte reserve included).
void BM_RtStringFromDouble(benchmark::State& state) {
    const auto& v = Values();
    size_t i = 0;
    for (auto _ : state) {
        RtString s(v[i++ & 4095]);
        benchmark::DoNotOptimize(s.Length());
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_ParseReal(benchmark::State& state) {
    const auto& t = Texts();
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(ParseReal(t[i++ & 4095].c_str()));
    state.SetItemsProcessed(state.iterations());
}

void BM_Strtod(benchmark::State& state) {
    const auto& t = Texts();
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(std::strtod(t[i++ & 4095].c_str(), nullptr));
    state.SetItemsProcessed(state.iterations());
}

void BM_ParseInt(benchmark::State& state) {
    const auto& t = Texts();
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(ParseInt(t[i++ & 4095].c_str()));
    state.SetItemsProcessed(state.iterations());
}

void BM_Atoi(benchmark::State& state) {
    const auto& t = Texts();
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(std::atoi(t[i++ & 4095].c_str()));
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_FormatReal);
BENCHMARK(BM_SnprintfG10);
BENCHMARK(BM_FormatInt);
BENCHMARK(BM_SnprintfD);
BENCHMARK(BM_RtStringFromDouble);
BENCHMARK(BM_ParseReal);
BENCHMARK(BM_Strtod);
BENCHMARK(BM_ParseInt);
BENCHMARK(BM_Atoi);

}  // namespace

BENCHMARK_MAIN();

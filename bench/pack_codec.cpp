// The pack codec against zlib on the same data: decoding speed against inflate, and the size
// of the encoder's blocks against deflate at level 9.
#include "runtime/core/block_decoder.h"
#include "runtime/core/block_encoder.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {
std::vector<uint8_t> ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

// Every licence text of the system, in name order, one after the other.
std::vector<uint8_t> Licences()
{
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator("/usr/share/common-licenses"))
        if (entry.is_regular_file() && !entry.is_symlink())
            paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    std::vector<uint8_t> all;
    for (const auto& path : paths) {
        std::vector<uint8_t> text = ReadFile(path);
        all.insert(all.end(), text.begin(), text.end());
    }
    return all;
}

// 512 x 512 pixels of blue, green, red, alpha: a soft cell on a magenta key, a wavy membrane
// and a little grain, as the game's frames hold them once decoded.
std::vector<uint8_t> CellPixels()
{
    constexpr int SIDE = 512;
    std::vector<uint8_t> pixels;
    pixels.reserve(SIDE * SIDE * 4);
    uint32_t seed = 1;
    for (int y = 0; y < SIDE; ++y) {
        for (int x = 0; x < SIDE; ++x) {
            double dx = x - SIDE / 2.0, dy = y - SIDE / 2.0;
            double r = std::sqrt(dx * dx + dy * dy) / (SIDE / 2.0);
            double wave = 0.04 * std::sin(std::atan2(dy, dx) * 7);
            seed = seed * 1103515245u + 12345u;
            int grain = int(seed >> 29);
            if (r > 0.9 + wave) {
                pixels.insert(pixels.end(), {0xFF, 0x00, 0xFF, 0xFF});
                continue;
            }
            int shade = int(255 * (1 - r * r));
            pixels.insert(pixels.end(), {uint8_t(shade / 3 + grain), uint8_t(shade),
                                         uint8_t(shade / 2 + grain), uint8_t(160 + r * 40)});
        }
    }
    return pixels;
}

struct Sample {
    std::string name;
    std::vector<uint8_t> data;
    std::vector<uint8_t> block;    // ours
    std::vector<uint8_t> deflated; // zlib level 9
};

std::vector<uint8_t> Deflate9(const std::vector<uint8_t>& data)
{
    uLongf size = compressBound(uLong(data.size()));
    std::vector<uint8_t> out(size);
    compress2(out.data(), &size, data.data(), uLong(data.size()), 9);
    out.resize(size);
    return out;
}

void Decode(benchmark::State& state, const Sample* sample)
{
    std::vector<uint8_t> out(sample->data.size());
    for (auto _ : state) {
        bool ok = DecodeBlock(sample->block.data(), sample->block.size(), out.data(), out.size());
        benchmark::DoNotOptimize(ok);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}

void Inflate(benchmark::State& state, const Sample* sample)
{
    std::vector<uint8_t> out(sample->data.size());
    for (auto _ : state) {
        uLongf size = uLongf(out.size());
        int result =
            uncompress(out.data(), &size, sample->deflated.data(), uLong(sample->deflated.size()));
        benchmark::DoNotOptimize(result);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}

void Encode(benchmark::State& state, const Sample* sample)
{
    std::vector<uint8_t> block;
    for (auto _ : state)
        PackBlock(sample->data.data(), sample->data.size(), block);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(sample->data.size()));
    state.counters["input"] = double(sample->data.size());
    state.counters["packed"] = double(block.size());
    state.counters["zlib9"] = double(sample->deflated.size());
    state.counters["packed/zlib9"] = double(block.size()) / double(sample->deflated.size());
}

// Small entries, as a cell type's definition text is: the first bytes of a sample. Working
// memory sized for large inputs would dominate here.
void EncodeSmall(benchmark::State& state, const Sample* sample)
{
    size_t size = std::min(sample->data.size(), size_t(state.range(0)));
    std::vector<uint8_t> block;
    for (auto _ : state)
        PackBlock(sample->data.data(), size, block);
    state.SetItemsProcessed(int64_t(state.iterations()));
    state.counters["packed"] = double(block.size());
}

void Deflate(benchmark::State& state, const Sample* sample)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Deflate9(sample->data));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(sample->data.size()));
    state.counters["zlib9"] = double(sample->deflated.size());
}
} // namespace

int main(int argc, char** argv)
{
    static std::vector<Sample> samples;
    samples.push_back({"GPL-3", ReadFile("/usr/share/common-licenses/GPL-3"), {}, {}});
    samples.push_back({"licences", Licences(), {}, {}});
    samples.push_back({"bash", ReadFile("/bin/bash"), {}, {}});
    samples.push_back({"pixels", CellPixels(), {}, {}});
    for (Sample& sample : samples) {
        PackBlock(sample.data.data(), sample.data.size(), sample.block);
        sample.deflated = Deflate9(sample.data);
    }
    for (const Sample& sample : samples) {
        benchmark::RegisterBenchmark(("Decode/" + sample.name).c_str(), Decode, &sample);
        benchmark::RegisterBenchmark(("Inflate/" + sample.name).c_str(), Inflate, &sample);
    }
    for (const Sample& sample : samples) {
        benchmark::RegisterBenchmark(("Encode/" + sample.name).c_str(), Encode, &sample)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Deflate9/" + sample.name).c_str(), Deflate, &sample)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("EncodeSmall/GPL-3", EncodeSmall, &samples.front())
        ->Arg(64)
        ->Arg(512)
        ->Arg(4096)
        ->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

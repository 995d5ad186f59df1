#include "resources/Blowfish.h"
#include "resources/CArchiveWriter.h"
#include "resources/CFileManager.h"

#include <benchmark/benchmark.h>

#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/blowfish.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kBufferBytes = 1 << 20;

void BM_BlowfishDecrypt(benchmark::State& state) {
    Blowfish cipher;
    cipher.SetKey(RandomKey());
    std::vector<std::uint8_t> data(kBufferBytes, 0x5A);
    for (auto _ : state) {
        cipher.Decrypt(data.data(), data.size());
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_BlowfishDecrypt);

void BM_OpenSslBlowfishEcbDecrypt(benchmark::State& state) {
    const std::string key = RandomKey();
    BF_KEY schedule;
    BF_set_key(&schedule, static_cast<int>(key.size()), reinterpret_cast<const unsigned char*>(key.data()));
    std::vector<std::uint8_t> data(kBufferBytes, 0x5A);
    for (auto _ : state) {
        for (std::size_t i = 0; i < data.size(); i += 8) {
            BF_ecb_encrypt(data.data() + i, data.data() + i, &schedule, BF_DECRYPT);
        }
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_OpenSslBlowfishEcbDecrypt);

void BM_BlowfishSetKey(benchmark::State& state) {
    const std::string key = RandomKey();
    Blowfish cipher;
    for (auto _ : state) {
        cipher.SetKey(key);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BlowfishSetKey);

// A data folder that lives as long as the program.
struct BenchFolder {
    fs::path path = fs::temp_directory_path() / ("morvane-bench-" + std::to_string(getpid()));
    BenchFolder() { fs::create_directories(path); }
    ~BenchFolder() { fs::remove_all(path); }
};

const fs::path& ArchiveFolder(std::size_t entries, std::size_t fileBytes) {
    static BenchFolder folder;
    static std::vector<std::pair<std::pair<std::size_t, std::size_t>, fs::path>> made;
    for (const auto& [shape, path] : made) {
        if (shape == std::pair{entries, fileBytes}) {
            return path;
        }
    }
    const fs::path path = folder.path / (std::to_string(entries) + "x" + std::to_string(fileBytes));
    fs::create_directories(path);
    CArchiveWriter writer("resource.000");
    const std::vector<std::uint8_t> content(fileBytes, 0x42);
    for (std::size_t i = 0; i < entries; ++i) {
        writer.Add("textures\\set" + std::to_string(i % 16), "file" + std::to_string(i) + ".png", content);
    }
    writer.Write(path / "resource.000");
    made.emplace_back(std::pair{entries, fileBytes}, path);
    return made.back().second;
}

void BM_ScanArchive10000Entries(benchmark::State& state) {
    const fs::path& folder = ArchiveFolder(10000, 16);
    for (auto _ : state) {
        CFileManager files(folder);
        benchmark::DoNotOptimize(files.Entries().data());
    }
}
BENCHMARK(BM_ScanArchive10000Entries)->Unit(benchmark::kMillisecond);

void BM_LoadFile1MiB(benchmark::State& state) {
    const CFileManager files(ArchiveFolder(1, kBufferBytes));
    for (auto _ : state) {
        std::vector<std::uint8_t> content = files.LoadFile("data\\textures\\set0\\file0.png");
        benchmark::DoNotOptimize(content.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBufferBytes));
}
BENCHMARK(BM_LoadFile1MiB)->Unit(benchmark::kMillisecond);

} // namespace

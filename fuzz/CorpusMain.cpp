// Replays a fuzz target's corpus folder through its entry point without
// libFuzzer, so the ordinary test suite keeps every seed and every input that
// once found a fault passing. A fault aborts the run (or, in a sanitizer
// build, is reported by the sanitizer); the last name printed is the input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    std::vector<std::filesystem::path> inputs;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1], error)) {
        if (entry.is_regular_file()) {
            inputs.push_back(entry.path());
        }
    }
    // A target without inputs would pass while testing nothing.
    if (inputs.empty()) {
        std::fprintf(stderr, "%s holds no inputs%s%s\n", argv[1], error ? ": " : "",
                     error ? error.message().c_str() : "");
        return 1;
    }
    std::sort(inputs.begin(), inputs.end());
    for (const std::filesystem::path& path : inputs) {
        std::ifstream in(path, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.is_open() || in.bad()) {
            std::fprintf(stderr, "%s cannot be read\n", path.c_str());
            return 1;
        }
        std::printf("%s (%zu bytes)\n", path.filename().c_str(), bytes.size());
        std::fflush(stdout);
        // A block of exactly the input's size, as libFuzzer hands it over, so
        // AddressSanitizer catches the first byte read past its end.
        const auto data = std::make_unique_for_overwrite<std::uint8_t[]>(bytes.size());
        std::copy(bytes.begin(), bytes.end(), data.get());
        LLVMFuzzerTestOneInput(data.get(), bytes.size());
    }
    std::printf("%zu inputs ran\n", inputs.size());
    return 0;
}

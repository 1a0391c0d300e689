// Runs a fuzz target once over every file of the corpus folders given, as
// libFuzzer does with -runs=0, for builds without libFuzzer (g++). Fails when
// a folder is missing or holds no input, so that a replay cannot pass by
// running nothing.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR...\n", argv[0]);
        return 2;
    }
    for (int a = 1; a < argc; ++a) {
        std::error_code error;
        std::vector<fs::path> inputs;
        for (const fs::directory_entry& entry : fs::directory_iterator(argv[a], error)) {
            if (entry.is_regular_file()) inputs.push_back(entry.path());
        }
        if (error || inputs.empty()) {
            std::fprintf(stderr, "%s: no inputs\n", argv[a]);
            return 2;
        }
        std::sort(inputs.begin(), inputs.end());
        for (const fs::path& path : inputs) {
            std::ifstream in(path, std::ios::binary);
            std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            // A block of exactly the input's size, so that AddressSanitizer
            // sees a read past its end.
            std::unique_ptr<std::uint8_t[]> data(new std::uint8_t[bytes.size() ? bytes.size() : 1]);
            std::copy(bytes.begin(), bytes.end(), data.get());
            LLVMFuzzerTestOneInput(data.get(), bytes.size());
        }
        std::printf("%s: %zu inputs replayed\n", argv[a], inputs.size());
    }
    return 0;
}

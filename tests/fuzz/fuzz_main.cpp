// The regression driver for a fuzz target when it is built without libFuzzer (g++ in CI): runs
// the target over every file of its starting corpus, then over N pseudo-random inputs from a
// fixed starting state, most of them edits of the corpus files with the pieces of sensor.dict,
// so the same inputs come every run.
//
//   sondix_fuzz_<target> [N]       the corpus and N generated inputs (default 2000)
//   sondix_fuzz_<target> FILE...   just these inputs (a crash to reproduce)
//
// Each input is written to fuzz-failure-<target>.bin in the working folder before it runs, so
// the one that broke a rule (the target aborts) is there to be run again alone.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz_support.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::string;

Bytes ReadFile(const fs::path& p) {
    std::ostringstream b;
    b << std::ifstream(p, std::ios::binary).rdbuf();
    return b.str();
}

// The quoted pieces of a libFuzzer dictionary, with their \xNN escapes.
std::vector<Bytes> ReadDictionary(const fs::path& p) {
    std::vector<Bytes> tokens;
    std::ifstream in(p);
    for (std::string line; std::getline(in, line);) {
        if (line.size() < 2 || line.front() != '"' || line.back() != '"') continue;
        Bytes t;
        for (std::size_t i = 1; i + 1 < line.size(); ++i) {
            const bool hex = line.compare(i, 2, "\\x") == 0;
            t += hex ? static_cast<char>(std::stoi(line.substr(i + 2, 2), nullptr, 16)) : line[i];
            i += hex ? 3 : 0;
        }
        tokens.push_back(t);
    }
    return tokens;
}

// A corpus file with up to eight edits a noisy line or a confused sender could make (a garbled,
// lost or stray character, a piece of the protocol, another command byte or block size, a
// repeated piece, a cut), or now and then plain random bytes.
Bytes NextInput(std::mt19937_64& rng, const std::vector<Bytes>& corpus,
                const std::vector<Bytes>& tokens) {
    const auto below = [&](std::size_t n) { return n == 0 ? 0 : rng() % n; };
    const auto any = [&] { return static_cast<char>(rng()); };
    Bytes b;
    if (corpus.empty() || below(4) == 0) {
        for (std::size_t n = below(96); n > 0; --n)
            b += any();
        return b;
    }
    b = corpus[below(corpus.size())];
    for (std::size_t edits = 1 + below(8); edits > 0; --edits) {
        const std::size_t at = below(b.size() + 1);
        switch (below(8)) {
            case 0:
                if (at < b.size()) b[at] = any();
                break;
            case 1:
                b.erase(at, 1 + below(8));
                break;
            case 2:
                b.insert(at, 1, any());
                break;
            case 3:
                if (!tokens.empty()) b.insert(at, tokens[below(tokens.size())]);
                break;
            case 4:
                if (!b.empty()) b[0] = any();
                break;
            case 5:
                if (b.size() > 1) b[1] = static_cast<char>(below(4) == 0 ? 0 : below(48));
                break;
            case 6:
                b.insert(at, b.substr(std::min(at, b.size()), below(64)));
                break;
            default:
                b.resize(at);
                break;
        }
    }
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string target = fs::path(argv[0]).filename().string();
    const std::string failure = "fuzz-failure-" + target + ".bin";
    const auto run = [&](const Bytes& input) {
        std::ofstream(failure, std::ios::binary) << input;
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    };
    const bool count = argc == 2 && std::all_of(argv[1], argv[1] + std::strlen(argv[1]), ::isdigit);
    if (argc > 1 && !count) {
        for (int i = 1; i < argc; ++i)
            run(ReadFile(argv[i]));
        std::printf("%s: %d inputs passed\n", target.c_str(), argc - 1);
        return 0;
    }
    std::vector<fs::path> names;
    for (const auto& e : fs::directory_iterator(SONDIX_FUZZ_CORPUS))
        names.push_back(e.path());
    std::sort(names.begin(), names.end());  // the same order on every machine
    std::vector<Bytes> corpus;
    for (const auto& f : names)
        run(corpus.emplace_back(ReadFile(f)));
    const std::size_t n = count ? std::strtoull(argv[1], nullptr, 10) : 2000;
    std::mt19937_64 rng(20261206);
    const std::vector<Bytes> tokens = ReadDictionary(SONDIX_FUZZ_DICT);
    for (std::size_t i = 0; i < n; ++i)
        run(NextInput(rng, corpus, tokens));
    fs::remove(failure);
    std::printf("%s: %zu corpus files and %zu generated inputs passed\n", target.c_str(),
                corpus.size(), n);
    return 0;
}

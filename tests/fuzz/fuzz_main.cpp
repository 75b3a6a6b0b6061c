// The regression driver for a fuzz target when it is built without libFuzzer (g++ in CI): runs
// the target over every file of its starting corpus, then over pseudo-random inputs from a fixed
// starting state, most of them edits of the corpus files with the pieces of sensor.dict, so the
// same inputs come every run.
//
//   sondix_fuzz_<target> [N] [CORPUS_DIR] [--start S]  N random inputs (default 2000)
//   sondix_fuzz_<target> FILE...                        just these inputs (a crash to reproduce)
//
// Each input is written to fuzz-failure-<target>.bin in the working folder before it runs, so
// the one that broke a rule (the target aborts) is there to be run again alone.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "fuzz_support.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::string;

Bytes ReadFile(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
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

class Generator {
  public:
    Generator(std::uint64_t start, const std::vector<Bytes>& corpus, std::vector<Bytes> tokens)
        : rng_(start), corpus_(corpus), tokens_(std::move(tokens)) {}

    Bytes Next() {
        if (corpus_.empty() || Below(4) == 0) return Random(Below(96));
        Bytes b = corpus_[Below(corpus_.size())];
        for (std::size_t edits = 1 + Below(8); edits > 0; --edits)
            Edit(b);
        return b;
    }

  private:
    std::size_t Below(std::size_t n) { return n == 0 ? 0 : rng_() % n; }
    char AnyByte() { return static_cast<char>(rng_()); }
    Bytes Random(std::size_t n) {
        Bytes b(n, '\0');
        std::generate(b.begin(), b.end(), [this] { return AnyByte(); });
        return b;
    }

    void Edit(Bytes& b) {
        const std::size_t at = Below(b.size() + 1);
        switch (Below(8)) {
            case 0:  // a garbled character
                if (at < b.size()) b[at] = AnyByte();
                break;
            case 1:  // a lost run of characters
                b.erase(at, 1 + Below(8));
                break;
            case 2:  // a stray character
                b.insert(at, 1, AnyByte());
                break;
            case 3:  // a piece of the protocol
                if (!tokens_.empty()) b.insert(at, tokens_[Below(tokens_.size())]);
                break;
            case 4:  // another pending command or settings
                if (!b.empty()) b[0] = AnyByte();
                break;
            case 5:  // another block size
                if (b.size() > 1) b[1] = static_cast<char>(Below(4) == 0 ? 0 : Below(48));
                break;
            case 6:  // a repeated piece
                b.insert(at, b.substr(std::min(at, b.size()), Below(64)));
                break;
            default:  // cut short
                b.resize(at);
                break;
        }
    }

    std::mt19937_64 rng_;
    const std::vector<Bytes>& corpus_;
    std::vector<Bytes> tokens_;
};

}  // namespace

int main(int argc, char** argv) {
    const std::string target = fs::path(argv[0]).filename().string();
    const std::string failure = "fuzz-failure-" + target + ".bin";
    const auto run = [&](const Bytes& input) {
        std::ofstream(failure, std::ios::binary) << input;
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    };
    std::size_t n = 2000;
    std::uint64_t start = 20261206;
    fs::path corpusDir = SONDIX_FUZZ_CORPUS;
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--start" && i + 1 < argc) {
            start = std::strtoull(argv[++i], nullptr, 10);
        } else if (!arg.empty() && std::all_of(arg.begin(), arg.end(), ::isdigit)) {
            n = std::strtoull(arg.c_str(), nullptr, 10);
        } else if (fs::is_directory(arg)) {
            corpusDir = arg;
        } else if (fs::is_regular_file(arg)) {
            files.emplace_back(arg);
        } else {
            std::fprintf(stderr, "%s: no such input: %s\n", target.c_str(), arg.c_str());
            return 2;
        }
    }
    if (!files.empty()) {
        for (const auto& f : files)
            run(ReadFile(f));
        std::printf("%s: %zu inputs passed\n", target.c_str(), files.size());
        return 0;
    }
    std::vector<fs::path> names;
    for (const auto& e : fs::directory_iterator(corpusDir))
        names.push_back(e.path());
    std::sort(names.begin(), names.end());  // the same order on every machine
    std::vector<Bytes> corpus;
    for (const auto& f : names)
        corpus.push_back(ReadFile(f));
    for (const Bytes& s : corpus)
        run(s);
    Generator gen(start, corpus, ReadDictionary(SONDIX_FUZZ_DICT));
    for (std::size_t i = 0; i < n; ++i)
        run(gen.Next());
    fs::remove(failure);
    std::printf("%s: %zu corpus files and %zu generated inputs passed\n", target.c_str(),
                corpus.size(), n);
    return 0;
}

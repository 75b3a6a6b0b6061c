// The regression driver for a fuzz target when it is built without libFuzzer (g++ in CI): runs
// the target over every file of its starting corpus, then over pseudo-random inputs from a fixed
// starting state, half of them edits of the corpus files with the protocol's own pieces, so the
// same inputs come every run.
//
//   sondix_fuzz_<target> [N] [CORPUS_DIR] [--start S]  N random inputs (default 2000)
//   sondix_fuzz_<target> FILE...                        just these inputs (a crash to reproduce)
//
// A broken rule aborts; the input that broke it is then written to fuzz-failure-<target>.bin in
// the working folder, so that it can be run again alone.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Pieces of the sensor's answers and listings: a random edit that inserts one of them reaches
// the readers' framing far more often than a random byte would.
constexpr std::array<std::string_view, 30> kTokens{"NWORDS=",
                                                   "NWORDS=0512",
                                                   "NWORDS=1024",
                                                   "NWORDS=2048",
                                                   "NWORDS=4096",
                                                   "  ***  ",
                                                   "\r\n",
                                                   "\r",
                                                   "\n",
                                                   "\b",
                                                   "SPECTRUM MODAMP DECIMAL ",
                                                   "S=",
                                                   "stat=",
                                                   "Dist=",
                                                   "Vel =",
                                                   "f =",
                                                   "Favr=",
                                                   "Fdif=",
                                                   "Timer=",
                                                   "SampleT =",
                                                   "Dist    =",
                                                   "Freq    =",
                                                   "RAMP UP  ",
                                                   "RAMP DOWN",
                                                   "=",
                                                   "&H",
                                                   "1E+308",
                                                   "-",
                                                   "0000",
                                                   "SYSTEM LOGO:\r\n"};

// The crash report needs the input from inside a signal handler, which can reach nothing but
// static storage: the one place this driver keeps state outside main.
struct CrashNote {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    char path[512] = {};
};
CrashNote g_crash;

void OnFatalSignal(int sig) {
    const int fd = ::open(g_crash.path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
        if (g_crash.size > 0) (void)!::write(fd, g_crash.data, g_crash.size);
        ::close(fd);
        constexpr char kMsg[] = "fuzz: the failing input is in ";
        (void)!::write(STDERR_FILENO, kMsg, sizeof kMsg - 1);
        (void)!::write(STDERR_FILENO, g_crash.path, std::char_traits<char>::length(g_crash.path));
        (void)!::write(STDERR_FILENO, "\n", 1);
    }
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void InstallCrashReport(std::string_view target) {
    const std::string path = "fuzz-failure-" + std::string(target) + ".bin";
    path.copy(g_crash.path, sizeof g_crash.path - 1);
    for (const int sig : {SIGABRT, SIGSEGV, SIGFPE, SIGBUS, SIGILL})
        std::signal(sig, OnFatalSignal);
}

void RunOne(const Bytes& input) {
    g_crash.data = input.data();
    g_crash.size = input.size();
    LLVMFuzzerTestOneInput(input.data(), input.size());
}

Bytes ReadFile(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

std::vector<Bytes> ReadCorpus(const fs::path& dir) {
    std::vector<fs::path> files;
    if (fs::is_directory(dir)) {
        for (const auto& e : fs::directory_iterator(dir))
            if (e.is_regular_file()) files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());  // the same order on every machine
    std::vector<Bytes> corpus;
    for (const auto& f : files)
        corpus.push_back(ReadFile(f));
    return corpus;
}

class Generator {
  public:
    Generator(std::uint64_t start, const std::vector<Bytes>& corpus)
        : rng_(start), corpus_(corpus) {}

    Bytes Next() {
        if (corpus_.empty() || Below(4) == 0) return RandomBytes(Below(96));
        Bytes b = corpus_[Below(corpus_.size())];
        const std::size_t edits = 1 + Below(8);
        for (std::size_t i = 0; i < edits; ++i)
            Edit(b);
        return b;
    }

  private:
    std::size_t Below(std::size_t n) { return n == 0 ? 0 : rng_() % n; }
    std::uint8_t AnyByte() { return static_cast<std::uint8_t>(rng_()); }

    Bytes RandomBytes(std::size_t n) {
        Bytes b(n);
        for (auto& x : b)
            x = AnyByte();
        return b;
    }

    void Edit(Bytes& b) {
        const std::size_t at = Below(b.size() + 1);
        switch (Below(8)) {
            case 0:  // a garbled character
                if (at < b.size()) b[at] = AnyByte();
                break;
            case 1:  // a lost run of characters
                b.erase(b.begin() + static_cast<long>(at),
                        b.begin() + static_cast<long>(std::min(b.size(), at + 1 + Below(8))));
                break;
            case 2:  // a stray character
                b.insert(b.begin() + static_cast<long>(at), AnyByte());
                break;
            case 3: {  // a piece of the protocol
                const std::string_view t = kTokens[Below(kTokens.size())];
                b.insert(b.begin() + static_cast<long>(at), t.begin(), t.end());
                break;
            }
            case 4:  // another pending command or settings
                if (!b.empty()) b[0] = AnyByte();
                break;
            case 5:  // another block size
                if (b.size() > 1) b[1] = static_cast<std::uint8_t>(Below(4) == 0 ? 0 : Below(48));
                break;
            case 6: {  // a repeated piece
                const std::size_t len = std::min(b.size() - std::min(at, b.size()), Below(64));
                const Bytes piece(b.begin() + static_cast<long>(at),
                                  b.begin() + static_cast<long>(at + len));
                b.insert(b.begin() + static_cast<long>(at), piece.begin(), piece.end());
                break;
            }
            default:  // cut short
                b.resize(at);
                break;
        }
    }

    std::mt19937_64 rng_;
    const std::vector<Bytes>& corpus_;
};

struct Args {
    std::size_t n = 2000;
    fs::path corpus;
    std::uint64_t start = 20261206;
    std::vector<fs::path> files;
};

Args ParseArgs(int argc, char** argv, const char* defaultCorpus) {
    Args a;
    a.corpus = defaultCorpus;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--start" && i + 1 < argc) {
            a.start = std::strtoull(argv[++i], nullptr, 10);
        } else if (!arg.empty() && std::all_of(arg.begin(), arg.end(), ::isdigit)) {
            a.n = std::strtoull(arg.c_str(), nullptr, 10);
        } else if (fs::is_directory(arg)) {
            a.corpus = arg;
        } else {
            a.files.emplace_back(arg);
        }
    }
    return a;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string target = fs::path(argv[0]).filename().string();
    InstallCrashReport(target);
    const Args args = ParseArgs(argc, argv, SONDIX_FUZZ_CORPUS);

    if (!args.files.empty()) {
        for (const auto& f : args.files) {
            if (!fs::is_regular_file(f)) {
                std::fprintf(stderr, "%s: no such input: %s\n", target.c_str(), f.c_str());
                return 2;
            }
            RunOne(ReadFile(f));
        }
        std::printf("%s: %zu inputs passed\n", target.c_str(), args.files.size());
        return 0;
    }

    const auto start = std::chrono::steady_clock::now();
    const std::vector<Bytes> corpus = ReadCorpus(args.corpus);
    for (const Bytes& s : corpus)
        RunOne(s);
    Generator gen(args.start, corpus);
    for (std::size_t i = 0; i < args.n; ++i)
        RunOne(gen.Next());
    const double secs =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %zu corpus files and %zu generated inputs passed in %.2f s\n", target.c_str(),
                corpus.size(), args.n, secs);
    return 0;
}

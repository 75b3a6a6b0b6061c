// How the line splits the bytes into reads must not change what is decoded: a captured stream
// gives the same results and charts in one block as in blocks of 1, 7, 64 or 1000 bytes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>

namespace sondix {
namespace {

using Json = nlohmann::json;

Json Decode(const std::string& key, const std::string& file, int block) {
    std::string cmd = std::string(SONDIX_CLI_PATH) + " decode '" + key + "' " + SONDIX_TEST_DATA +
                      "/" + file + " --now 2024-01-02T03:04:05";
    if (block > 0) cmd += " --block " + std::to_string(block);
    std::string out;
    FILE* pipe = popen(cmd.c_str(), "r");
    char buf[4096];
    for (std::size_t n = 0; pipe != nullptr && (n = fread(buf, 1, sizeof buf, pipe)) > 0;)
        out.append(buf, n);
    if (pipe != nullptr) pclose(pipe);
    return Json::parse(out);
}

struct SplitCase {
    const char* key;
    const char* file;
    std::size_t graphs, results;
    const char* field;  // of the last chart or results line
    const char* last;   // its start
};

const SplitCase kCaptures[] = {
    {"{", "results_stream.cap", 0, 3, "txtOutputvalue", "5099.2"},
    {"[", "stream_spectra.cap", 2, 0, "footnote", "X= 5103mm"},
};

TEST(BlockSplit, EveryLineAndSpectrumIsDecodedWhateverTheBlockSize) {
    for (const SplitCase& c : kCaptures) {
        const Json whole = Decode(c.key, c.file, 0);
        ASSERT_EQ(whole["graphs"].size(), c.graphs) << c.file;
        ASSERT_EQ(whole["results"].size(), c.results) << c.file;
        const Json& last = c.graphs > 0 ? whole["graphs"].back() : whole["results"].back();
        const std::string shown = last[c.field].get<std::string>();
        EXPECT_EQ(shown.rfind(c.last, 0), 0U) << shown;
        for (const int block : {1, 7, 64, 1000}) {
            const Json split = Decode(c.key, c.file, block);
            EXPECT_EQ(split["graphs"], whole["graphs"]) << c.file << " block " << block;
            EXPECT_EQ(split["results"], whole["results"]) << c.file << " block " << block;
        }
    }
}

}  // namespace
}  // namespace sondix

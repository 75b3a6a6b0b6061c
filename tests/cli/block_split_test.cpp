// How the line splits the bytes into reads must not change what is decoded: a captured stream
// gives the same results and charts in one block as in blocks of 1, 7, 64 or 1000 bytes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "json_value.h"

namespace sondix {
namespace {

using test::JsonValue;

JsonValue Decode(const std::string& key, const std::string& file, int block) {
    std::string cmd = std::string(SONDIX_CLI_PATH) + " decode '" + key + "' " + SONDIX_TEST_DATA +
                      "/" + file + " --now 2024-01-02T03:04:05";
    if (block > 0) cmd += " --block " + std::to_string(block);
    std::string out;
    FILE* pipe = popen(cmd.c_str(), "r");
    char buf[4096];
    for (std::size_t n = 0; pipe != nullptr && (n = fread(buf, 1, sizeof buf, pipe)) > 0;)
        out.append(buf, n);
    if (pipe != nullptr) pclose(pipe);
    return test::ParseJson(out);
}

bool Same(const JsonValue& a, const JsonValue& b) {
    if (a.kind != b.kind || a.text != b.text || a.boolean != b.boolean) return false;
    if (a.items.size() != b.items.size() || a.members.size() != b.members.size()) return false;
    for (std::size_t i = 0; i < a.items.size(); ++i) {
        if (!Same(a.items[i], b.items[i])) return false;
    }
    for (const auto& [name, value] : a.members) {
        if (!b.Has(name) || !Same(value, b[name])) return false;
    }
    return true;
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
        const JsonValue whole = Decode(c.key, c.file, 0);
        ASSERT_EQ(whole["graphs"].size(), c.graphs) << c.file;
        ASSERT_EQ(whole["results"].size(), c.results) << c.file;
        const JsonValue& last =
            c.graphs > 0 ? whole["graphs"].items.back() : whole["results"].items.back();
        EXPECT_EQ(last[c.field].text.rfind(c.last, 0), 0U) << last[c.field].text;
        for (const int block : {1, 7, 64, 1000}) {
            const JsonValue split = Decode(c.key, c.file, block);
            EXPECT_TRUE(Same(split["graphs"], whole["graphs"])) << c.file << " block " << block;
            EXPECT_TRUE(Same(split["results"], whole["results"])) << c.file << " block " << block;
        }
    }
}

}  // namespace
}  // namespace sondix

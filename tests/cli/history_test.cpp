// sondix-cli decode H: the history transfer's framing and messages and the time axis as tables of
// made-up answers, the record limit, and the exported workbook read back. Whole reports of
// histories: the captures in decode_test.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "cli_run.h"
#include "xlsx_reader.h"

namespace sondix::test {
namespace {

using Json = nlohmann::json;
using Args = std::vector<std::string>;

Json Decode(const std::string& input, Args args = {}) {
    const std::string in = WriteFile("cli-history-" + std::to_string(getpid()) + ".txt", input);
    args.insert(args.begin(), {"decode", "H", in, "--now", "2026-12-07T03:00:00"});
    const CliRun r = RunCli(args);
    const Json j = Json::parse(r.out);
    EXPECT_EQ(r.exit, j["messages"].empty() ? 0 : 3) << r.err;  // 3: a box reported an error
    return j;
}

// One record line as the sensor sends it: 60 columns and CR LF.
std::string Rec(double ticks, const char* status = "00000000") {
    char line[80];
    std::snprintf(line, sizeof line, "%12.0f %-8s%6d%6d%4d%4d%2d  %4d%11d\r\n", ticks, status, 5000,
                  12000, 200, 100, 1, 250, -7);
    return line;
}

std::string Answer(const std::string& records, const std::string& listing = "Vrefcal = 3680\r\n") {
    return "H\r\nDIST\r\nDist    = 5000\r\n" + listing + "VELHIST N=9 DT=10s\r\n" + records +
           "  ***  \r\n";
}

// Sensor ticks (87.381 ms) in `minutes`.
double Ticks(double minutes) {
    return std::ceil(minutes * 60000 / 87.381);
}

// `n` records a tick apart from `t0`.
std::string Recs(int n, double t0 = 0) {
    std::string recs;
    for (int k = 0; k < n; ++k)
        recs += Rec(t0 + k);
    return recs;
}

const std::string kPad(80, 'x');
const std::string kAns = Answer(Recs(3, 1000));

// (name, input, options, the messages joined by "|", histories decoded)
const std::vector<std::tuple<const char*, std::string, Args, std::string, std::size_t>> kFraming{
    {"VelhistSplit", kAns, {"--block", "45"}, "", 1},  // the first block ends "VELH"
    {"FileGoesOnAfterMarker", kAns + "E\r\nOK\r\n" + kPad, {"--from-file"}, "", 1},
    {"LongLastBlock", kAns + kPad, {}, "", 1},
    {"MarkerSplit", kAns + kPad, {"--block", std::to_string(kAns.size() - 6)}, "", 1},
    // More than 128000 blocks of one character, each counted once.
    {"FullHistoryInSingleCharacters", Answer(Recs(2100)), {"--block", "1"}, "", 1},
    {"FileWithoutMarker", kAns.substr(0, 200), {"--from-file"}, "History - end marker missing", 0},
    {"FileWithoutHeader", Recs(3, 1000), {"--from-file"}, "History - header not found", 0},
    {"LongFileWithoutHeader",
     std::string(32000, 'x'),
     {"--from-file"},
     "History - invalid header format|History - header not found",
     0},
    {"NoLineEndAfterHeader",
     "VELHIST  ***  " + std::string(48, '-'),
     {"--from-file"},
     "Invalid history header format|History file is empty",
     0},
    {"MarkerAfterHeader", Answer(""), {}, "History file is empty", 0},
    {"NoRecordBeforeMarker", Answer("") + kPad, {"--from-file"}, "", 0},
    {"TimeNotANumber",
     Answer(Rec(1000) + "     12x4567" + Rec(1).substr(12)),
     {},
     "Type mismatch i=2 kdeb=4 vsum=5000",
     0},
    {"StatusNotHex",
     Answer(Rec(1000) + Rec(1100, "0000G000")),
     {"--from-file"},
     "Type mismatch i=2 kdeb=5 vsum=5000",
     0},
};

TEST(HistFraming, EachCaseShowsItsMessagesAndEndsIdle) {
    for (const auto& [name, input, options, messages, histories] : kFraming) {
        SCOPED_TRACE(name);
        const Json j = Decode(input, options);
        std::string texts;
        for (const Json& m : j["messages"])
            texts += (texts.empty() ? "" : "|") + m["text"].get<std::string>();
        EXPECT_EQ(texts, messages);
        EXPECT_EQ(j["history"].size(), histories);
        EXPECT_EQ(j["state"]["GraphState"], 0);
        // A fault stops the sensor and the program goes on; the framing messages send nothing.
        const bool fault = messages.starts_with("Type mismatch");
        EXPECT_EQ(j["sent"], fault ? "R" : "");
        EXPECT_TRUE(!fault || j["messages"][0]["title"] == "Sondix V3.58") << "no Hist error box";
    }
}

TEST(HistAxis, EveryRowOfTheTimeAxisTable) {
    const struct {
        double minutes, timeUnit;
        float xmax;
        int ndivs, yScale;
    } rows[] = {
        {9, 1.0 / 60, 570, 19, 10}, {10, 1, 12, 6, 10},          {49, 1, 50, 25, 10},
        {359, 1, 360, 36, 100},     {2879, 60, 48, 24, 10},      {17279, 60, 288, 24, 100},
        {46079, 1440, 32, 16, 10},  {263519, 10080, 27, 27, 10}, {300000, 525949.2 / 12, 7, 7, 10}};
    for (const auto& c : rows) {
        const Json h = Decode(Answer(Rec(500) + Rec(500 + Ticks(c.minutes))))["history"][0];
        SCOPED_TRACE(c.minutes);
        EXPECT_DOUBLE_EQ(h["TimeUnit"].get<double>(), c.timeUnit);
        EXPECT_FLOAT_EQ(h["SetScaleX"]["xmax"].get<float>(), c.xmax);
        EXPECT_EQ(h["SetScaleX"]["ndivs"], c.ndivs);
        EXPECT_EQ(h["YScale"], c.yScale);
        EXPECT_EQ(h["SetScaleY"]["ymax"], c.yScale);
    }
}

TEST(HistRecords, AtMost4096RecordsAndTheFootnoteAndTitleTimes) {
    const Json h = Decode(Answer(Recs(4100, Ticks(12.349 * 1440)), "Timer=   12106783\r\n"),
                          {"--header-str", "Unit#7"})["history"][0];
    EXPECT_EQ(h["HistCount"], 4096);
    EXPECT_EQ(h["points"].size(), 4096U);
    const std::string note = h["footnote"];
    EXPECT_TRUE(note.substr(0, note.find(", Ymax")).ends_with("Time0 =  12.34d")) << note;
    EXPECT_EQ(h["title"], "History Unit#7  2026-12-07 03:00:00  T= 12.24d");
}

// One row per record in record order (the chart takes them in time order), column A coloured
// by status, every other cell from the record.
TEST(HistWorkbook, OneRowPerRecordColumnAColouredByStatus) {
    const std::string y = "FFFFFF00";
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"history_H.cap", {}},  // statuses 0, and 2000 (loss of echo) yellow
        {"history_velocimeter.cap", {"", y, y, "FFFFA500", "FFFF0000"}}};
    const std::string book = OutPath("cli-history-" + std::to_string(getpid()) + ".xlsx");
    for (const auto& [capture, given] : cases) {
        const CliRun r =
            RunCli({"decode", "H", std::string(SONDIX_TEST_DATA) + "/" + capture, "--xlsx", book});
        const Json records = Json::parse(r.out)["history"][0]["records"];
        const auto xl = XlsxBook::Open(book);
        ASSERT_TRUE(xl) << capture;
        std::size_t coloured = 0;
        for (std::size_t k = 0; k < records.size(); ++k) {
            const Json& rec = records[k];
            const int row = static_cast<int>(k) + 2, status = rec["HistStatus"];
            char hex[16];
            std::snprintf(hex, sizeof hex, "%X", status);
            const std::string fill = given.empty() ? (status == 0 ? "" : y) : given[k];
            coloured += !fill.empty();
            SCOPED_TRACE(std::string(capture) + " row " + std::to_string(row));
            EXPECT_DOUBLE_EQ(xl->Number(row, 2), rec["HistTime"].get<double>());
            EXPECT_EQ(xl->Number(row, 3), rec["HistValue"].get<double>());
            EXPECT_EQ(xl->Number(row, 5), rec["HistLoopPct"].get<double>());
            EXPECT_EQ(xl->Number(row, 6), status == 0x2000 ? 1 : 0);
            EXPECT_EQ(xl->Number(row, 10), 1);
            EXPECT_EQ(xl->Number(row, 11), rec["HistRelays"] == 3 ? 1 : 0);
            EXPECT_EQ(xl->Text(row, 12), hex);
            EXPECT_EQ(xl->Fill(row, 1), fill);
        }
        EXPECT_EQ(xl->CellCount(), 26 + 11 * records.size() + coloured) << capture;
    }
}

}  // namespace
}  // namespace sondix::test

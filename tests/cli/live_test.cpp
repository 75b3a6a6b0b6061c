// sondix-cli's live commands against sondix-sim on a pseudo-terminal: what each prints, the
// parameter writes and their read-back, backup/diff/restore, and the exit statuses.
#include <gtest/gtest.h>

#include <atomic>
#include <nlohmann/json.hpp>
#include <thread>

#include "cli_run.h"
#include "pty_pair.h"
#include "sim_process.h"
#include "xlsx_reader.h"

namespace sondix::test {
namespace {

using Json = nlohmann::ordered_json;

// sondix-cli with `args` and --port `device`; `prefix` runs in front of it.
CliRun Cli(std::vector<std::string> args, const std::string& device,
           const std::string& prefix = "") {
    args.insert(args.end(), {"--port", device});
    return RunCli(args, "/dev/null", prefix);
}

// An unpaced sondix-sim with `o`, and the tool run on its device.
struct Sim {
    SimProcess p;
    explicit Sim(std::vector<std::string> o = {}) : p((o.insert(o.begin(), {"--baud", "0"}), o)) {}
    CliRun operator()(const std::vector<std::string>& args, const std::string& prefix = "") {
        return Cli(args, p.device(), prefix);
    }
};

// The parameters as JSON and as a table in the sensor's unit; a length set in the user's unit,
// sent in the sensor's (long-range firmware takes centimetres) and read back.
TEST(LiveCli, ParamsAndSetConvertTheUsersUnitSendAndReadBack) {
    for (const auto& [firmware, sent, shown] :
         {std::tuple{"0.40", 4000, "  4 m\n"}, {"0.47", 400, "  4.00 m\n"}}) {
        Sim sim({"--firmware", firmware});
        const Json m = Json::parse(sim({"params"}).out);
        EXPECT_EQ(std::tuple(m["SerNum"], m["Set__4"]), std::tuple(1047, 500));
        const CliRun r = sim({"set", "Set__4", "4", "--units", "2"});
        ASSERT_EQ(r.exit, 0) << firmware << r.err;
        const Json j = Json::parse(r.out);
        EXPECT_EQ(std::tuple(j["index"], j["sent"], j["value"]), std::tuple(23, sent, 4000));
        EXPECT_EQ(Json::parse(sim({"params"}).out)["Set__4"], 4000);
        EXPECT_EQ(sim({"set", "Units", "2"}).exit, 0);
        const CliRun table = sim({"params", "--units"});
        EXPECT_NE(table.out.find(std::string("Set__4        23") + shown), std::string::npos)
            << table.out;
    }
}

// Graphs as CSV, JSON and workbook, the history, a raw answer, results once and followed.
TEST(LiveCli, ReadingCommandsPrintWhatTheSensorAnswered) {
    Sim sim({"--nwords", "512", "--history-records", "50", "--results-interval", "0.2"});
    for (const auto& [cmd, lines, first] : {std::tuple{"scope", 513u, "0,"},
                                            {"spectrum", 513u, "0,"},
                                            {"ramp", 513u, "0,"},
                                            {"history", 51u, "1,0,"}}) {
        const CliRun csv = sim({cmd});
        ASSERT_EQ(csv.exit, 0) << cmd << csv.err;
        ASSERT_EQ(csv.lines.size(), lines) << cmd;
        EXPECT_EQ(csv.err, "") << cmd;  // no progress line when standard error is not a terminal
        EXPECT_TRUE(csv.lines[1].starts_with(first)) << cmd;
    }
    const std::string book = OutPath("cli-live-spectrum.xlsx-" + std::to_string(getpid()));
    const Json g = Json::parse(sim({"spectrum", "--format", "json", "--xlsx", book}).out);
    EXPECT_EQ(g["kind"], "F");
    EXPECT_EQ(g["npoints"], 512);
    const auto wb = XlsxBook::Open(book);
    ASSERT_TRUE(wb);
    EXPECT_FLOAT_EQ(wb->Number(2, 3), g["points"][0][1].get<float>());
    const Json h = Json::parse(sim({"history", "--format", "json"}).out);
    EXPECT_EQ(h["HistCount"], 50);
    EXPECT_EQ(h["records"].size(), 50u);
    EXPECT_TRUE(sim({"raw", "T", "--wait", "0.3"}).out.starts_with("T\r\nTimer="));

    const CliRun once = sim({"results"});
    ASSERT_EQ(once.lines.size(), 1u) << once.err;
    const Json j = Json::parse(once.lines[0]);
    EXPECT_EQ(j["unit"], "m");  // the simulator's long-range firmware shows unit 0 in metres
    EXPECT_GT(j["signal"].get<int>(), 0);
    const CliRun follow = sim({"results", "--follow"}, "timeout --preserve-status -s INT 1.5");
    EXPECT_EQ(follow.exit, 0) << follow.err;
    EXPECT_GE(follow.lines.size(), 3u);
    // The stream was stopped: the sensor answers a listing again.
    EXPECT_EQ(sim({"params"}).exit, 0);
}

TEST(LiveCli, BackupChangeDiffRestore) {
    Sim sim;
    const std::string file = OutPath("cli-live-backup.txt-" + std::to_string(getpid()));
    ASSERT_EQ(sim({"backup", file}).exit, 0);
    for (const auto& [name, value] :
         {std::pair{"Damping", "5"}, {"Rly1Dist", "-3"}, {"HistLog", "4"}})
        ASSERT_EQ(sim({"set", name, value}).exit, 0) << name;
    // One line a difference ("Damping: sensor 5, file 3"), the same names in a dry restore.
    const CliRun diff = sim({"diff", file}), dry = sim({"restore", file, "--dry-run"});
    EXPECT_EQ(diff.exit, 8);
    for (const CliRun* r : {&diff, &dry}) {
        ASSERT_EQ(r->lines.size(), 3u) << r->out;
        for (const auto& [k, name] : {std::pair{0, "Damping:"}, {1, "HistLog:"}, {2, "Rly1Dist:"}})
            EXPECT_TRUE(r->lines[k].starts_with(name)) << r->lines[k];
    }
    EXPECT_EQ(sim({"diff", file}).exit, 8);  // a dry run changes nothing
    EXPECT_EQ(sim({"restore", file}).exit, 0);
    const CliRun after = sim({"diff", file});
    EXPECT_EQ(after.exit, 0);
    EXPECT_EQ(after.out, "");
}

TEST(LiveCli, RestoreRefusesTheOtherVariantsFile) {
    const std::string file = OutPath("cli-live-velocimeter.txt-" + std::to_string(getpid()));
    ASSERT_EQ(Sim({"--velocimeter"})({"backup", file}).exit, 0);
    Sim sim;
    const CliRun r = sim({"restore", file});
    EXPECT_EQ(r.exit, 7);
    EXPECT_NE(r.err.find("velocimeter"), std::string::npos) << r.err;
    EXPECT_EQ(sim({"restore", file, "--force", "--dry-run"}).exit, 0);
}

// A sensor that answers "P" with the recorded listing and everything else with `answer`.
struct ScriptedSensor {
    PtyPair pty;
    std::atomic<bool> stop{false};
    std::thread t;
    explicit ScriptedSensor(std::string answer)
        : t([this, answer] {
              const std::string listing = Slurp(std::string(SONDIX_TEST_DATA) + "/listing.cap");
              while (!stop) {
                  const std::string got = pty.readMaster(1, 50);
                  if (got == "P")
                      pty.writeMaster(listing);
                  else if (!got.empty())
                      pty.writeMaster(answer);
              }
          }) {}
    ~ScriptedSensor() {
        stop = true;
        t.join();
    }
};

TEST(LiveCli, ArgumentAndLineErrors) {
    Sim sim;
    std::string broken = Slurp(std::string(SONDIX_TEST_DATA) + "/F_spectrum.cap");
    broken.erase(400, 49);  // three lines of words short: the terminator comes too early
    ScriptedSensor garbled(broken);
    PtyPair silent;
    const std::string missing = OutPath("cli-live-no-such-file-" + std::to_string(getpid()));
    // (arguments, device, exit status, what standard error says)
    const std::tuple<std::vector<std::string>, std::string, int, const char*> cases[] = {
        {{"set", "Nope", "1"}, sim.p.device(), 2, "unknown parameter Nope"},
        {{"set", "Units", "7"}, sim.p.device(), 2, "7 is not a value Units can take"},
        {{"set", "Set__4", "far"}, sim.p.device(), 2, "far is not a value"},
        {{"set", "Units"}, sim.p.device(), 2, "VALUE is required"},
        {{"raw"}, sim.p.device(), 2, "CHARS is required"},
        {{"scope", "--format", "xml"}, sim.p.device(), 2, "xml"},
        {{"params", "--settings", "9600,q,8,1"}, sim.p.device(), 2, "parity"},
        {{"params", "--timeout", "0"}, sim.p.device(), 2, "timeout"},
        {{"restore", missing}, sim.p.device(), 1, "cannot read"},
        {{"params"}, "/dev/no-such-tty", 3, "cannot open /dev/no-such-tty"},
        {{"params", "--timeout", "0.5"}, silent.slavePath(), 4, "no answer"},
        {{"spectrum"}, garbled.pty.slavePath(), 5, "Graph error"},
    };
    for (const auto& [args, device, exit, says] : cases) {
        const CliRun r = Cli(args, device);
        EXPECT_EQ(r.exit, exit) << args[0] << " " << r.err;
        EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace sondix::test

// The configuration screen through the core that `sondix-cli decode P --config` drives: any
// listing as the sensor's answer to each "P", then random typing, clicks and box answers.
// Input: byte 1 the sensor (bit 0 velocimeter, bits 1-3 the unit, bit 4 the long-range
// firmware), byte 2 the block size (0: one block); then the listing up to FF FE; then actions,
// each a byte naming the control (or a box answer) and, for a text box or the up-down, the text
// typed up to the next LF. What reaches the sensor stays within its command language: printable
// characters and CR, every write short.
#include <cstdint>
#include <string>
#include <vector>

#include "config/config_screen.h"
#include "config_action.h"
#include "config_run.h"
#include "decode_run.h"
#include "fuzz_support.h"

namespace sondix::fuzz {
namespace {

constexpr const char* kAnswers[] = {"OK", "Cancel", "Yes", "No", "Retry", "Abort", "Ignore"};

struct Named {
    std::string name;
    ControlKind kind;
};

// Built once: a screen and its names took most of each input's time.
const std::vector<Named>& ControlTable() {
    static const std::vector<Named> table = [] {
        ConfigScreen screen;
        std::vector<Named> t;
        for (const NamedControl& c : Controls(screen))
            t.push_back({c.name, c.control->kind});
        return t;
    }();
    return table;
}

cli::ConfigAction ReadAction(FuzzInput& in) {
    const std::vector<Named>& table = ControlTable();
    const std::size_t pick = in.Byte() % (table.size() + std::size(kAnswers));
    cli::ConfigAction a;
    if (pick >= table.size()) {
        a.kind = cli::ConfigAction::Kind::Answer;
        a.name = kAnswers[pick - table.size()];
        return a;
    }
    a.name = table[pick].name;
    const ControlKind kind = table[pick].kind;
    if (kind == ControlKind::Button) return a;
    a.kind = cli::ConfigAction::Kind::Set;
    if (kind == ControlKind::Option) {
        a.value = "1";
    } else if (kind == ControlKind::Check) {
        a.value = (in.Byte() & 1) ? "1" : "0";
    } else {
        while (!in.Empty()) {
            const char c = static_cast<char>(in.Byte());
            if (c == '\n') break;
            a.value += c;
        }
    }
    return a;
}

bool SensorText(const std::string& w) {
    if (w.size() > 16) return false;
    for (const char c : w) {
        const auto u = static_cast<unsigned char>(c);
        if (!(u == '\r' || (u >= 0x20 && u < 0x7F))) return false;
    }
    return true;
}

}  // namespace
}  // namespace sondix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sondix;
    using namespace sondix::fuzz;
    FuzzInput in(data, size);
    const std::uint8_t sensor = in.Byte();
    cli::DecodeOptions o;
    o.key = 'P';
    o.config = true;
    o.block = in.Byte();
    o.velocimeter = (sensor & 1) != 0;
    o.units = static_cast<float>((sensor >> 1) & 7);
    if ((sensor & 0x10) != 0) o.firmware = 0.47f;
    const std::string rest = in.Rest();
    const std::size_t mark = rest.find("\xFF\xFE");
    const std::string listing = rest.substr(0, mark);
    if (mark != std::string::npos) {
        const std::string actions = rest.substr(mark + 2);
        FuzzInput act(reinterpret_cast<const std::uint8_t*>(actions.data()), actions.size());
        while (!act.Empty() && o.configActions.size() < 64)
            o.configActions.push_back(ReadAction(act));
    }
    cli::DecodeRun run;
    cli::RunConfig(run, o, listing);
    for (const std::string& w : run.port.writes)
        Require(SensorText(w), "the sensor gets printable text in short writes", w);
    return 0;
}

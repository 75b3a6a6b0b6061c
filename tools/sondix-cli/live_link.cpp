#include "live_link.h"

#include <iostream>

#include "common/gen_text.h"
#include "config/param_exchange.h"
#include "exit_codes.h"
#include "response/parser_state.h"
#include "terminal/main_window.h"

namespace sondix::cli {
namespace {

constexpr double kSlice = 0.02;  // seconds of event processing between two looks
// The listing's terminator stands after its first lines (the parser's own rule).
constexpr long long kListingTerminatorFrom = 220;
constexpr long long kListingBytes = 800;  // about what a listing holds, for the progress line

constexpr std::string_view kPortFaultTitle = "MSComm Fault";

}  // namespace

std::string TapPort::Input() {
    std::string block = inner_.Input();
    if (!block.empty()) {
        received += block;
        lastByte = clock_.Monotonic();
    }
    return block;
}

LiveLink::LiveLink(const LiveOptions& o) : o_(o) {
    s_.io = Outside{&tap, &asker, &clock, &host, &term};
    host.onShowGraph = [this] { graphs.push_back(s_.graph); };
    host.onResultsChanged = [this] { ++resultsSeen; };
    host.onShowHist = [this] { ++histShows; };
    QObject::connect(&comm, &MSComm::OnComm, [this](int code) { OnComm(s_, code); });
}

int LiveLink::Open() {
    QtSettingsStore store;
    comm.SetPortNameSetting(store.Get("Properties", "PortName"));
    if (!o_.port.empty()) comm.SetEnvironmentPort(o_.port);
    // The program's own line settings, so that the tool talks as the program does.
    if (!ApplyStoredSettings(s_, store)) {
        Fault();  // the stored setting's error box, on standard error
        return kExitPort;
    }
    if (!o_.settings.empty()) {
        const std::string error = tap.SetSettings(o_.settings);
        if (!error.empty()) {
            std::cerr << "sondix-cli: bad line settings " << o_.settings << ": " << error << "\n";
            return kExitUsage;
        }
    }
    const std::string device = comm.DevicePath();
    if (device.empty()) {
        std::cerr << "sondix-cli: no serial device: give --port PATH\n";
        return kExitPort;
    }
    const std::string error = tap.SetPortOpen(true);
    if (!error.empty() || !tap.PortOpen()) {
        std::cerr << "sondix-cli: cannot open " << device << ": "
                  << (error.empty() ? "not opened" : error) << "\n";
        return kExitPort;
    }
    return kExitOk;
}

void LiveLink::Begin() {
    clock.DoEvents();
    tap.received.clear();
    tap.lastByte = clock.Monotonic();
}

int LiveLink::Fault() {
    progress_.Done();
    const AskedMessage& m = asker.asked.front();
    std::cerr << "sondix-cli: " << (m.title.empty() ? std::string(kProgramTitle) : m.title) << ": "
              << m.text << "\n";
    const bool portFault =
        m.title == kPortFaultTitle || m.text.starts_with("send_s_cmd error") || !tap.PortOpen();
    return portFault ? kExitPort : kExitFraming;
}

int LiveLink::Await(const std::function<bool()>& done, std::string_view what,
                    const std::function<long long()>& expected) {
    const double start = clock.Monotonic();
    for (;;) {
        if (!asker.asked.empty()) return Fault();
        if (done()) break;
        if (!tap.PortOpen()) {
            progress_.Done();
            std::cerr << "sondix-cli: the port was closed: " << tap.LastErrorText() << "\n";
            return kExitPort;
        }
        const double now = clock.Monotonic();
        if (now - tap.lastByte > o_.timeout) {
            progress_.Done();
            std::cerr << "sondix-cli: no answer from the sensor to " << what << " within "
                      << o_.timeout << " s" << (tap.received.empty() ? "" : " (answer broke off)")
                      << "\n";
            return kExitNoAnswer;
        }
        progress_.Show(what, static_cast<long long>(tap.received.size()), expected ? expected() : 0,
                       now - start);
        clock.Wait(kSlice);
    }
    progress_.Done();
    return kExitOk;
}

int LiveLink::ReadListing() {
    Begin();
    send_cmd(s_, "P");
    const int status = Await(
        [this] {
            const ParserState& p = s_.parser;
            const std::size_t t = Gen::InStr(p.AnswerText, kTerminator, kListingTerminatorFrom);
            return s_.CommandKey == KeyCode('P') && t > 0 &&
                   p.AnswerText.find('\n', t) != std::string::npos;
        },
        "the parameter listing (P)", [] { return kListingBytes; });
    if (status == kExitOk) ShowUnitInfo(s_);
    return status;
}

}  // namespace sondix::cli

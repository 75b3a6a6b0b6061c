// ShowData: every block the sensor sends passes through here. The reader of the pending command
// takes it first, then the block is shown, logged and the caret put after it.
#include "response/show_data.h"

#include <array>
#include <exception>
#include <string>

#include "response/dispatch_steps.h"
#include "terminal/session.h"

namespace sondix {
namespace {

using Reader = void (*)(Session&, std::string&);

struct ReaderEntry {
    char key;
    Reader read;
};

// The fixed order in which the pending command is tested. A reader that abandons its answer
// sets CommandKey to 0, so no later entry matches in the same call.
constexpr std::array<ReaderEntry, 11> kReaders{{
    {'D', [](Session& s, std::string& b) { dispatch::ReadDataGraph(s, 'D', b); }},
    {'F', [](Session& s, std::string& b) { dispatch::ReadDataGraph(s, 'F', b); }},
    {'[', [](Session& s, std::string& b) { dispatch::ReadDataGraph(s, '[', b); }},
    {']', [](Session& s, std::string&) { dispatch::StopSpectrumStream(s); }},
    {'{', [](Session& s, std::string& b) { dispatch::ReadResultsStream(s, b); }},
    {'}', [](Session& s, std::string&) { dispatch::StopResultsStream(s); }},
    {'P', [](Session& s, std::string& b) { dispatch::ReadListing(s, b); }},
    {'H', [](Session& s, std::string& b) { dispatch::ReadHistory(s, b); }},
    {'L', [](Session& s, std::string& b) { dispatch::ReadLogo(s, b); }},
    {'T', [](Session& s, std::string& b) { dispatch::ReadTimer(s, b); }},
    {'y', [](Session& s, std::string& b) { dispatch::ReadDataGraph(s, 'y', b); }},
}};

bool IsPending(const Session& s, char key) {
    return s.CommandKey == static_cast<unsigned char>(key);
}

void RunReaders(Session& s, std::string& block) {
    for (const ReaderEntry& entry : kReaders) {
        if (IsPending(s, entry.key)) entry.read(s, block);
    }
}

// A garbled byte on the line must not end the program: the running stream is stopped, the
// error shown and the parser starts afresh with the next block.
void ReportError(Session& s, const std::string& description) {
    const bool streaming = IsPending(s, '{') || IsPending(s, '[');
    CommPort* port = s.io.port;
    if (streaming && port != nullptr && port->PortOpen()) {
        port->Output("R");
        s.CommandKey = 'R';
    } else {
        s.CommandKey = 0;
    }
    // Before the box: the event loop keeps running under it and may deliver the next block.
    dispatch::ReturnToIdle(s.parser);
    if (s.io.asker == nullptr) return;
    // A plain box: the program's title, an OK button and no icon.
    s.io.asker->Ask(kProgramTitle, "Error in ShowData:" + description, MsgButtons::OK,
                    MsgIcon::None);
}

template <typename Step>
void Guarded(Session& s, Step step) {
    try {
        step();
    } catch (const std::exception& e) {
        ReportError(s, e.what());
    } catch (...) {
        ReportError(s, "Unknown error");
    }
}

void HandleBlock(Session& session, TextBox& txt, std::string& s) {
    session.parser.ChunkTaken = false;
    Guarded(session, [&] { RunReaders(session, s); });
    if (!dispatch::DisplaySuppressed(session)) {
        Guarded(session, [&] {
            dispatch::DisplayStep(txt, s);
            dispatch::CalibrateStep(session, s);
        });
    }
    // The log keeps the traffic even when the display failed.
    Guarded(session, [&] { dispatch::LogStep(session, s); });
    Guarded(session, [&] { dispatch::CaretStep(txt); });
}

}  // namespace

void ShowData(Session& session, TextBox& txt, std::string& s) {
    ParserState& p = session.parser;
    if (p.InShowData) {
        p.HeldBlocks.push_back(s);
        return;
    }
    p.InShowData = true;
    HandleBlock(session, txt, s);
    while (!p.HeldBlocks.empty()) {
        std::string next = std::move(p.HeldBlocks.front());
        p.HeldBlocks.pop_front();
        HandleBlock(session, txt, next);
    }
    p.InShowData = false;
}

}  // namespace sondix

// The plain-text answers: the parameter listing "P", the logo "L", the timer "T", and the
// hand-over of the history log "H".
#include <string>
#include <string_view>

#include "common/gen_text.h"
#include "config/read_par.h"
#include "history/hist_transfer.h"
#include "response/dispatch_steps.h"
#include "response/parser_state.h"
#include "response/status_lines.h"
#include "terminal/session.h"

namespace sondix::dispatch {
namespace {

constexpr std::int32_t kListingLimit = 4000;
constexpr std::int32_t kShortAnswerLimit = 500;
// The listing's own terminator stands well after its first lines; an earlier one belongs to
// something else.
constexpr long long kListingTerminatorFrom = 220;
constexpr long long kTimerLineEndFrom = 4;

void Collect(ParserState& p, std::string_view block, std::int32_t limit) {
    p.ChunkTaken = true;
    if (p.AnswerLen >= limit) return;
    p.AnswerText.append(block);
    p.AnswerLen += static_cast<std::int32_t>(block.size());
}

}  // namespace

// The listing is read again with every later block while "P" stays pending, so the mirror
// always reflects the most complete text.
void ReadListing(Session& s, std::string_view block) {
    ParserState& p = s.parser;
    Collect(p, block, kListingLimit);
    if (Gen::InStr(p.AnswerText, kTerminator, kListingTerminatorFrom) == 0) return;
    ParseStatusListing(s.res, p.AnswerText);
    ReadPar(s.mirror, p.AnswerText);
}

void ReadLogo(Session& s, std::string_view block) {
    Collect(s.parser, block, kShortAnswerLimit);
}

void ReadTimer(Session& s, std::string_view block) {
    ParserState& p = s.parser;
    Collect(p, block, kShortAnswerLimit);
    if (Gen::InStr(p.AnswerText, "\r", kTimerLineEndFrom) == 0) return;
    ParseTimer(s.res, p.AnswerText);
}

// The history transfer keeps its own state; the block count restarts with each answer.
void ReadHistory(Session& s, std::string& block) {
    ParserState& p = s.parser;
    if (p.GraphState == kIdle) p.ChunkCount = 0;
    ++p.ChunkCount;
    HistTransfer(s, block, false);
}

}  // namespace sondix::dispatch

#include "listing.h"

#include "status_lines.h"
#include "text_fields.h"

namespace sondix::sim {

std::string LogoBlock(Variant v, const std::string& firmware) {
    return std::string("SYSTEM LOGO:") + kCrLf + LogoLines(v, firmware) +
           "BOARDID =" + (v == Variant::Velocimeter ? "7" : "3") + kCrLf;
}

std::string ParameterLines(const Params& p) {
    std::string out;
    for (const Param& q : p.All()) {
        out += std::string(q.def->key) + ValueText(*q.def, q.value) + kCrLf;
    }
    return out;
}

std::string ParameterListing(const AnswerContext& c) {
    // SampleT stands among the parameters; the status reader finds it there as well.
    return kCrLf + StatusLines(c, false) + TimerLine(c.ticks) + LogoBlock(c.variant, c.firmware) +
           ParameterLines(c.params) + kTerminator + kCrLf;
}

std::string LogoAnswer(Variant v, const std::string& firmware) {
    return kCrLf + LogoBlock(v, firmware) + kTerminator + kCrLf;
}

}  // namespace sondix::sim

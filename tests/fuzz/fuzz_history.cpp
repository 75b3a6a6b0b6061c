// The history transfer against any answer: live ("H" pending, the blocks through ShowData as
// `sondix-cli decode H` and the window take them) or a stored file handed over in one call
// (`--from-file`, "&Disp Hist File"). Input: byte 1 bit 0 the file, bit 1 the velocimeter,
// bits 2-3 the units; byte 2 the block size (0: one block); the rest is the answer. Only the
// framing boxes may appear, the records stay within the arrays, and afterwards a clean answer
// must be charted.
#include <algorithm>
#include <cmath>
#include <string>

#include "fuzz_support.h"
#include "history/hist_transfer.h"
#include "known_boxes.h"
#include "response/show_data.h"
#include "terminal/headless_io.h"
#include "terminal/main_window.h"

namespace sondix::fuzz {
namespace {

const std::string kClean =
    "H\r\nVELHIST N=2 DT=10s\r\n"
    "    12103464 00000000  5519  9538 204 121 1   257         13\r\n"
    "    12103578 00000000  5590  9617 203 117 1   253          3\r\n  ***  \r\n";

void Check(const HeadlessSession& h) {
    for (const AskedMessage& m : h.asker.asked)
        Require(test::IsFramingBox(m), "only the framing boxes appear", m.title + " / " + m.text);
    Require(h.s.HistCount >= 0 && h.s.HistCount <= Gen::kHistMax, "the records fit the arrays");
    for (const HistPoint& p : h.s.histChart.points) {
        Require(!std::isnan(p.t) && !std::isnan(p.vel) && !std::isnan(p.iloop) &&
                    !std::isnan(p.amp) && !std::isnan(p.noise),
                "history points are numbers");
    }
}

void Take(HeadlessSession& h, const std::string& text, bool fromFile, std::size_t block) {
    if (fromFile) {
        std::string all = text;
        HistTransfer(h.s, all, true);
        return;
    }
    cmdHist_Click(h.s);
    block = block > 0 ? block : std::max<std::size_t>(text.size(), 1);
    for (std::size_t at = 0; at < text.size(); at += block) {
        std::string piece = text.substr(at, block);
        ShowData(h.s, h.term, piece);
    }
}

}  // namespace
}  // namespace sondix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sondix::fuzz;
    FuzzInput in(data, size);
    sondix::HeadlessSession h;
    const std::uint8_t mode = in.Byte();
    const bool fromFile = (mode & 1) != 0;
    h.s.mirror.VelocimeterMode = (mode & 2) != 0;
    h.s.mirror.Units = static_cast<float>((mode >> 2) & 3);
    const std::size_t block = in.Byte();
    Take(h, in.Rest(), fromFile, block);
    Check(h);
    const int shows = h.host.histShows;
    const std::size_t boxes = h.asker.asked.size();
    Take(h, kClean, fromFile, 0);
    Require(h.asker.asked.size() == boxes, "a clean answer brings up no box",
            h.asker.asked.empty() ? "" : h.asker.asked.back().text);
    Require(h.host.histShows == shows + 1 && h.s.HistCount == 2,
            "a clean answer after garbage is charted");
    return 0;
}

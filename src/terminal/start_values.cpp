// The values the main window and its parser start from.
#include "terminal/main_window.h"

namespace sondix {

void ResetStartValues(Session& s) {
    s.D_GraphLoaded = false;
    s.ResultDisp_Loaded = false;
    s.HistWindowLoaded = false;
    s.GraphHeaderStr.clear();
    s.CommandKey = 0;
    s.PortCloseAllowed = true;
    s.FaultDialogShown = false;
    s.CalibrateEnabled = false;
    s.CalibrationPending = false;
    s.VelocityMax = -1.0;
    s.EventText.clear();
    s.ErrorText.clear();

    // The parser: no answer pending, no stream running, 2048 words expected; the chart model
    // gets as many points (the chart window itself opens with the first chart).
    s.parser = ParserState{};
    s.graph.SetNPoints(s.parser.NWords);

    // The scales of a 10-bit converter on a 3.68 V reference sampled every microsecond, until a
    // header says otherwise.
    s.graphHdr = GraphHeaderValues{};
    s.res = ResultFields{};
    s.stats = SpectrumStats{};

    s.hist = Gen::HistoryArrays{};
    s.HistCount = 0;
}

}  // namespace sondix

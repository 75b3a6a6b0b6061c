// Within a run, a re-created chart or results window comes back where the user last put it, at
// the size the user gave it.
#include <gtest/gtest.h>

#include "memory_settings_store.h"
#include "terminal/headless_io.h"
#include "terminal/ui/frmTerminal.h"

namespace sondix {
namespace {

TEST(WindowPlace, AReopenedWindowComesBackWhereTheUserLeftIt) {
    test::MemorySettingsStore store;
    RecordingAsker asker;
    frmTerminal w{{}, store, &asker};
    const QRect placed(QPoint(310, 170), QSize(640, 420));
    const auto graph = [&] { return static_cast<QWidget*>(w.GraphWindow()); };
    const auto results = [&] { return static_cast<QWidget*>(w.ResultsWindow()); };
    struct Kind {
        std::function<QWidget*()> window;
        std::function<void()> open, close;
    };
    for (const Kind& k :
         {Kind{graph, [&] { w.ShowGraph(); }, [&] { w.CloseGraphWindow(); }},
          Kind{results, [&] { w.CreateResultsWindow(); }, [&] { w.CloseResultsWindow(); }}}) {
        k.open();
        k.window()->resize(placed.size());
        k.window()->move(placed.topLeft());
        k.close();
        k.open();
        EXPECT_EQ(QRect(k.window()->pos(), k.window()->size()), placed);
    }
}

}  // namespace
}  // namespace sondix

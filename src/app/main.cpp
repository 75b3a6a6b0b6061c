// Sondix: the service engineer's terminal for the FMCW radar process sensor.
#include <QApplication>
#include <QTimer>
#include <iostream>
#include <string>
#include <vector>

#include "terminal/program_info.h"
#include "terminal/ui/frmTerminal.h"
#include "terminal/ui/qt_platform.h"

int main(int argc, char** argv) {
    // Answered before any window (and without a display).
    if (const std::string info = sondix::ProgramInfoText({argv + 1, argv + argc}); !info.empty()) {
        std::cout << info;
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("Sondix");
    QApplication::setOrganizationName("Sondix");

    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);

    sondix::QtSettingsStore store;
    sondix::frmTerminal w(std::move(args), store);
    w.show();
    // The start-up waits for the sensor while the window is already on the screen.
    QTimer::singleShot(0, &w, [&w] { w.Form_Load(); });
    return QApplication::exec();
}

// The outside interfaces of the core that need only QtCore: the clock with its event-processing
// pauses, the per-user settings store and the Latin-1 text helpers. The program and the
// command-line tool (which has no display) share them.
#pragma once

#include <QElapsedTimer>
#include <QSettings>
#include <QString>
#include <string>
#include <string_view>

#include "common/platform.h"
#include "terminal/window_host.h"

namespace sondix {

// Pauses run a nested event loop for their duration, so the port's receive event and the
// parser keep running while the core waits (the sensor's answer arrives during the wait).
class QtClock : public Clock {
  public:
    QtClock();
    double Monotonic() override;
    Gen::DateTime Now() override;
    void DoEvents() override;
    void Wait(double seconds) override;

  private:
    QElapsedTimer elapsed_;
};

// QSettings of the application "Sondix" (on Linux ~/.config/Sondix/Sondix.conf), with the
// sections and keys written as the program names them ("Properties", "Settings", ...).
class QtSettingsStore : public SettingsStore {
  public:
    QtSettingsStore();
    std::string Get(std::string_view section, std::string_view key) override;
    void Set(std::string_view section, std::string_view key, std::string_view value) override;

  private:
    QSettings settings_;
};

// Latin-1 both ways: one byte is one character.
QString FromLatin1(std::string_view s);
std::string ToLatin1(const QString& s);

}  // namespace sondix

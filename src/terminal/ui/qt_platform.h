// The outside interfaces of the core, provided by Qt: the clock with its event-processing
// pauses, message boxes and the per-user settings store.
#pragma once

#include <QElapsedTimer>
#include <QSettings>
#include <functional>

#include "common/platform.h"
#include "terminal/file_chooser.h"
#include "terminal/window_host.h"

class QWidget;

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

class QtMessageAsker : public MessageAsker {
  public:
    explicit QtMessageAsker(QWidget* parent) : parent_(parent) {}
    MsgAnswer Ask(std::string_view title, std::string_view text, MsgButtons buttons,
                  MsgIcon icon) override;
    void Beep() override;

  private:
    QWidget* parent_;
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

// The open dialog of QFileDialog. A name that does not exist yet may be given (a new log file).
class QtFileChooser : public FileChooser {
  public:
    explicit QtFileChooser(QWidget* parent) : parent_(parent) {}
    std::optional<std::string> ChooseOpenFile(std::string_view title,
                                              std::string_view filter) override;

  private:
    QWidget* parent_;
};
// "Log Files (*.LOG)|*.log|All Files (*.*)|*.*" as QFileDialog writes it:
// "Log Files (*.log);;All Files (*)".
QString QtFileFilter(std::string_view filter);

// Latin-1 both ways: one byte is one character.
QString FromLatin1(std::string_view s);
std::string ToLatin1(const QString& s);

}  // namespace sondix

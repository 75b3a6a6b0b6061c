// sondix-tour: walks through every window of Sondix against a running sensor (the simulator)
// and writes a PNG of each into one folder. Not part of the program: scripts/tour.sh runs it
// under Xvfb, at the usual size and scaled.
//
//   sondix-tour OUTDIR [--text FILE] [--steps a,b,...] [--tag PREFIX]
//
// The port comes from SONDIX_PORT, as for Sondix. Each step clicks a button or a menu item and
// waits; at its end every window that is open is photographed. Boxes and modal dialogs are
// photographed when they appear and closed with Escape; the Cancel window of a text
// transmission while it is up. Each picture's name is "<step>-<window>.png"; a list of them
// goes to OUTDIR/shots.txt.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTextStream>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "known_boxes.h"
#include "terminal/file_chooser.h"
#include "terminal/ui/frmTerminal.h"
#include "terminal/ui/qt_platform.h"

namespace {

// The windows' classes, with or without their namespace.
bool IsA(const QWidget* w, const char* cls) {
    const QString name = w->metaObject()->className();
    return name == cls || name.endsWith(QStringLiteral("::") + cls);
}

struct Tour {
    QString out;
    QString tag;  // starts every picture's name (a second run's pictures keep apart)
    QString step = "start";
    QSet<QString> shot;  // step/window pairs already taken
    QStringList list;

    QString NameOf(const QWidget* w) const {
        QString n = w->metaObject()->className();
        n = n.mid(n.lastIndexOf(':') + 1);
        return n.replace(QRegularExpression("[^A-Za-z0-9_]"), "_");
    }

    void Shoot(QWidget* w, const QString& extra = {}) {
        const QString name = tag + step + "-" + NameOf(w) + extra;
        if (shot.contains(name)) return;
        shot.insert(name);
        const QString file = name + ".png";
        if (w->grab().save(out + "/" + file)) {
            list << file + "\t" + w->windowTitle();
        }
    }

    // Every window that is open now, the main window only when asked.
    void ShootWindows(bool withMain) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || w->inherits("QMenu")) continue;
            if (!withMain && IsA(w, "frmTerminal")) continue;
            Shoot(w);
        }
    }

    // Boxes and modal dialogs: photographed, then closed as Escape closes them.
    void WatchModal() {
        QWidget* m = QApplication::activeModalWidget();
        if (m && m->isVisible()) {
            Shoot(m, "-" + QString::number(shot.size()));
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            auto* box = qobject_cast<QMessageBox*>(m);
            if (box && box->escapeButton()) {
                box->escapeButton()->click();
            } else if (box && box->defaultButton()) {
                box->defaultButton()->click();
            } else if (box) {
                box->close();
            } else {
                QApplication::sendEvent(m, &esc);
                if (m->isVisible()) m->close();
            }
        }
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && IsA(w, "frmCancelSend")) Shoot(w);
        }
    }
};

void Pause(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Waits until a window of `cls` is visible (or `ms` passed), then a little for its drawing.
void WaitForWindow(const char* cls, int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && IsA(w, cls)) {
                Pause(500);
                return;
            }
        Pause(100);
    }
}

void Click(QWidget& main, const char* name) {
    if (auto* b = main.findChild<QPushButton*>(name); b && b->isVisible() && b->isEnabled())
        b->click();
}

// Closes a window that its button toggles, when it is open.
void CloseIfOpen(QWidget& main, const char* cls, const char* button) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && IsA(w, cls)) {
            Click(main, button);
            Pause(300);
            return;
        }
}

void Trigger(QWidget& main, const char* name) {
    if (auto* a = main.findChild<QAction*>(name)) a->trigger();
}

// The boxes a fault brings up, shown through the program's own box.
void ShowFaultBoxes(QWidget& main) {
    sondix::QtMessageAsker asker(&main);
    using sondix::MsgButtons;
    using sondix::MsgIcon;
    for (const auto& b : sondix::test::kFramingBoxes) {
        const bool abortRetry = b.title == std::string_view("D-command fault");
        asker.Ask(b.title,
                  std::string(b.textStart) +
                      (abortRetry ? "Click Abort(exit prog), Retry(stop cmd & rst port) or "
                                    "Ignore(stop cmd)"
                                  : ""),
                  abortRetry ? MsgButtons::AbortRetryIgnore : MsgButtons::OK, MsgIcon::Exclamation);
    }
    asker.Ask("MSComm Fault",
              "Framing Error  Click Abort(exit prog), Retry(reset port) or Ignore(continue)",
              MsgButtons::AbortRetryIgnore, MsgIcon::Critical);
    asker.Ask(sondix::kProgramTitle, "Error in ShowData:Overflow", MsgButtons::OK, MsgIcon::None);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Sondix");
    QApplication::setOrganizationName("Sondix");
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        QTextStream(stderr) << "usage: sondix-tour OUTDIR [--text FILE] [--steps a,b,...]\n";
        return 2;
    }
    Tour tour;
    tour.out = args[1];
    QDir().mkpath(tour.out);
    QString textFile;
    QStringList steps = {"main",    "scope",  "spectrum",   "ramp",     "repeating", "results",
                         "history", "config", "properties", "sendtext", "faults",    "end"};
    for (int i = 2; i + 1 < args.size(); i += 2) {
        if (args[i] == "--text") textFile = args[i + 1];
        if (args[i] == "--steps") steps = args[i + 1].split(',');
        if (args[i] == "--tag") tour.tag = args[i + 1];
    }

    sondix::QtSettingsStore store;
    sondix::frmTerminal w({}, store);
    sondix::ScriptedChooser chooser;
    if (!textFile.isEmpty()) chooser.answers.push_back(textFile.toStdString());
    w.SetFileChooser(&chooser);
    w.show();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&tour] { tour.WatchModal(); });
    watch.start(150);

    const std::vector<std::pair<QString, std::function<void()>>> table = {
        {"main", [&] { Pause(1000); }},
        {"scope",
         [&] {
             Click(w, "cmdScope");
             WaitForWindow("frmGraph", 20000);
         }},
        {"spectrum",
         [&] {
             Click(w, "cmdSpect");
             WaitForWindow("frmGraph", 20000);
         }},
        {"ramp",
         [&] {
             Click(w, "cmdRamp");
             WaitForWindow("frmGraph", 20000);
         }},
        {"repeating",
         [&] {
             Click(w, "cmdRptSpect");
             WaitForWindow("frmGraph", 20000);
             Pause(3000);
         }},
        {"results",
         [&] {
             Click(w, "cmdRptSpect");  // StopSpec
             Pause(500);
             Click(w, "cmdRptDist");
             WaitForWindow("frmResults", 10000);
             Pause(3000);
         }},
        {"history",
         [&] {
             Click(w, "cmdRptDist");
             Pause(500);
             Click(w, "cmdHist");
             WaitForWindow("frmHist", 30000);
         }},
        {"config",
         [&] {
             Click(w, "cmdConfig");
             WaitForWindow("frmConfig", 20000);
         }},
        {"properties",
         [&] {
             CloseIfOpen(w, "frmConfig", "cmdConfig");  // the screen was pictured in its step
             Trigger(w, "mnuProperties");
         }},
        {"sendtext",
         [&] {
             Trigger(w, "mnuSendText");
             Pause(500);
         }},
        {"faults", [&] { ShowFaultBoxes(w); }},
        {"end", [&] { Pause(500); }},
    };

    QTimer::singleShot(0, &w, [&] {
        w.Form_Load();
        for (const auto& [name, action] : table) {
            if (!steps.contains(name)) continue;
            tour.step = name;
            action();
            Pause(300);
            tour.ShootWindows(name == "main" || name == "end" || name == "properties");
        }
        QFile f(tour.out + "/shots.txt");
        if (f.open(QIODevice::WriteOnly | QIODevice::Append)) {
            QTextStream(&f) << tour.list.join('\n') << (tour.list.isEmpty() ? "" : "\n");
        }
        QApplication::exit(0);
    });
    return QApplication::exec();
}

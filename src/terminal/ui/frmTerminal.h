// frmTerminal: the main window. It builds the controls, forwards every event to the core
// (terminal/main_window.h) and shows what the core decided; it is the core's WindowHost.
#pragma once

#include <QFrame>
#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/ui/frmConfig.h"
#include "history/ui/frmHist.h"
#include "history/ui/frmResults.h"
#include "response/ui/frmGraph.h"
#include "terminal/comm_log.h"
#include "terminal/session.h"
#include "terminal/ui/frmCancelSend.h"
#include "terminal/ui/mscomm.h"
#include "terminal/ui/qt_platform.h"
#include "terminal/ui/terminal_box.h"
#include "terminal/window_host.h"

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace sondix {

// The port lamp: a frame that toggles the port when clicked.
class ConnectLight : public QFrame {
    Q_OBJECT
  public:
    explicit ConnectLight(QWidget* parent);
    void SetColour(Colour c);
    Colour colour() const { return colour_; }
  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

  private:
    Colour colour_{255, 0, 0};
};

class frmTerminal : public QMainWindow, public WindowHost {
    Q_OBJECT
  public:
    // `args`: the command-line arguments after the program name. `asker` replaces the message
    // boxes (tests answer them without a person); `clock` the clock of the pauses (tests shorten
    // them).
    frmTerminal(std::vector<std::string> args, SettingsStore& store, MessageAsker* asker = nullptr,
                Clock* clock = nullptr);
    ~frmTerminal() override;

    // Runs the start-up (opens the port, sends "E", reads the identification).
    void Form_Load();

    Session& session() { return s_; }
    MSComm& port() { return comm_; }

    // WindowHost
    void EndProgram() override;
    void PortStateChanged() override;
    void SetStatusPanel(std::string_view text) override;
    void StartStatusResetTimer() override;
    void ButtonsChanged() override;
    void LabelsChanged() override;
    bool LogOpen() const override { return log_.IsOpen(); }
    std::string WriteLog(std::string_view bytes) override { return log_.Write(bytes); }
    void CloseLog() override;  // mnuCloseLog_Click
    void CreateGraphWindow() override;
    void CloseGraphWindow() override;
    void ShowGraph() override;
    void CreateResultsWindow() override;
    void CloseResultsWindow() override;
    void ResultsChanged() override;
    void ShowHistWindow() override;
    void CloseHistWindow() override;
    void ShowConfigWindow() override;
    void CloseConfigWindow() override;
    void ConfigChanged() override;

    // For tests and for a person looking at the window.
    QString StatusPanelText(int index) const;
    QPushButton* Button(const char* name) const;
    QPlainTextEdit* Terminal() const { return termView_; }
    bool ProgramEnded() const { return ended_; }
    Colour LampColour() const { return frmConnectLight_->colour(); }
    frmGraph* GraphWindow() const { return graph_; }
    frmResults* ResultsWindow() const { return results_; }
    frmHist* HistWindow() const { return hist_; }
    frmConfig* ConfigWindow() const { return config_; }
    // The file dialogs' answers (tests script them).
    void SetFileChooser(FileChooser* chooser) { chooser_ = chooser ? chooser : &qtChooser_; }
    const CommLog& Log() const { return log_; }
    frmCancelSend* CancelSendWindow() const { return cancelSend_; }
    void mnuOpenLog_Click();
    void mnuSendText_Click();
    void mnuProperties_Click();
    void mnuShowHistFile_Click();

  protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;

  private:
    void BuildControls();
    void BuildMenus();
    void LayoutControls();
    // Flush with the screen's right edge, one window height down (kept on the screen).
    void PlaceAtStart();
    int ButtonWidth() const;
    int Twips(double twips) const;
    void ApplyFace(QPushButton* b, const ButtonFace& f);
    // The results window opens beside the main window, so the terminal stays in view.
    void PlaceBesideMe(QWidget* w) const;
    void Timer1_Timer();
    void Timer2_Timer();
    void mnuOpen_Click();
    void mnuFileExit_Click();
    void ShowLogState();  // caption and the log's menu items
    void TimerReconnect_Timer();

    QtClock clock_;
    QtMessageAsker qtAsker_{this};
    MessageAsker* asker_;
    MSComm comm_;
    SettingsStore& store_;
    std::vector<std::string> args_;
    Session s_;

    ConnectLight* frmConnectLight_ = nullptr;
    QPushButton* cmdRefresh_ = nullptr;
    QPushButton* cmdRptDist_ = nullptr;
    QPushButton* cmdRamp_ = nullptr;
    QPushButton* cmdScope_ = nullptr;
    QPushButton* cmdRptSpect_ = nullptr;
    QPushButton* cmdSpect_ = nullptr;
    QPushButton* cmdHist_ = nullptr;
    QPushButton* cmdConfig_ = nullptr;
    QPushButton* cmdCalibrate_ = nullptr;
    QLineEdit* txtParse_ = nullptr;
    TermEdit* termView_ = nullptr;
    std::unique_ptr<QtTextBox> txtTerm_;
    QLabel* lblVerAndSerialNum_ = nullptr;
    QLabel* panels_[3] = {nullptr, nullptr, nullptr};
    QTimer Timer1_;
    QTimer Timer2_;
    QAction* mnuOpen_ = nullptr;
    QAction* mnuSendText_ = nullptr;
    QAction* mnuCloseLog_ = nullptr;
    QAction* mnuOpenLog_ = nullptr;
    CommLog log_;
    QtFileChooser qtChooser_{this};
    FileChooser* chooser_ = &qtChooser_;
    frmCancelSend* cancelSend_ = nullptr;
    QTimer TimerReconnect_;

    QPointer<frmGraph> graph_;
    QPointer<frmResults> results_;
    QPointer<frmHist> hist_;
    QPointer<frmConfig> config_;  // created on first use, then only hidden and shown
    // Where the user last had the chart and results windows in this run (position and size);
    // a re-created window comes back there.
    std::optional<QRect> graphPlace_, resultsPlace_;
    bool ended_ = false;
    bool shuttingDown_ = false;
    bool placeWhenFramed_ = false;  // placed before the window system had framed the window
};

}  // namespace sondix

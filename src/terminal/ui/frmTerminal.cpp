#include "terminal/ui/frmTerminal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <cmath>

#include "common/pauses.h"
#include "common/ui/placement.h"
#include "history/ui/frmResults.h"
#include "response/ui/frmGraph.h"
#include "terminal/main_window.h"
#include "terminal/program_args.h"
#include "terminal/ui/frmProperties.h"
#include "terminal/ui/terminal_font.h"

namespace sondix {

ConnectLight::ConnectLight(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setToolTip("toggle serial port open/close");
    setCursor(Qt::PointingHandCursor);
}

void ConnectLight::SetColour(Colour c) {
    colour_ = c;
    update();
}

void ConnectLight::mousePressEvent(QMouseEvent*) {
    emit clicked();
}

void ConnectLight::paintEvent(QPaintEvent* e) {
    QFrame::paintEvent(e);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(colour_.r, colour_.g, colour_.b));
    p.setPen(Qt::black);
    const int d = std::min(width(), height()) - 8;
    p.drawEllipse(QRect((width() - d) / 2, (height() - d) / 2, d, d));
}

namespace {

// The central area calls back when it is resized, so the controls follow its size.
class Central : public QWidget {
  public:
    std::function<void()> onResize;

  protected:
    void resizeEvent(QResizeEvent*) override {
        if (onResize) onResize();
    }
};

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, const char* tip) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    if (*tip) b->setToolTip(tip);
    b->setFocusPolicy(Qt::NoFocus);  // typing always goes to the terminal
    return b;
}

// Lines of the terminal that stay visible however small the window is made.
constexpr int kLeastTerminalLines = 5;

}  // namespace

frmTerminal::frmTerminal(std::vector<std::string> args, SettingsStore& store, MessageAsker* asker,
                         Clock* clock)
    : asker_(asker ? asker : &qtAsker_), store_(store), args_(std::move(args)) {
    setWindowTitle(kProgramTitle);
    BuildMenus();
    BuildControls();
    comm_.SetPortNameSetting(store_.Get("Properties", "PortName"));
    s_.io = Outside{&comm_, asker_, clock ? clock : &clock_, this, txtTerm_.get()};

    connect(&comm_, &MSComm::OnComm, this, [this](int code) {
        OnComm(s_, code);
        if (s_.ReconnectPending && !TimerReconnect_.isActive()) TimerReconnect_.start();
    });
    TimerReconnect_.setInterval(Gen::Pauses::kReconnectLookMs);
    connect(&TimerReconnect_, &QTimer::timeout, this, &frmTerminal::TimerReconnect_Timer);
    Timer1_.setInterval(Gen::Pauses::kConnectTickMs);
    connect(&Timer1_, &QTimer::timeout, this, &frmTerminal::Timer1_Timer);
    Timer2_.setInterval(Gen::Pauses::kStatusResetMs);
    connect(&Timer2_, &QTimer::timeout, this, &frmTerminal::Timer2_Timer);

    resize(Twips(11000), Twips(7600));
    // Where the start-up puts the window once its frame is known, so it does not jump far.
    if (const QScreen* scr = screen()) move(MainWindowStart(scr->availableGeometry(), size()));
}

frmTerminal::~frmTerminal() {
    // The child windows hold references to the session: close them before it goes.
    delete graph_.data();
    delete results_.data();
    delete config_.data();
}

int frmTerminal::Twips(double twips) const {
    return static_cast<int>(std::lround(twips * logicalDpiY() / 1440.0));
}

void frmTerminal::BuildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    mnuOpenLog_ = file->addAction("&Open Log File...");
    mnuOpenLog_->setObjectName("mnuOpenLog");
    connect(mnuOpenLog_, &QAction::triggered, this, &frmTerminal::mnuOpenLog_Click);
    mnuCloseLog_ = file->addAction("&Close Log File");
    mnuCloseLog_->setObjectName("mnuCloseLog");
    mnuCloseLog_->setEnabled(false);
    connect(mnuCloseLog_, &QAction::triggered, this, &frmTerminal::CloseLog);
    QAction* showHist = file->addAction("&Disp Hist File");
    showHist->setObjectName("mnuShowHistFile");
    connect(showHist, &QAction::triggered, this, &frmTerminal::mnuShowHistFile_Click);
    file->addSeparator();
    mnuSendText_ = file->addAction("&Transmit Text File...");
    mnuSendText_->setObjectName("mnuSendText");
    mnuSendText_->setEnabled(false);
    connect(mnuSendText_, &QAction::triggered, this, &frmTerminal::mnuSendText_Click);
    file->addSeparator();
    QAction* exit = file->addAction("E&xit");
    exit->setObjectName("mnuFileExit");
    connect(exit, &QAction::triggered, this, &frmTerminal::mnuFileExit_Click);

    QMenu* port = menuBar()->addMenu("&CommPort");
    mnuOpen_ = port->addAction("Port &Open");
    mnuOpen_->setObjectName("mnuOpen");
    mnuOpen_->setCheckable(true);
    connect(mnuOpen_, &QAction::triggered, this, &frmTerminal::mnuOpen_Click);
    port->addSeparator();
    QAction* properties = port->addAction("Properties...");
    properties->setObjectName("mnuProperties");
    connect(properties, &QAction::triggered, this, &frmTerminal::mnuProperties_Click);
}

void frmTerminal::BuildControls() {
    auto* central = new Central;
    central->onResize = [this] { LayoutControls(); };
    setCentralWidget(central);

    frmConnectLight_ = new ConnectLight(central);
    frmConnectLight_->setObjectName("frmConnectLight");
    connect(frmConnectLight_, &ConnectLight::clicked, this, &frmTerminal::mnuOpen_Click);

    cmdRefresh_ = MakeButton(central, "cmdRefresh", "Refresh", "refresh display");
    cmdRptDist_ =
        MakeButton(central, "cmdRptDist", "Results", "auto repeat sensor output every 2 seconds ");
    cmdRamp_ =
        MakeButton(central, "cmdRamp", "Ramp", "download and display frequency sweep ramp profile");
    cmdScope_ = MakeButton(central, "cmdScope", "Scope", "download and display raw signal in time");
    cmdRptSpect_ = MakeButton(central, "cmdRptSpect", "StartSpec",
                              "auto repeat spectral graph every 2 seconds");
    cmdSpect_ = MakeButton(central, "cmdSpect", "Spect",
                           "download and display spectral graph (echo profile)");
    cmdHist_ = MakeButton(central, "cmdHist", "Hist", "download and display history file");
    cmdConfig_ = MakeButton(central, "cmdConfig", "Config", "open configuration screen");
    cmdCalibrate_ = MakeButton(central, "cmdCalibrate", "Calibrate", "");
    cmdCalibrate_->hide();
    cmdCalibrate_->setEnabled(false);

    connect(cmdRefresh_, &QPushButton::clicked, this, [this] { cmdRefresh_Click(s_); });
    connect(cmdRptDist_, &QPushButton::clicked, this, [this] { cmdRptDist_Click(s_); });
    connect(cmdRamp_, &QPushButton::clicked, this, [this] { cmdRamp_Click(s_); });
    connect(cmdScope_, &QPushButton::clicked, this, [this] { cmdScope_Click(s_); });
    connect(cmdRptSpect_, &QPushButton::clicked, this, [this] { cmdRptSpect_Click(s_); });
    connect(cmdSpect_, &QPushButton::clicked, this, [this] { cmdSpect_Click(s_); });
    connect(cmdHist_, &QPushButton::clicked, this, [this] { cmdHist_Click(s_); });
    connect(cmdConfig_, &QPushButton::clicked, this, [this] { cmdConfig_Click(s_); });
    connect(cmdCalibrate_, &QPushButton::clicked, this, [this] { cmdCalibrate_Click(s_); });

    txtParse_ = new QLineEdit(central);
    txtParse_->setObjectName("txtParse");
    connect(txtParse_, &QLineEdit::returnPressed, this,
            [this] { txtParse_Enter(s_, ToLatin1(txtParse_->text())); });

    lblVerAndSerialNum_ = new QLabel(FromLatin1(s_.lblVerAndSerialNum), central);
    lblVerAndSerialNum_->setObjectName("lblVerAndSerialNum");

    termView_ = new TermEdit(central);
    termView_->setObjectName("txtTerm");
    termView_->setToolTip("Type ? for help");
    termView_->setFont(TerminalFont());
    txtTerm_ = std::make_unique<QtTextBox>(termView_);
    txtTerm_->SetText("Type ? for help...\r\n");
    termView_->onKey = [this](char k) { return txtTerm_KeyPress(s_, k); };
    termView_->onInsert = [this](char k) { txtTerm_->InsertTyped(k); };
    termView_->setFocus();

    const char* keys[3] = {"Status", "Settings", "ConnectTime"};
    const char* texts[3] = {"Status:", "Settings:", ""};
    const char* tips[3] = {"Communications Port Status", "Communications Port Settings",
                           "Connect Time"};
    for (int i = 0; i < 3; ++i) {
        panels_[i] = new QLabel(texts[i]);
        panels_[i]->setObjectName(keys[i]);
        panels_[i]->setToolTip(tips[i]);
        panels_[i]->setFrameShape(QFrame::Panel);
        panels_[i]->setFrameShadow(QFrame::Sunken);
        statusBar()->addWidget(panels_[i], i == 0 ? 3 : (i == 1 ? 2 : 1));
    }
}

void frmTerminal::LayoutControls() {
    QWidget* area = centralWidget();
    const int W = area->width();
    const int H = area->height();
    const int bh = cmdConfig_->sizeHint().height();
    const int bw = ButtonWidth();
    const int gap = Twips(60);
    const int row1 = Twips(35);
    const int row2 = row1 + bh + Twips(40);

    frmConnectLight_->setGeometry(gap, row1, bh, bh);
    int x = gap + bh + gap;
    for (QPushButton* b : {cmdRefresh_, cmdRptDist_, cmdRamp_, cmdScope_, cmdRptSpect_}) {
        b->setGeometry(x, row1, bw, bh);
        x += bw + gap;
    }
    x = gap + bh + gap;
    for (QPushButton* b : {cmdSpect_, cmdHist_, cmdConfig_}) {
        b->setGeometry(x, row2, bw, bh);
        x += bw + gap;
    }
    txtParse_->setGeometry(x, row2, bw * 2, bh);
    x += bw * 2 + gap;
    lblVerAndSerialNum_->setGeometry(x, row2, std::max(0, W - x - gap), bh);

    // The terminal takes what the buttons (and the Calibrate row in service mode) leave; the
    // status bar lies outside this area already.
    int reserved = 2 * bh + Twips(110);
    if (s_.CalibrateEnabled) reserved += cmdCalibrate_->sizeHint().height() + Twips(70);

    // Never so small that a button is cut or the terminal shows no lines.
    const int leastW = std::max(gap + bh + gap + 5 * (bw + gap),
                                x + lblVerAndSerialNum_->sizeHint().width() + gap);
    const int leastH = reserved + kLeastTerminalLines * termView_->fontMetrics().lineSpacing() +
                       2 * termView_->frameWidth();
    area->setMinimumSize(leastW, leastH);
    if (isMinimized() || H <= reserved) return;
    const int top = 2 * bh + Twips(110);
    termView_->setGeometry(0, top, W, H - reserved);
    cmdCalibrate_->setGeometry(gap, top + (H - reserved) + Twips(35), bw,
                               cmdCalibrate_->sizeHint().height());
}

// One width for all buttons, wide enough for the longest caption in the window's font.
int frmTerminal::ButtonWidth() const {
    int w = Twips(1000);
    for (const QPushButton* b : {cmdRefresh_, cmdRptDist_, cmdRamp_, cmdScope_, cmdRptSpect_,
                                 cmdSpect_, cmdHist_, cmdConfig_, cmdCalibrate_}) {
        w = std::max(w, b->sizeHint().width());
    }
    return w;
}

void frmTerminal::moveEvent(QMoveEvent* e) {
    QMainWindow::moveEvent(e);
    // The window system adds its frame only once the window is on the screen: the start-up
    // place is worked out again, once, for the outer size the window then has.
    if (placeWhenFramed_ && frameGeometry().size() != size()) {
        placeWhenFramed_ = false;
        PlaceAtStart();
    }
}

void frmTerminal::PlaceAtStart() {
    if (const QScreen* scr = screen()) {
        move(MainWindowStart(scr->availableGeometry(), frameGeometry().size()));
    }
}

void frmTerminal::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    LayoutControls();
}

void frmTerminal::Form_Load() {
    PlaceAtStart();
    placeWhenFramed_ = frameGeometry().size() == size();
    const QColor face = cmdCalibrate_->palette().color(QPalette::Button);
    s_.cmdCalibrate.face = Colour{face.red(), face.green(), face.blue()};
    s_.cmdRefresh.face = s_.cmdRptDist.face = s_.cmdRptSpect.face = s_.cmdCalibrate.face;
    s_.SaveColor = s_.cmdCalibrate.face;
    PortStateChanged();
    // The log opens before the first command, so a whole session can be recorded.
    const ProgramArgs args = ParseProgramArgs(args_);
    if (!args.error.empty()) ShowPortError(s_, args.error);
    if (!args.logPath.empty()) OpenLogAppending(s_, log_, args.logPath);
    ShowLogState();
    Startup(s_, store_, args.rest);
    ButtonsChanged();
    LabelsChanged();
    LayoutControls();
}

void frmTerminal::EndProgram() {
    if (ended_) return;
    ended_ = true;
    delete graph_.data();
    delete results_.data();
    // Hidden, not deleted: one of its handlers may still be waiting below this call.
    if (config_) config_->hide();
    // Posted, so that a shutdown during start-up (before the event loop runs) still ends it.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    close();
}

void frmTerminal::closeEvent(QCloseEvent* e) {
    if (ended_) {
        e->accept();
        return;
    }
    if (shuttingDown_) {  // the drain question is open: a second close waits for its answer
        e->ignore();
        return;
    }
    shuttingDown_ = true;
    s_.PortCloseAllowed = true;
    s_.CancelSend = true;  // a transmission stops before its next character
    const bool ended = Shutdown(s_);
    shuttingDown_ = false;
    if (ended) {
        e->accept();
    } else {
        e->ignore();
    }
}

void frmTerminal::mnuFileExit_Click() {
    close();
}

void frmTerminal::mnuOpen_Click() {
    PortToggle(s_);
}

void frmTerminal::PortStateChanged() {
    const bool open = comm_.PortOpen();
    frmConnectLight_->SetColour(open ? Colour{0, 255, 0} : Colour{255, 0, 0});
    mnuOpen_->setChecked(open);
    mnuSendText_->setEnabled(open && !s_.TextSending);
    panels_[1]->setText(FromLatin1(SettingsPanelText(s_)));
    if (open) {
        Timer1_.start();
        Timer1_Timer();
    } else {
        Timer1_.stop();
        panels_[2]->setText("");
    }
}

void frmTerminal::mnuOpenLog_Click() {
    sondix::mnuOpenLog_Click(s_, log_, *chooser_);
    ShowLogState();
}

void frmTerminal::CloseLog() {
    log_.Close();
    ShowLogState();
}

void frmTerminal::ShowLogState() {
    setWindowTitle(QString::fromStdString(LogCaption(log_.Path())));  // a file name: UTF-8
    mnuOpenLog_->setEnabled(!log_.IsOpen());
    mnuCloseLog_->setEnabled(log_.IsOpen());
}

void frmTerminal::mnuSendText_Click() {
    if (!cancelSend_) cancelSend_ = new frmCancelSend(s_, this);
    sondix::mnuSendText_Click(s_, *chooser_, *cancelSend_);
}

void frmTerminal::mnuProperties_Click() {
    frmProperties dialog(s_, store_, SystemSerialDevices(), this);
    dialog.exec();
}

void frmTerminal::TimerReconnect_Timer() {
    if (!ReconnectTick(s_)) TimerReconnect_.stop();
}

void frmTerminal::Timer1_Timer() {
    panels_[2]->setText(FromLatin1(ConnectTimeText(s_)));
}

void frmTerminal::Timer2_Timer() {
    panels_[0]->setText("Status: ");
    Timer2_.stop();
}

void frmTerminal::SetStatusPanel(std::string_view text) {
    panels_[0]->setText(FromLatin1(text));
}

void frmTerminal::StartStatusResetTimer() {
    Timer2_.start();
}

void frmTerminal::ApplyFace(QPushButton* b, const ButtonFace& f) {
    b->setText(FromLatin1(f.caption));
    b->setEnabled(f.enabled);
    b->setVisible(f.visible);
    // The normal face is the style's own, so the buttons look native until they are lit.
    const QString sheet = f.face == s_.SaveColor ? QString()
                                                 : QString("background-color: rgb(%1, %2, %3)")
                                                       .arg(f.face.r)
                                                       .arg(f.face.g)
                                                       .arg(f.face.b);
    // Each sheet set, even the same one, gives the button a new palette, and the style caches
    // its drawing under every palette it has seen: the memory would grow with every command.
    if (b->styleSheet() != sheet) b->setStyleSheet(sheet);
}

void frmTerminal::ButtonsChanged() {
    const bool calibrateShown = cmdCalibrate_->isVisible();
    ApplyFace(cmdRefresh_, s_.cmdRefresh);
    ApplyFace(cmdRptDist_, s_.cmdRptDist);
    ApplyFace(cmdRptSpect_, s_.cmdRptSpect);
    ApplyFace(cmdCalibrate_, s_.cmdCalibrate);
    if (calibrateShown != s_.cmdCalibrate.visible) LayoutControls();
}

void frmTerminal::LabelsChanged() {
    lblVerAndSerialNum_->setText(FromLatin1(s_.lblVerAndSerialNum));
    LayoutControls();  // the window keeps room for the whole label
}

namespace {

// A window shown before keeps its place and size; one never shown has nothing to remember.
void RememberPlace(const QWidget* w, std::optional<QRect>& place) {
    if (w->isVisible()) place = QRect(w->pos(), w->size());
}

bool RestorePlace(QWidget* w, const std::optional<QRect>& place) {
    if (!place) return false;
    w->resize(place->size());
    w->move(place->topLeft());
    return true;
}

}  // namespace

void frmTerminal::CreateGraphWindow() {
    if (graph_) return;
    graph_ = new frmGraph(s_);
    RestorePlace(graph_, graphPlace_);
}

void frmTerminal::CloseGraphWindow() {
    if (!graph_) return;
    frmGraph* g = graph_;
    graph_ = nullptr;
    RememberPlace(g, graphPlace_);
    g->closeFromCore();
    g->deleteLater();
}

void frmTerminal::ShowGraph() {
    if (!graph_) CreateGraphWindow();
    graph_->Render();
    if (!graph_->isVisible()) graph_->show();
}

void frmTerminal::CreateResultsWindow() {
    if (!results_) {
        results_ = new frmResults(s_);
        if (!RestorePlace(results_, resultsPlace_)) PlaceBesideMe(results_);
    }
    results_->Render();
    results_->show();
}

void frmTerminal::PlaceBesideMe(QWidget* w) const {
    const QScreen* scr = screen();
    if (!scr) return;
    // Before its first showing a window's frame is unknown: it will be like ours.
    const QSize frame = frameGeometry().size() - size();
    const auto at = BesideWindow(scr->availableGeometry(), frameGeometry(), w->size() + frame);
    if (at) w->move(*at);
}

void frmTerminal::CloseResultsWindow() {
    if (!results_) return;
    frmResults* r = results_;
    results_ = nullptr;
    RememberPlace(r, resultsPlace_);
    r->closeFromCore();
    r->deleteLater();
}

void frmTerminal::ResultsChanged() {
    if (results_) results_->Render();
}

void frmTerminal::ShowConfigWindow() {
    if (!config_) config_ = new frmConfig(s_);
    config_->Render();
    // The screen opens at the top-left corner of the desktop.
    if (const QScreen* scr = screen()) config_->move(scr->availableGeometry().topLeft());
    config_->show();
    config_->raise();
}

void frmTerminal::CloseConfigWindow() {
    if (config_) config_->closeFromCore();
}

void frmTerminal::ConfigChanged() {
    if (config_) config_->Render();
}

QString frmTerminal::StatusPanelText(int index) const {
    return index >= 0 && index < 3 ? panels_[index]->text() : QString();
}

QPushButton* frmTerminal::Button(const char* name) const {
    return findChild<QPushButton*>(name);
}

}  // namespace sondix

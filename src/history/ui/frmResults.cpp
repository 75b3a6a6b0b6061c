#include "history/ui/frmResults.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <algorithm>

#include "common/ui/twips.h"
#include "history/ui/results_layout.h"
#include "terminal/main_window.h"
#include "terminal/session.h"
#include "terminal/ui/qt_platform.h"

namespace {

// Design sizes in twips.
constexpr double kDesignWidthTwips = 6000;
constexpr double kDesignHeightTwips = 4500;
constexpr double kBarHeightTwips = 300;
constexpr double kLampWidthTwips = 600;
constexpr double kLampHeightTwips = 360;

// Big enough to read across a room.
QFont ValueFont() {
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(36);
    f.setBold(true);
    return f;
}

QFont LabelFont() {
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(9);
    f.setBold(true);
    return f;
}

QColor ToQColor(const sondix::Colour& c) {
    return QColor(std::clamp(c.r, 0, 255), std::clamp(c.g, 0, 255), std::clamp(c.b, 0, 255));
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, const QString& tip) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setFont(LabelFont());
    l->setToolTip(tip);
    l->adjustSize();
    return l;
}

QLineEdit* NewValueBox(QWidget* parent, const char* name) {
    auto* t = new QLineEdit(parent);
    t->setObjectName(QLatin1String(name));
    t->setReadOnly(true);
    t->setFocusPolicy(Qt::NoFocus);
    t->setFont(ValueFont());
    t->setAlignment(Qt::AlignCenter);
    t->resize(t->sizeHint());
    return t;
}

QFrame* NewLamp(QWidget* parent, const char* name, QSize size) {
    auto* f = new QFrame(parent);
    f->setObjectName(QLatin1String(name));
    f->setFrameShape(QFrame::Box);
    f->setFrameShadow(QFrame::Plain);
    f->setAutoFillBackground(true);
    f->resize(size);
    return f;
}

// The value font, smaller where a text such as "no data" would not fit the box.
void FitValueFont(QLineEdit* box) {
    QFont f = ValueFont();
    const int room = box->contentsRect().width() - 8;
    while (f.pointSize() > 8 && QFontMetrics(f).horizontalAdvance(box->text()) > room)
        f.setPointSize(f.pointSize() - 2);
    if (box->font() != f) box->setFont(f);
}

void SetFill(QWidget* w, QPalette::ColorRole role, const QColor& c) {
    if (w->palette().color(role) == c) return;
    QPalette p = w->palette();
    p.setColor(role, c);
    w->setPalette(p);
}

}  // namespace

frmResults::frmResults(sondix::Session& s, QWidget* parent) : QWidget(parent, Qt::Window), s_(s) {
    setObjectName(QStringLiteral("frmResults"));
    setWindowTitle(QStringLiteral("Results"));
    const QString relayTip = QStringLiteral("green=ON, dark red=OFF");
    lblOutputvalue = NewLabel(this, "lblOutputvalue", QStringLiteral("OUTPUT VALUE"), {});
    txtOutputvalue = NewValueBox(this, "txtOutputvalue");
    pbrSigstrength = new QProgressBar(this);
    pbrSigstrength->setObjectName(QStringLiteral("pbrSigstrength"));
    pbrSigstrength->setRange(0, 99);
    pbrSigstrength->setValue(0);
    pbrSigstrength->setTextVisible(false);
    pbrSigstrength->setToolTip(QStringLiteral("logarithmic signal strength indicator 0..99"));
    pbrSigstrength->resize(pbrSigstrength->sizeHint().width(),
                           sondix::TwipsToPixelsY(*this, kBarHeightTwips));
    lblSigstrength = NewLabel(this, "lblSigstrength", QStringLiteral("SIGNAL-TO-NOISE"),
                              QStringLiteral("logarithmic units 00-99"));
    txtSigstrength = NewValueBox(this, "txtSigstrength");
    lblRelay1 = NewLabel(this, "lblRelay1", QStringLiteral("RELAY1"), relayTip);
    lblRelay2 = NewLabel(this, "lblRelay2", QStringLiteral("RELAY2"), relayTip);
    const QSize lamp(sondix::TwipsToPixelsX(*this, kLampWidthTwips),
                     sondix::TwipsToPixelsY(*this, kLampHeightTwips));
    shpRelay1 = NewLamp(this, "shpRelay1", lamp);
    shpRelay2 = NewLamp(this, "shpRelay2", lamp);

    resize(sondix::TwipsToPixelsX(*this, kDesignWidthTwips),
           sondix::TwipsToPixelsY(*this, kDesignHeightTwips));
    initialInnerHeight_ = height();
    Render();
    KeepMinimumSize();
    LayoutControls();
}

int frmResults::InitialHeight() const {
    return initialInnerHeight_ + frameGeometry().height() - height();
}

void frmResults::Render() {
    const sondix::ResultsModel& r = s_.results;
    const QString value = sondix::FromLatin1(r.txtOutputvalue);
    if (txtOutputvalue->text() != value) txtOutputvalue->setText(value);
    // A value left from a lost device stays readable but greyed.
    SetFill(txtOutputvalue, QPalette::Text,
            r.stale ? QColor(128, 128, 128) : QApplication::palette().color(QPalette::Text));
    pbrSigstrength->setValue(std::clamp(r.pbrSigstrength, 0, 99));
    const QString sig = sondix::FromLatin1(r.txtSigstrength);
    if (txtSigstrength->text() != sig) txtSigstrength->setText(sig);
    FitValueFont(txtSigstrength);
    SetFill(txtSigstrength, QPalette::Text, ToQColor(r.SigColor));
    SetFill(shpRelay1, QPalette::Window, ToQColor(r.shpRelay1));
    SetFill(shpRelay2, QPalette::Window, ToQColor(r.shpRelay2));
}

// In the normal state the window keeps at least 3000 twips of outer width and its height at
// load; the minimum size keeps the window manager from shrinking it further.
void frmResults::KeepMinimumSize() {
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) {
        return;
    }
    const QSize extra = frameGeometry().size() - size();
    const int minOuterW = sondix::TwipsToPixelsX(*this, sondix::kResultsMinOuterWidthTwips);
    const int initialOuterH = InitialHeight();
    const QSize least = sondix::ResultsMinimumInner({0, 0}, extra, minOuterW, initialOuterH);
    if (minimumSize() != least) setMinimumSize(least);
    const QSize need = sondix::ResultsMinimumInner(size(), extra, minOuterW, initialOuterH);
    if (need != size()) resize(need);
}

void frmResults::LayoutControls() {
    if (windowState() & Qt::WindowMinimized) return;
    const sondix::ResultsControlSizes sizes{
        lblOutputvalue->size(), txtOutputvalue->size(), pbrSigstrength->size(),
        lblSigstrength->size(), txtSigstrength->size(), lblRelay1->size(),
        shpRelay1->size(),      lblRelay2->size(),      shpRelay2->size()};
    const int sigMin = sondix::TwipsToPixelsX(*this, sondix::kSigMinWidthTwips);
    const auto p = sondix::PlaceResults(size(), sizes, sigMin);
    if (!p) return;
    lblOutputvalue->setGeometry(p->lblOutputvalue);
    txtOutputvalue->setGeometry(p->txtOutputvalue);
    pbrSigstrength->setGeometry(p->pbrSigstrength);
    lblSigstrength->setGeometry(p->lblSigstrength);
    txtSigstrength->setGeometry(p->txtSigstrength);
    FitValueFont(txtSigstrength);
    lblRelay1->setGeometry(p->lblRelay1);
    shpRelay1->setGeometry(p->shpRelay1);
    lblRelay2->setGeometry(p->lblRelay2);
    shpRelay2->setGeometry(p->shpRelay2);
}

void frmResults::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    KeepMinimumSize();
    LayoutControls();
}

void frmResults::closeFromCore() {
    closingFromCore_ = true;
    close();
    closingFromCore_ = false;
}

void frmResults::closeEvent(QCloseEvent* e) {
    e->accept();
    if (closingFromCore_ || unloading_) return;
    // The user's close box: the core's unload stops the results stream with "}", restores the
    // Results button and asks the host to close us (landing in closeFromCore while we are here).
    unloading_ = true;
    sondix::UnloadResultsWindow(s_);
    unloading_ = false;
}

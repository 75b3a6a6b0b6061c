#include "config/ui/frmConfig.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "config/config_screen.h"
#include "config/settings_buttons.h"
#include "terminal/session.h"
#include "terminal/ui/qt_platform.h"

namespace {

using sondix::ControlKind;
using sondix::ScreenControl;

// The sensor's texts break lines with CR LF; Qt wants LF.
QString Shown(const std::string& latin1) {
    QString t = sondix::FromLatin1(latin1);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

QString Rgb(const sondix::Colour& c) {
    return QStringLiteral("rgb(%1, %2, %3)").arg(c.r).arg(c.g).arg(c.b);
}

QString ButtonStyle(const sondix::Colour& face) {
    return QStringLiteral(
               "QPushButton { background-color: %1; border: 1px solid rgb(90, 90, 140);"
               " border-radius: 3px; padding: 3px 10px; }"
               " QPushButton:pressed { border-width: 2px; }"
               " QPushButton:disabled { color: rgb(120, 120, 120); }")
        .arg(Rgb(face));
}

QFrame* Separator() {
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// A text box as wide as the longest length the sensor takes ("1076'10.4\"") in its own font,
// not the wider default of a line edit.
class ValueBox : public QLineEdit {
  public:
    QSize sizeHint() const override {
        constexpr int kChars = 11;
        const int w = fontMetrics().horizontalAdvance(QLatin1Char('0')) * kChars + 12;
        return {w, QLineEdit::sizeHint().height()};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }
};

}  // namespace

frmConfig::frmConfig(sondix::Session& s, QWidget* parent) : QWidget(parent, Qt::Window), s_(s) {
    setObjectName(QStringLiteral("frmConfig"));
    BuildControls();
    Render();
}

QWidget* frmConfig::Make(const QByteArray& name) {
    const QString qname = QString::fromLatin1(name);
    ScreenControl* c = sondix::FindControl(s_.config, name.toStdString());
    QWidget* w = nullptr;
    switch (c->kind) {
        case ControlKind::Label: {
            auto* l = new QLabel;
            l->setTextFormat(Qt::PlainText);
            w = l;
            break;
        }
        case ControlKind::Button: {
            auto* b = new QPushButton;
            connect(b, &QPushButton::clicked, this, [this, qname] { Press(qname); });
            w = b;
            break;
        }
        case ControlKind::Frame:
            w = new QGroupBox;
            break;
        case ControlKind::Option: {
            auto* o = new QRadioButton;
            // The model decides which choice is on; a click only asks for it.
            o->setAutoExclusive(false);
            connect(o, &QRadioButton::clicked, this,
                    [this, qname] { Forward(qname, QStringLiteral("1")); });
            w = o;
            break;
        }
        case ControlKind::Check: {
            auto* k = new QCheckBox;
            connect(k, &QCheckBox::clicked, this, [this, qname](bool on) {
                Forward(qname, on ? QStringLiteral("1") : QStringLiteral("0"));
            });
            w = k;
            break;
        }
        case ControlKind::TextBox: {
            auto* t = new ValueBox;
            t->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
            connect(t, &QLineEdit::textEdited, this,
                    [this, qname](const QString& text) { Forward(qname, text); });
            w = t;
            break;
        }
        case ControlKind::UpDown: {
            auto* u = new QSpinBox;
            u->setRange(sondix::kDampMin, sondix::kDampMax);
            connect(u, &QSpinBox::valueChanged, this, [this, qname](int v) {
                if (!rendering_) Forward(qname, QString::number(v));
            });
            w = u;
            break;
        }
    }
    w->setObjectName(qname);
    widgets_.insert(qname, w);
    return w;
}

void frmConfig::BuildControls() {
    setAutoFillBackground(true);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("content"));
    content->setAutoFillBackground(true);
    content_ = content;
    auto* top = new QHBoxLayout;
    top->addWidget(Make("lblHeader"), 1);
    top->addWidget(BuildSettingsFileButtons(), 0, Qt::AlignTop);
    top->addWidget(Make("cmdRefreshPar"), 0, Qt::AlignTop);

    auto* columns = new QHBoxLayout;
    columns->setSpacing(12);
    columns->addWidget(BuildLengthsColumn(), 0, Qt::AlignTop);
    columns->addWidget(BuildRelaysColumn(), 0, Qt::AlignTop);
    columns->addWidget(BuildSettingsColumn(), 0, Qt::AlignTop);

    auto* all = new QVBoxLayout(content);
    all->setContentsMargins(10, 8, 10, 10);
    all->addLayout(top);
    all->addWidget(Separator());
    all->addLayout(columns);
    all->addStretch(1);

    // On a small screen (or a large scaling) the whole screen stays reachable by scrolling.
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(content);
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll_);
}

void frmConfig::GrowToContents() {
    // A hidden window's nested layouts keep the sizes of their old texts until they are told.
    for (QWidget* w : content_->findChildren<QWidget*>())
        w->updateGeometry();
    QSize want = sizeHint().expandedTo(size());
    if (const QScreen* scr = screen()) {
        // Room for the window frame, which the screen's available area must also hold.
        want = want.boundedTo(scr->availableGeometry().size() - QSize(16, 48));
    }
    // Resized at least once, so that showing it keeps this size.
    if (want != size() || !testAttribute(Qt::WA_Resized)) resize(want);
}

// Units, calibration, loop output points, range limits and the calculated figures.
QWidget* frmConfig::BuildLengthsColumn() {
    auto* col = new QWidget;
    auto* v = new QVBoxLayout(col);
    v->setContentsMargins(0, 0, 0, 0);

    auto* units = static_cast<QGroupBox*>(Make("frmUnits"));
    auto* uh = new QHBoxLayout(units);
    for (int i = 0; i < 5; ++i)
        uh->addWidget(Make("optUnits(" + QByteArray::number(i) + ")"));
    v->addWidget(units);

    auto* g = new QGridLayout;
    g->setColumnStretch(1, 1);
    int row = 0;
    const auto addRow = [&](const char* box, const char* label, const char* button) {
        g->addWidget(Make(box), row, 0);
        g->addWidget(Make(label), row, 1);
        g->addWidget(Make(button), row, 2);
        ++row;
    };
    addRow("txtCaldist", "lblCaldist", "cmdCaldist");
    g->addWidget(Make("cmdCalibrate"), row++, 2);
    g->addWidget(Separator(), row++, 0, 1, 3);
    addRow("txtSet4", "lblSet4", "cmdSet4");
    addRow("txtSet20", "lblSet20", "cmdSet20");
    g->addWidget(Separator(), row++, 0, 1, 3);
    addRow("txtSetMinRange", "lblSetMinRange", "cmdSetMinRange");
    addRow("txtSetMaxRange", "lblSetMaxRange", "cmdSetMaxRange");
    g->addWidget(Make("lblMaxPossibleRange"), row++, 0, 1, 3);
    v->addLayout(g);

    auto* calc = static_cast<QGroupBox*>(Make("frmCalculated"));
    auto* ch = new QHBoxLayout(calc);
    ch->setSpacing(16);
    ch->addWidget(Make("lblFreq"), 1);
    ch->addWidget(Make("lblSweep"), 1);
    v->addWidget(calc);
    return col;
}

// Both relays and the output variable.
QWidget* frmConfig::BuildRelaysColumn() {
    auto* col = new QWidget;
    auto* v = new QVBoxLayout(col);
    v->setContentsMargins(0, 0, 0, 0);
    for (int relay = 1; relay <= 2; ++relay) {
        const QByteArray n = QByteArray::number(relay);
        auto* frame = static_cast<QGroupBox*>(Make("frmRelay" + n));
        auto* g = new QGridLayout(frame);
        for (int i = 0; i < 4; ++i)
            g->addWidget(Make("optRelay" + n + "Mode(" + QByteArray::number(i) + ")"), i / 2,
                         i % 2);
        g->addWidget(Make("chkRelay" + n + "Invert"), 2, 0);
        auto* dist = new QHBoxLayout;
        dist->addWidget(Make("txtRelay" + n + "Dist"));
        dist->addWidget(Make("lblRelay" + n + "Dist"), 1);
        dist->addWidget(Make("cmdRelay" + n + "Dist"));
        g->addLayout(dist, 3, 0, 1, 2);
        v->addWidget(frame);
    }
    v->addWidget(ChoiceGroup("frmOutSel", "optOutSel", 3, 3));
    return col;
}

// Damping, amplitude threshold, echo selection and history interval.
QWidget* frmConfig::BuildSettingsColumn() {
    auto* col = new QWidget;
    auto* v = new QVBoxLayout(col);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(Make("lblDamp"));
    auto* damp = new QHBoxLayout;
    damp->addWidget(Make("updDamp"));
    damp->addWidget(Make("lblDampTime"), 1);
    damp->addWidget(Make("cmdSetDamp"));
    v->addLayout(damp);
    v->addWidget(Make("lblAmpMinTitle"));
    auto* amp = new QHBoxLayout;
    amp->addWidget(Make("txtAmpMin"));
    amp->addWidget(Make("lblAmpMinUnits"), 1);
    amp->addWidget(Make("cmdAmpMin"));
    v->addLayout(amp);

    v->addWidget(ChoiceGroup("frmPkSel", "optPkSel", 4, 1));
    v->addWidget(ChoiceGroup("frmHist", "optHist", 7, 4));
    return col;
}

QWidget* frmConfig::ChoiceGroup(const char* frame, const char* base, int count, int perRow) {
    auto* f = Make(frame);
    auto* g = new QGridLayout(f);
    for (int i = 0; i < count; ++i)
        g->addWidget(Make(QByteArray(base) + "(" + QByteArray::number(i) + ")"), i / perRow,
                     i % perRow);
    return f;
}

QWidget* frmConfig::BuildSettingsFileButtons() {
    const struct {
        const char* name;
        const char* caption;
        bool save;
        void (*run)(sondix::Session&, const std::string&);
    } buttons[] = {
        {"cmdSaveSettings", "Save settings\u2026", true, sondix::SaveSettings},
        {"cmdLoadSettings", "Load settings\u2026", false, sondix::LoadSettings},
        {"cmdCompareSettings", "Compare\u2026", false, sondix::CompareSettings},
    };
    auto* row = new QWidget;
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    for (const auto& b : buttons) {
        auto* button = new QPushButton(QString::fromUtf8(b.caption));
        button->setObjectName(QString::fromLatin1(b.name));
        button->setStyleSheet(ButtonStyle(sondix::kConfigButtonFace));
        connect(button, &QPushButton::clicked, this, [this, button, save = b.save, run = b.run] {
            SettingsFile_Click(button->text().chopped(1), save, run);
        });
        h->addWidget(button);
    }
    return row;
}

void frmConfig::SettingsFile_Click(const QString& title, bool save,
                                   void (*run)(sondix::Session&, const std::string&)) {
    const QString filter = QStringLiteral("Sondix settings (*.txt);;All files (*)");
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    const QString path =
        save ? QFileDialog::getSaveFileName(this, title,
                                            folder + QStringLiteral("/sensor-settings.txt"), filter)
             : QFileDialog::getOpenFileName(this, title, folder, filter);
    if (path.isEmpty()) return;
    run(s_, path.toStdString());
    Render();
}

QSize frmConfig::sizeHint() const {
    return content_->sizeHint();
}

void frmConfig::Render() {
    rendering_ = true;
    const sondix::ConfigScreen& c = s_.config;
    setWindowTitle(sondix::FromLatin1(c.caption));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(c.back.r, c.back.g, c.back.b));
    if (palette() != pal) setPalette(pal);

    for (const sondix::ConstNamedControl& n : sondix::Controls(c)) {
        QWidget* w = widgets_.value(QString::fromStdString(n.name));
        if (w == nullptr) continue;
        const ScreenControl& k = *n.control;
        const QString caption = Shown(k.caption);
        switch (k.kind) {
            case ControlKind::Label:
                if (auto* l = static_cast<QLabel*>(w); l->text() != caption) l->setText(caption);
                break;
            case ControlKind::Button: {
                auto* b = static_cast<QPushButton*>(w);
                if (b->text() != caption) b->setText(caption);
                const QString style = ButtonStyle(k.face);
                if (b->styleSheet() != style) b->setStyleSheet(style);
                break;
            }
            case ControlKind::Frame:
                if (auto* f = static_cast<QGroupBox*>(w); f->title() != caption)
                    f->setTitle(caption);
                break;
            case ControlKind::Option:
            case ControlKind::Check: {
                auto* b = static_cast<QAbstractButton*>(w);
                if (b->text() != caption) b->setText(caption);
                if (b->isChecked() != k.value) b->setChecked(k.value);
                break;
            }
            case ControlKind::TextBox: {
                const QString text = sondix::FromLatin1(k.text);
                if (auto* t = static_cast<QLineEdit*>(w); t->text() != text) t->setText(text);
                break;
            }
            case ControlKind::UpDown:
                if (auto* u = static_cast<QSpinBox*>(w); u->value() != k.number)
                    u->setValue(k.number);
                break;
        }
        if (w->isEnabled() != k.enabled) w->setEnabled(k.enabled);
        if (w->isVisibleTo(this) != k.visible) w->setVisible(k.visible);
        const QString tip = sondix::FromLatin1(k.tooltip);
        if (w->toolTip() != tip) w->setToolTip(tip);
    }
    rendering_ = false;
    GrowToContents();
}

void frmConfig::Forward(const QString& name, const QString& value) {
    sondix::ConfigSet(s_, sondix::ToLatin1(name), sondix::ToLatin1(value));
    Render();
}

void frmConfig::Press(const QString& name) {
    sondix::ConfigClick(s_, sondix::ToLatin1(name));
    Render();
}

void frmConfig::closeFromCore() {
    closingFromCore_ = true;
    close();
    closingFromCore_ = false;
}

void frmConfig::closeEvent(QCloseEvent* e) {
    e->accept();
    if (closingFromCore_) return;
    // The close box: the core resets FirstInitDone and asks the host to hide us.
    sondix::Form_Unload(s_);
}

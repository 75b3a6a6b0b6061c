#include "terminal/ui/frmProperties.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSerialPortInfo>
#include <QTabWidget>
#include <QVBoxLayout>

#include "terminal/ui/qt_platform.h"

namespace sondix {
namespace {

template <std::size_t N>
QComboBox* MakeList(const char* name, const std::array<std::string_view, N>& items) {
    auto* box = new QComboBox;
    box->setObjectName(name);
    for (const std::string_view item : items)
        box->addItem(FromLatin1(item));
    return box;
}

// Selects the entry with `text`; none when there is no such entry.
void SelectText(QComboBox* box, const std::string& text) {
    box->setCurrentIndex(box->findText(FromLatin1(text)));
}

std::string SelectedText(const QComboBox* box) {
    return box->currentIndex() < 0 ? std::string() : ToLatin1(box->currentText());
}

QGroupBox* OptionFrame(const char* name, const char* caption, const char* optionName,
                       const std::vector<std::string_view>& options, QButtonGroup* group) {
    auto* frame = new QGroupBox(caption);
    frame->setObjectName(name);
    auto* layout = new QVBoxLayout(frame);
    for (std::size_t i = 0; i < options.size(); ++i) {
        auto* opt = new QRadioButton(FromLatin1(options[i]));
        opt->setObjectName(QString("%1%2").arg(optionName).arg(i));
        group->addButton(opt, static_cast<int>(i));
        layout->addWidget(opt);
    }
    return frame;
}

}  // namespace

std::vector<SerialDevice> SystemSerialDevices() {
    std::vector<SerialDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialDevice d;
        d.path = info.systemLocation().toStdString();
        d.description = info.description().toStdString();
        if (info.hasVendorIdentifier()) d.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier()) d.productId = info.productIdentifier();
        devices.push_back(std::move(d));
    }
    return devices;
}

frmProperties::frmProperties(Session& s, SettingsStore& store, std::vector<SerialDevice> devices,
                             QWidget* parent)
    : QDialog(parent), s_(s), store_(store), entries_(PortEntries(devices)) {
    setObjectName("frmProperties");
    setWindowTitle("CommPort Properties");
    BuildControls();
    LoadPropertySettings();
    adjustSize();
    if (const QScreen* scr = screen()) {
        const QRect area = scr->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void frmProperties::BuildControls() {
    tabSettings_ = new QTabWidget(this);
    tabSettings_->setObjectName("tabSettings");
    auto* fraSettings = new QWidget;
    fraSettings->setObjectName("fraSettings");
    tabSettings_->addTab(fraSettings, "Properties");

    cboPort_ = new QComboBox;
    cboPort_->setObjectName("cboPort");
    // A device the system does not list (a pseudo-terminal, a link) can be typed.
    cboPort_->setEditable(true);
    cboPort_->setInsertPolicy(QComboBox::NoInsert);
    cboPort_->setToolTip("a listed port, or the path of a serial device such as /dev/ttyUSB0");
    for (const PortEntry& e : entries_)
        cboPort_->addItem(FromLatin1(e.text));
    cboPort_->setMinimumContentsLength(24);
    cboPort_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto* portRow = new QHBoxLayout;
    auto* portLabel = new QLabel("Port:");
    portLabel->setBuddy(cboPort_);
    portRow->addWidget(portLabel);
    portRow->addWidget(cboPort_, 1);

    cboSpeed_ = MakeList("cboSpeed", kSpeedList);
    auto* speedFrame = new QGroupBox("Maximum Speed");
    (new QVBoxLayout(speedFrame))->addWidget(cboSpeed_);

    cboDataBits_ = MakeList("cboDataBits", kDataBitsList);
    cboParity_ = MakeList("cboParity", kParityList);
    cboStopBits_ = MakeList("cboStopBits", kStopBitsList);
    auto* prefFrame = new QGroupBox("Connection Preferences");
    auto* pref = new QFormLayout(prefFrame);
    pref->addRow("Data Bits:", cboDataBits_);
    pref->addRow("Parity:", cboParity_);
    pref->addRow("Stop Bits:", cboStopBits_);

    optFlow_ = new QButtonGroup(this);
    optEcho_ = new QButtonGroup(this);
    auto* flowFrame = OptionFrame("fraFlow", "&Flow Control", "optFlow",
                                  {kFlowList.begin(), kFlowList.end()}, optFlow_);
    auto* echoFrame = OptionFrame("fraEcho", "&Echo", "optEcho", {"Off", "On"}, optEcho_);
    chkReconnect_ = new QCheckBox("Reconnect automatically");
    chkReconnect_->setObjectName("chkReconnect");
    chkReconnect_->setToolTip("reopen the port by itself when an unplugged adapter returns");

    auto* left = new QVBoxLayout;
    left->addWidget(speedFrame);
    left->addWidget(prefFrame);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(flowFrame);
    right->addWidget(echoFrame);
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto* page = new QVBoxLayout(fraSettings);
    page->addLayout(portRow);
    page->addLayout(columns);
    page->addWidget(chkReconnect_);

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    cancel->setObjectName("cmdCancel");
    connect(ok, &QPushButton::clicked, this, &frmProperties::cmdOK_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* all = new QVBoxLayout(this);
    all->addWidget(tabSettings_);
    all->addWidget(buttons);
}

void frmProperties::LoadPropertySettings() {
    const PropertyChoices c = sondix::LoadPropertySettings(s_, entries_);
    SelectText(cboSpeed_, c.speed);
    SelectText(cboParity_, c.parity);
    SelectText(cboDataBits_, c.dataBits);
    SelectText(cboStopBits_, c.stopBits);
    if (cboPort_->findText(FromLatin1(c.port.text)) < 0) {
        entries_.push_back(c.port);
        cboPort_->addItem(FromLatin1(c.port.text));
    }
    SelectText(cboPort_, c.port.text);
    if (QAbstractButton* b = optFlow_->button(c.flow)) b->setChecked(true);
    optEcho_->button(c.echo ? 1 : 0)->setChecked(true);
    chkReconnect_->setChecked(c.autoReconnect);
}

PropertyChoices frmProperties::Choices() const {
    PropertyChoices c;
    c.port =
        PortEntryForText(ToLatin1(cboPort_->currentText()), entries_, s_.io.port->CommPortNumber());
    c.speed = SelectedText(cboSpeed_);
    c.parity = SelectedText(cboParity_);
    c.dataBits = SelectedText(cboDataBits_);
    c.stopBits = SelectedText(cboStopBits_);
    c.flow = std::max(0, optFlow_->checkedId());
    c.echo = optEcho_->checkedId() == 1;
    c.autoReconnect = chkReconnect_->isChecked();
    return c;
}

void frmProperties::cmdOK_Click() {
    if (sondix::cmdOK_Click(s_, store_, Choices())) accept();
}

}  // namespace sondix

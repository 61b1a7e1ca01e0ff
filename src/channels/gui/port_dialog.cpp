#include "channels/gui/port_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <array>
#include <limits>

namespace kestrum {

namespace {

constexpr std::array<std::uint32_t, 15> kUsualBaudRates = {
    110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 115200, 230400, 460800, 921600,
};

struct Texts {
    const char* title;  // %1: port name
    const char* device;
    const char* baudRate;
    const char* dataBits;
    const char* parity;
    const char* stopBits;
    std::array<const char*, 5> parities;
    const char* oneAndAHalf;
    const char* noDevice;
};

const Texts& TextsOf(int language) {
    static const Texts english{
        "Properties of %1", "&Device:", "&Bits per second:", "D&ata bits:", "&Parity:",
        "&Stop bits:", {"None", "Odd", "Even", "Mark", "Space"}, "1.5", "No such device"};
    static const Texts german{
        "Eigenschaften von %1", "&Ger\xC3\xA4t:", "&Bits pro Sekunde:", "D&atenbits:",
        "&Parit\xC3\xA4t:", "&Stoppbits:",
        {"Keine", "Ungerade", "Gerade", "Markierung", "Leerzeichen"}, "1,5",
        "Ger\xC3\xA4t nicht vorhanden"};
    return language == 2 ? german : english;
}

bool ParseBaudRate(const QString& text, std::uint32_t& rate) {
    bool ok = false;
    const qulonglong value = text.trimmed().toULongLong(&ok);
    if (!ok || value == 0 || value > std::numeric_limits<std::uint32_t>::max()) return false;
    rate = static_cast<std::uint32_t>(value);
    return true;
}

}  // namespace

PortSettingsDialog::PortSettingsDialog(const std::string& portName,
                                       const std::vector<std::string>& devices, int language,
                                       QWidget* parent)
    : QDialog(parent), language_(language) {
    const Texts& texts = TextsOf(language);
    setWindowTitle(QString::fromUtf8(texts.title).arg(QString::fromStdString(portName)));
    setModal(true);

    device_ = new QComboBox(this);
    device_->setObjectName("DeviceBox");
    device_->setEditable(true);
    device_->setInsertPolicy(QComboBox::NoInsert);
    device_->setMinimumContentsLength(32);
    for (const std::string& path : devices) device_->addItem(QString::fromStdString(path));

    baudRate_ = new QComboBox(this);
    baudRate_->setObjectName("BaudRateBox");
    baudRate_->setEditable(true);
    baudRate_->setInsertPolicy(QComboBox::NoInsert);
    for (std::uint32_t rate : kUsualBaudRates) baudRate_->addItem(QString::number(rate));
    baudRate_->lineEdit()->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9]{0,10}"), baudRate_));

    dataBits_ = new QComboBox(this);
    dataBits_->setObjectName("DataBitsBox");
    for (int bits = 5; bits <= 8; ++bits) dataBits_->addItem(QString::number(bits), bits);

    parity_ = new QComboBox(this);
    parity_->setObjectName("ParityBox");
    for (int code = 0; code < 5; ++code) parity_->addItem(QString::fromUtf8(texts.parities[code]), code);

    stopBits_ = new QComboBox(this);
    stopBits_->setObjectName("StopBitsBox");
    stopBits_->addItem("1", 0);
    stopBits_->addItem(QString::fromUtf8(texts.oneAndAHalf), 1);
    stopBits_->addItem("2", 2);

    deviceState_ = new QLabel(this);
    deviceState_->setObjectName("DeviceState");
    deviceState_->setStyleSheet("color: #b00000");

    auto* form = new QFormLayout;
    form->addRow(QString::fromUtf8(texts.device), device_);
    form->addRow(QString(), deviceState_);
    form->addRow(QString::fromUtf8(texts.baudRate), baudRate_);
    form->addRow(QString::fromUtf8(texts.dataBits), dataBits_);
    form->addRow(QString::fromUtf8(texts.parity), parity_);
    form->addRow(QString::fromUtf8(texts.stopBits), stopBits_);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, [this] {
        if (Acceptable()) accept();
    });
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(device_, &QComboBox::editTextChanged, this, [this] { Refresh(); });
    connect(baudRate_, &QComboBox::editTextChanged, this, [this] { Refresh(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons_);
    Refresh();
}

void PortSettingsDialog::SetValues(const std::string& device, const Dcb& dcb) {
    device_->setEditText(QString::fromStdString(device));
    baudRate_->setEditText(QString::number(dcb.BaudRate));
    int index = dataBits_->findData(static_cast<int>(dcb.ByteSize));
    if (index < 0) {
        dataBits_->addItem(QString::number(dcb.ByteSize), static_cast<int>(dcb.ByteSize));
        index = dataBits_->count() - 1;
    }
    dataBits_->setCurrentIndex(index);
    parity_->setCurrentIndex(std::max(0, parity_->findData(static_cast<int>(dcb.Parity))));
    stopBits_->setCurrentIndex(std::max(0, stopBits_->findData(static_cast<int>(dcb.StopBits))));
    Refresh();
}

bool PortSettingsDialog::Acceptable() const {
    std::uint32_t rate = 0;
    const QString device = device_->currentText().trimmed();
    return ParseBaudRate(baudRate_->currentText(), rate) && !device.isEmpty() &&
           QFileInfo::exists(device);
}

bool PortSettingsDialog::GetValues(std::string& device, Dcb& dcb) const {
    std::uint32_t rate = 0;
    if (!Acceptable() || !ParseBaudRate(baudRate_->currentText(), rate)) return false;
    device = device_->currentText().trimmed().toStdString();
    dcb.BaudRate = rate;
    dcb.ByteSize = static_cast<std::uint8_t>(dataBits_->currentData().toInt());
    dcb.Parity = static_cast<std::uint8_t>(parity_->currentData().toInt());
    dcb.StopBits = static_cast<std::uint8_t>(stopBits_->currentData().toInt());
    return true;
}

void PortSettingsDialog::Refresh() {
    const QString device = device_->currentText().trimmed();
    const bool missing = !device.isEmpty() && !QFileInfo::exists(device);
    deviceState_->setText(missing ? QString::fromUtf8(TextsOf(language_).noDevice) : QString());
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(Acceptable());
}

bool QtPortDialog::CommConfigDialog(const std::string& portName, std::string& device,
                                    CommConfig& config) {
    PortSettingsDialog dialog(portName, devices_.ListPresentSerialDevices(), options_.Language,
                              owner_);
    dialog.SetValues(device, config.dcb);
    if (dialog.exec() != QDialog::Accepted) return false;
    std::string chosenDevice;
    Dcb chosen = config.dcb;
    if (!dialog.GetValues(chosenDevice, chosen)) return false;
    device = chosenDevice;
    config.dcb = chosen;
    return true;
}

}  // namespace kestrum

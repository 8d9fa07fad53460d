// QSerialPort-backed serial service.
#include "platform/qtserialservice.h"

#include <QSerialPortInfo>

namespace kx90 {

namespace {

QSerialPort::Parity toqt(parity p) {
  switch (p) {
    case parity::even:
      return QSerialPort::EvenParity;
    case parity::odd:
      return QSerialPort::OddParity;
    default:
      return QSerialPort::NoParity;
  }
}

parity fromqt(QSerialPort::Parity p) {
  switch (p) {
    case QSerialPort::EvenParity:
      return parity::even;
    case QSerialPort::OddParity:
      return parity::odd;
    default:
      return parity::none;
  }
}

}  // namespace

qtserialservice::qtserialservice(std::vector<std::string> extraports, std::function<int()> simmodel,
                                 QObject* parent)
    : QObject(parent), extraports_(std::move(extraports)), simmodel_(std::move(simmodel)) {
  sim_.dataavailable = [this] {
    if (dataavailable_) dataavailable_();
  };
  connect(&port_, &QSerialPort::readyRead, this, [this] {
    if (dataavailable_) dataavailable_();
  });
  connect(&port_, &QSerialPort::errorOccurred, this, &qtserialservice::failed);
}

qtserialservice::~qtserialservice() {
  port_.close();
}

std::vector<std::string> qtserialservice::portnames() {
  entries_.clear();
  for (const auto& info : QSerialPortInfo::availablePorts())
    entries_.push_back({info.portName().toStdString(), info.systemLocation()});
  for (const auto& path : extraports_) entries_.push_back({path, QString::fromStdString(path)});
  entries_.push_back({kSimulated, QString(), true});
  std::vector<std::string> names;
  for (const auto& e : entries_) names.push_back(e.name);
  return names;
}

std::string qtserialservice::portname(int index) const {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return {};
  return entries_[index].name;
}

// Settings take effect when the port opens, which is how the link uses them.
void qtserialservice::setlinesettings(const linesettings& settings) {
  settings_ = settings;
}

void qtserialservice::apply() {
  port_.setBaudRate(settings_.baud);
  port_.setDataBits(static_cast<QSerialPort::DataBits>(settings_.databits));
  port_.setParity(toqt(settings_.parity));
  port_.setStopBits(settings_.stopbits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
  // The protocol never uses flow control; one switch covers XON/XOFF and
  // CTS/RTS, and DTR/DSR is not a flow control QSerialPort offers.
  port_.setFlowControl(settings_.xonxoff  ? QSerialPort::SoftwareControl
                       : settings_.rtscts ? QSerialPort::HardwareControl
                                          : QSerialPort::NoFlowControl);
}

bool qtserialservice::open(int index) {
  close();
  if (index < 0 || index >= static_cast<int>(entries_.size())) return false;
  if (entries_[index].simulated) {
    sim_.open(simmodel_ ? simmodel_() : 0);
    return true;
  }
  port_.setPortName(entries_[index].location);
  apply();
  // QSerialPort applies the settings as it opens; applying them again to
  // an open pseudo-terminal fails on the parity it cannot keep.
  if (!port_.open(QIODevice::ReadWrite)) return false;
  port_.clear();
  return true;
}

void qtserialservice::close() {
  sim_.close();
  if (port_.isOpen()) port_.close();
}

bool qtserialservice::isopen() const {
  return port_.isOpen() || sim_.isopen();
}

void qtserialservice::write(std::span<const uint8_t> bytes) {
  if (sim_.isopen()) return sim_.write(bytes);
  if (!port_.isOpen() || bytes.empty()) return;
  port_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

std::vector<uint8_t> qtserialservice::readall() {
  if (sim_.isopen()) return sim_.readall();
  const QByteArray data = port_.readAll();
  return {data.begin(), data.end()};
}

// A port whose other side went away reports the same error over and over
// for as long as it stays open, so any real error closes it here.
void qtserialservice::failed(QSerialPort::SerialPortError error) {
  if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError) return;
  if (!port_.isOpen()) return;
  port_.close();
  if (lost_) lost_();
}

linesettings qtserialservice::current() const {
  linesettings s;
  s.baud = port_.baudRate();
  s.databits = port_.dataBits();
  s.parity = fromqt(port_.parity());
  s.stopbits = port_.stopBits() == QSerialPort::TwoStop ? 2 : 1;
  s.xonxoff = port_.flowControl() == QSerialPort::SoftwareControl;
  s.rtscts = port_.flowControl() == QSerialPort::HardwareControl;
  s.dtrdsr = false;
  return s;
}

}  // namespace kx90

// The real serial service: QSerialPort and QSerialPortInfo behind the seam.
#pragma once

#include <QObject>
#include <QSerialPort>
#include <string>
#include <vector>

#include "platform/serialservice.h"
#include "sim/simport.h"

namespace kx90 {

class qtserialservice : public QObject, public serialservice {
  Q_OBJECT

 public:
  static constexpr const char* kSimulated = "Simulated keyboard";

  // extraports: device paths listed after the system's ports (a test's
  // pseudo-terminal, which the system never lists). simmodel: the keyboard
  // model the simulated keyboard emulates, asked each time it opens.
  explicit qtserialservice(std::vector<std::string> extraports = {},
                           std::function<int()> simmodel = nullptr, QObject* parent = nullptr);
  ~qtserialservice() override;

  std::vector<std::string> portnames() override;
  std::string portname(int index) const override;

  void setlinesettings(const linesettings& settings) override;
  bool open(int index) override;
  void close() override;
  bool isopen() const override;

  void write(std::span<const uint8_t> bytes) override;
  std::vector<uint8_t> readall() override;

  void ondataavailable(std::function<void()> handler) override {
    dataavailable_ = std::move(handler);
  }
  void onlost(std::function<void()> handler) override { lost_ = std::move(handler); }

  // The settings the open port reports back.
  linesettings current() const;
  // The simulated keyboard while it is the open port, else null.
  sim::q9emu* simulated() const { return sim_.keyboard(); }

 private:
  struct entry {
    std::string name;
    QString location;
    bool simulated = false;
  };

  void apply();
  void failed(QSerialPort::SerialPortError error);

  std::vector<std::string> extraports_;
  std::vector<entry> entries_;
  linesettings settings_;
  std::function<int()> simmodel_;
  QSerialPort port_;
  sim::simport sim_;
  std::function<void()> dataavailable_;
  std::function<void()> lost_;
};

}  // namespace kx90

// Test doubles for the platform seams and the protocol's consumers.
#pragma once

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "link/frame.h"
#include "link/parseq9.h"
#include "platform/messageboxes.h"
#include "platform/serialservice.h"
#include "support/hex.h"

namespace kx90::testing {

class fakeserial : public serialservice {
 public:
  std::vector<std::string> ports = {"ttyUSB0", "ttyS0"};
  std::vector<std::string> listed;
  bool openresult = true;
  bool opened = false;
  int openedindex = -1;
  int closes = 0;
  linesettings settings{.baud = 0, .databits = 0, .parity = parity::none, .stopbits = 0};
  std::vector<uint8_t> written;
  std::deque<std::vector<uint8_t>> reads;  // each entry is one readall()
  std::function<void()> dataavailable;
  std::function<void()> lost;

  std::vector<std::string> portnames() override { return listed = ports; }
  std::string portname(int index) const override {
    return index >= 0 && index < static_cast<int>(listed.size()) ? listed[index] : "";
  }
  void setlinesettings(const linesettings& s) override { settings = s; }
  bool open(int index) override {
    openedindex = index;
    opened = openresult && index < static_cast<int>(listed.size());
    return opened;
  }
  void close() override {
    ++closes;
    opened = false;
  }
  bool isopen() const override { return opened; }
  void write(std::span<const uint8_t> bytes) override {
    written.insert(written.end(), bytes.begin(), bytes.end());
  }
  std::vector<uint8_t> readall() override {
    if (reads.empty()) return {};
    auto bytes = std::move(reads.front());
    reads.pop_front();
    return bytes;
  }
  void ondataavailable(std::function<void()> h) override { dataavailable = std::move(h); }
  void onlost(std::function<void()> h) override { lost = std::move(h); }

  // Delivers one read and raises the notification, as a real port would.
  void deliver(std::string_view hextext) {
    reads.push_back(hex(hextext));
    if (dataavailable) dataavailable();
  }
};

class recordingboxes : public messageboxes {
 public:
  std::vector<std::string> texts;
  void alert(const std::string& text) override { texts.push_back(text); }
};

class recordingwriter : public linkwriter {
 public:
  std::vector<std::string> frames;
  void write(std::span<const uint8_t> bytes) override { frames.push_back(tohex(bytes)); }
};

class recordingview : public trafficlog {
 public:
  bool visible = true;
  std::vector<std::string> rows;  // oldest first
  bool isvisible() const override { return visible; }
  void Disp_string(const frame& f) override { rows.push_back(tohex(f)); }
  void Disp_array(const framebuffer& b, const std::string& prefix) override {
    const int n = framedatalength(b[0]);
    rows.push_back(prefix + tohex(std::span(b).first(n + 3)));
  }
};

// Records every consumer call as a line of text, in order.
class recordingconsumer : public q9consumer {
 public:
  int keys = 40;
  std::vector<std::string> calls;
  std::vector<int32_t> tags = std::vector<int32_t>(64, -2);

  void UpdLED() override { calls.push_back("UpdLED"); }
  void lcddata(int line, const std::string& text) override {
    calls.push_back("lcddata " + std::to_string(line) + " " + text);
  }
  int macrokeycount() const override { return keys; }
  void settag(int idx, int32_t code) override { tags.at(idx) = code; }
  void pcbrev(const std::string& t) override { calls.push_back(t); }
  void corerev(const std::string& t) override { calls.push_back(t); }
  void mainrev(const std::string& t) override { calls.push_back(t); }
  void rxdatarq() override { calls.push_back("rxdatarq"); }
};

// A fresh, empty folder for one test, removed afterwards.
class tempfolder {
 public:
  tempfolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kx90-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~tempfolder() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace kx90::testing

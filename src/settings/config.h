// The settings store: a fixed table of 128 key/value text pairs mirrored in
// one small text file that is rewritten whole whenever a value changes.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace kx90 {

// A window's top-left corner, as the store remembers it.
struct WindowPoz {
  int left = 0;
  int top = 0;
};

class config {
 public:
  static constexpr int kPairs = 128;
  static constexpr int kLines = 2 * kPairs;
  static constexpr int kTopFloor = 30;

  // folder: where the settings file lives; created on the first save.
  explicit config(std::filesystem::path folder);

  void initconfig(const std::string& base);
  int findconfig(const std::string& key);
  std::string getstring(const std::string& key);
  void putconfig(const std::string& key, const std::string& value);
  void putconfig(const std::string& key, int32_t value);
  bool saveconfig();

  bool getbool(const std::string& key);
  void putbool(const std::string& key, bool value);
  int32_t getint(const std::string& key);
  int32_t getint0(const std::string& key);
  void putint(const std::string& key, int32_t value);
  std::string getfont(const std::string& key);

  void getwindowpoz(WindowPoz& window, const std::string& name);
  void putwindowpoz(const WindowPoz& window, const std::string& name);

  bool cfound() const { return cfound_; }
  const std::filesystem::path& filename() const { return filename_; }
  const std::array<std::string, kLines>& parray() const { return parray_; }

 private:
  std::filesystem::path folder_;
  std::filesystem::path filename_;
  std::array<std::string, kLines> parray_;
  bool cfound_ = false;
};

}  // namespace kx90

// Tests of the settings store against real files in a private temporary folder.
#include "settings/config.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <array>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using kx90::config;
using kx90::WindowPoz;
using Table = std::array<std::string, config::kLines>;

namespace {

class ConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "config_test.XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    folder_ = root_ / "KX-90";
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path file() const { return folder_ / "KX-90.ini"; }

  void writeFile(const std::string& bytes) {
    fs::create_directories(folder_);
    std::ofstream(file(), std::ios::binary) << bytes;
  }

  std::string readFile() const {
    std::ifstream in(file(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  // The lines of the file as written: LF ends only, and the last line ended too.
  std::vector<std::string> savedLines() const {
    const std::string text = readFile();
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_TRUE(text.empty() || text.back() == '\n');
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  std::vector<std::string> folderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_))
      names.push_back(entry.path().filename());
    return names;
  }

  config load() {
    config c(folder_);
    c.initconfig("KX-90");
    return c;
  }

  fs::path root_;
  fs::path folder_;
};

// n lines "k0", "v0", "k1", "v1", ... each ended by LF.
std::string pairLines(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += (i % 2 ? "v" : "k") + std::to_string(i / 2) + "\n";
  return text;
}

TEST_F(ConfigTest, MissingFileGivesDefaultsAndIsCreatedOnFirstChangeOnly) {
  config c = load();
  EXPECT_EQ(c.filename(), file());
  EXPECT_EQ(c.getint("keyboard"), -1);
  EXPECT_FALSE(c.cfound());
  EXPECT_EQ(c.getint0("macrokey12"), 0);
  EXPECT_FALSE(c.getbool("jog"));
  EXPECT_EQ(c.getstring("serport0"), "");
  EXPECT_EQ(c.getfont("basefont"), "Tahoma");
  EXPECT_FALSE(fs::exists(folder_)) << "reading must not create anything";

  // An empty value for a missing key takes a pair but is no change worth a write.
  c.putconfig("controlport", "");
  EXPECT_EQ(c.parray()[0], "controlport");
  EXPECT_FALSE(fs::exists(file()));

  c.putint("keyboard", 3);
  const std::vector<std::string> lines = savedLines();
  ASSERT_EQ(lines.size(), 256u);
  EXPECT_EQ(lines[0], "controlport");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "keyboard");
  EXPECT_EQ(lines[3], "3");
  EXPECT_EQ(std::vector<std::string>{"KX-90.ini"}, folderEntries()) << "no temporary left";
}

TEST_F(ConfigTest, KeysAndValuesIgnoreLetterCase) {
  writeFile("KEYBOARD\n2\njog\nTRUE\nmq7\nyes\nbasefont\n\n");
  config c = load();
  EXPECT_EQ(c.getint("keyboard"), 2);
  EXPECT_TRUE(c.getbool("Jog"));
  EXPECT_FALSE(c.getbool("mq7"));
  EXPECT_EQ(c.getfont("basefont"), "Tahoma");

  // Equal ignoring case: the caller's key spelling is taken in memory, but the disk is not
  // touched.
  fs::remove(file());
  c.putbool("jog", true);
  c.putint("keyboard", 2);
  EXPECT_EQ(c.parray()[0], "keyboard");
  EXPECT_EQ(c.parray()[3], "TRUE");
  EXPECT_FALSE(fs::exists(file()));

  // The next real change carries the new spelling to the file.
  c.putint("KeyBoard", 4);
  const std::vector<std::string> lines = savedLines();
  ASSERT_EQ(lines.size(), 256u);
  EXPECT_EQ(lines[0], "KeyBoard");
  EXPECT_EQ(lines[1], "4");
  EXPECT_EQ(lines[3], "TRUE");
  EXPECT_EQ(load().getint("keyboard"), 4);
}

TEST_F(ConfigTest, IntegersReadTheLeadingNumber) {
  const struct {
    const char* value;
    int32_t expected;
  } cases[] = {
      {"412", 412},
      {"-1", -1},
      {"+7", 7},
      {"12.7", 12},
      {"-3.9", -3},
      {"42abc", 42},
      {"abc", 0},
      {"", 0},
      {"-", 0},
      {" 5", 0},
      {"2147483647", INT32_MAX},
      {"2147483648", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"-2147483649", INT32_MIN},
      {"99999999999999999999999999999999", INT32_MAX},
      {"-00000000000000000000000000000012", -12},
  };
  std::string text;
  for (size_t i = 0; i < std::size(cases); ++i)
    text += "n" + std::to_string(i) + "\n" + cases[i].value + "\n";
  writeFile(text);
  config c = load();
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].value);
    const std::string key = "N" + std::to_string(i);
    EXPECT_EQ(c.getint(key), cases[i].expected);
    EXPECT_EQ(c.getint0(key), cases[i].expected);
  }
}

TEST_F(ConfigTest, IntegersAreStoredInPlainDecimal) {
  config c = load();
  for (int32_t v : {0, -1, 412, INT32_MIN, INT32_MAX}) {
    c.putint("tag", v);
    EXPECT_EQ(c.getstring("tag"), std::to_string(v));
    EXPECT_EQ(load().getint("tag"), v);
  }
}

TEST_F(ConfigTest, CrOrLfOrCrLfLineEndsReadAlike) {
  const std::vector<std::string> expected = {"keyboard", "2", "", "x", "jog", "true"};
  for (const char* end : {"\n", "\r", "\r\n"}) {
    SCOPED_TRACE(testing::PrintToString(std::string(end)));
    std::string text;
    for (const std::string& line : expected) text += line + end;
    writeFile(text);
    config c = load();
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(c.parray()[i], expected[i]) << i;
    EXPECT_EQ(c.parray()[6], "");
  }
  // Mixed ends, and a last line with no end at all.
  writeFile("a\r\n\rb\n\nc");
  config c = load();
  EXPECT_EQ(c.parray()[0], "a");
  EXPECT_EQ(c.parray()[1], "");
  EXPECT_EQ(c.parray()[2], "b");
  EXPECT_EQ(c.parray()[3], "");
  EXPECT_EQ(c.parray()[4], "c");
  EXPECT_EQ(c.parray()[5], "");
}

TEST_F(ConfigTest, LongLinesAndCrLfAcrossReadBoundaries) {
  // Lengths around common buffer sizes put the CR of a CR LF at the end of one read and the
  // LF at the start of the next.
  for (size_t length : {4095u, 4096u, 4097u, 65535u, 65536u, 65537u, 300000u}) {
    SCOPED_TRACE(length);
    writeFile(std::string(length, 'x') + "\r\nvalue\r\nkey2\r\n");
    config c = load();
    EXPECT_EQ(c.parray()[0].size(), length);
    EXPECT_EQ(c.parray()[1], "value");
    EXPECT_EQ(c.parray()[2], "key2");
    EXPECT_EQ(c.parray()[3], "");
  }
}

TEST_F(ConfigTest, ArbitraryBytesAreKeptExceptLineEnds) {
  const std::string key("k\0y", 3);
  const std::string value("\xff\x01\t \x80", 5);
  writeFile(key + "\n" + value + "\n");
  config c = load();
  EXPECT_EQ(c.parray()[0], key);
  EXPECT_EQ(c.getstring(key), value);
  EXPECT_EQ(c.getstring("k"), "");

  // The bytes survive a save unchanged.
  c.putconfig("other", "1");
  config again = load();
  EXPECT_EQ(again.parray(), c.parray());
}

TEST_F(ConfigTest, LineEndsInKeysOrValuesAreNotStored) {
  config c = load();
  c.putconfig("port", "a\nb");
  c.putconfig("po\rrt", "x");
  c.putconfig("", "x");
  EXPECT_EQ(c.parray(), Table{});
  EXPECT_FALSE(fs::exists(file()));
}

TEST_F(ConfigTest, OnlyTheFirst256LinesAreLoaded) {
  writeFile(pairLines(300));
  config c = load();
  EXPECT_EQ(c.parray()[0], "k0");
  EXPECT_EQ(c.parray()[255], "v127");
  EXPECT_EQ(c.getstring("k127"), "v127");
  EXPECT_EQ(c.getstring("k128"), "");

  EXPECT_TRUE(c.saveconfig());
  const std::vector<std::string> lines = savedLines();
  ASSERT_EQ(lines.size(), 256u);
  EXPECT_EQ(lines.back(), "v127");
}

TEST_F(ConfigTest, AShortFileLeavesTheRestFree) {
  writeFile(pairLines(5));
  config c = load();
  EXPECT_EQ(c.getstring("k0"), "v0");
  EXPECT_EQ(c.getstring("k1"), "v1");
  EXPECT_EQ(c.getstring("k2"), "");
  EXPECT_TRUE(c.cfound());
  EXPECT_EQ(c.findconfig("new"), 3);
  EXPECT_FALSE(c.cfound());

  c.putconfig("k2", "v2");
  const std::vector<std::string> lines = savedLines();
  ASSERT_EQ(lines.size(), 256u);
  EXPECT_EQ(lines[5], "v2");
  for (size_t i = 6; i < lines.size(); ++i) EXPECT_EQ(lines[i], "") << i;
}

TEST_F(ConfigTest, AGapEndsTheTable) {
  std::string text = pairLines(6) + "\nlost\n" + "k4\nv4\n";
  writeFile(text);
  config c = load();
  EXPECT_EQ(c.getstring("k2"), "v2");
  EXPECT_EQ(c.getint("k4"), -1);
  EXPECT_FALSE(c.cfound());

  // The gap is the first free pair, so a new key lands there over the stray value.
  c.putconfig("fresh", "1");
  EXPECT_EQ(c.parray()[6], "fresh");
  EXPECT_EQ(c.parray()[7], "1");
  EXPECT_EQ(c.parray()[8], "k4");
  const std::vector<std::string> lines = savedLines();
  ASSERT_EQ(lines.size(), 256u);
  EXPECT_EQ(lines[6], "fresh");
  EXPECT_EQ(lines[8], "k4");
}

TEST_F(ConfigTest, AFullTableDropsNewKeys) {
  config c = load();
  for (int i = 0; i < config::kPairs; ++i) c.putint("key" + std::to_string(i), i + 1);
  const std::string before = readFile();
  const Table table = c.parray();

  c.putint("key128", 5);
  EXPECT_EQ(c.findconfig("key128"), 0);
  EXPECT_FALSE(c.cfound());
  EXPECT_EQ(c.parray(), table);
  EXPECT_EQ(readFile(), before);

  // Existing keys still change.
  c.putint("KEY0", 9);
  EXPECT_EQ(c.parray()[0], "KEY0");
  EXPECT_EQ(load().getint("key0"), 9);
  EXPECT_EQ(savedLines().size(), 256u);
}

TEST_F(ConfigTest, WindowPositions) {
  writeFile("a_left\n-200\na_top\n12\nb_top\n500\nc_left\n40\n");
  config c = load();
  const struct {
    const char* name;
    WindowPoz expected;
  } cases[] = {
      {"a", {-200, 30}},
      {"b", {7, 500}},  // only the top is stored
      {"c", {40, 8}},   // only the left is stored
      {"d", {7, 8}},    // nothing stored: the design position stays
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.name);
    WindowPoz w{7, 8};
    c.getwindowpoz(w, tc.name);
    EXPECT_EQ(w.left, tc.expected.left);
    EXPECT_EQ(w.top, tc.expected.top);
  }

  c.putwindowpoz(WindowPoz{-5, 3}, "macrow");
  EXPECT_EQ(c.getstring("macrow_left"), "-5");
  EXPECT_EQ(c.getstring("macrow_top"), "3");
  EXPECT_EQ(c.findconfig("macrow_left"), 4);
  EXPECT_EQ(c.findconfig("macrow_top"), 5);
  WindowPoz w;
  load().getwindowpoz(w, "macrow");
  EXPECT_EQ(w.left, -5);
  EXPECT_EQ(w.top, 30);
}

TEST_F(ConfigTest, FailedSaveKeepsTheOldFileAndLeavesNoTemporary) {
  writeFile("keyboard\n1\n");
  const std::string before = readFile();
  config c = load();

  // Writes beyond the size limit fail with EFBIG, which root cannot sidestep the way it does
  // file permissions.
  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  sighandler_t oldHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  c.putconfig("basefont", std::string(4096, 'f'));
  const bool saved_ok = c.saveconfig();
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(saved_ok);
  EXPECT_EQ(readFile(), before);
  EXPECT_EQ(std::vector<std::string>{"KX-90.ini"}, folderEntries());

  // The change stayed in memory and goes out with the next successful save.
  c.putint("keyboard", 2);
  config again = load();
  EXPECT_EQ(again.getint("keyboard"), 2);
  EXPECT_EQ(again.getstring("basefont"), std::string(4096, 'f'));
}

TEST_F(ConfigTest, UnusableLocationsFailQuietly) {
  // The folder's path is taken by a regular file, so it cannot be created.
  std::ofstream(root_ / "blocker") << "x";
  config blocked(root_ / "blocker" / "KX-90");
  blocked.initconfig("KX-90");
  blocked.putint("keyboard", 1);
  EXPECT_EQ(blocked.getint("keyboard"), 1) << "the change stays in memory";
  EXPECT_FALSE(blocked.saveconfig());
  EXPECT_FALSE(fs::exists(root_ / "blocker" / "KX-90"));

  // The settings name is taken by a folder: it reads as missing and cannot be replaced.
  fs::create_directories(file() / "inside");
  config c = load();
  EXPECT_EQ(c.getint("keyboard"), -1);
  c.putint("keyboard", 1);
  EXPECT_FALSE(c.saveconfig());
  EXPECT_TRUE(fs::is_directory(file() / "inside"));
  EXPECT_EQ(std::vector<std::string>{"KX-90.ini"}, folderEntries());
}

TEST_F(ConfigTest, SaveKeepsTheFileModeAndNeedsInitconfig) {
  config none(folder_);
  EXPECT_FALSE(none.saveconfig());
  EXPECT_FALSE(fs::exists(folder_));

  writeFile("a\n1\n");
  fs::permissions(file(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  config c = load();
  c.putint("a", 2);
  EXPECT_EQ(fs::status(file()).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace

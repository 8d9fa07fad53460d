#include "panel/macrok.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <optional>
#include <string>
#include <vector>

#include "link/q9sr.h"
#include "settings/config.h"
#include "support/fakes.h"
#include "support/qtwait.h"

namespace kx90 {
namespace {

using testing::recordingwriter;
using testing::tempfolder;
using testing::tohex;

constexpr uint32_t kGrey = macrok::kGrey;

class ownerlog : public macrokowner {
 public:
  std::vector<std::string> calls;
  bool locked = false;
  std::optional<int32_t> answer;

  void action(macrok& key) override {
    calls.push_back("action " + key.mname + std::to_string(key.Index));
  }
  bool Macrolocked() override {
    calls.push_back("Macrolocked");
    return locked;
  }
  std::optional<int32_t> openeditor(macrok& key) override {
    calls.push_back("openeditor " + std::to_string(key.tag));
    return answer;
  }
};

// Macro 7 is known; every other code is answered as by an empty list.
class onemacro : public emptymacros {
 public:
  std::string getcaption(int32_t code) const override {
    return code == 7 ? "Prev cue" : emptymacros::getcaption(code);
  }
  std::string getcolor(int32_t code) const override {
    return code == 7 ? "red" : emptymacros::getcolor(code);
  }
};

uint32_t px(const QImage& image, int x, int y) {
  return image.pixel(x, y) & 0xFFFFFF;
}

struct MacrokTest : ::testing::Test {
  tempfolder folder;
  config settings{folder.path()};
  recordingwriter link;
  q9sr sr{link};
  onemacro macros;
  ownerlog owner;
  macrok key{sr, settings, "macrokey", 5};

  void SetUp() override {
    settings.initconfig("KX-90");
    key.setmacros(macros);
    key.setowner(&owner);
    key.mname = "macrokey";
    key.resize(65, 65);
    key.setheight(65);
  }
  QImage shot() { return key.grab().toImage(); }
};

TEST_F(MacrokTest, BorderDrawsTwoGreyOutlinesAroundAnInsetBody) {
  key.bgcolor = 0x00FF40;
  const QImage image = shot();
  // Across the left edge and, mirrored, the right edge: 3 grey, the body's first pixel,
  // 3 grey of the inner outline, then body.
  const std::vector<uint32_t> want = {kGrey, kGrey, kGrey, 0x00FF40, kGrey, kGrey, kGrey, 0x00FF40};
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(px(image, i, 40), want[i]);
    EXPECT_EQ(px(image, 64 - i, 40), want[i]);
    EXPECT_EQ(px(image, 30, i), want[i]);
    EXPECT_EQ(px(image, 30, 64 - i), want[i]);
  }
  EXPECT_EQ(px(image, 0, 0), kGrey);  // square corners with rad 0
  EXPECT_EQ(px(image, 4, 4), kGrey);

  key.border = false;
  const QImage plain = shot();
  for (const QPoint p : {QPoint(0, 0), QPoint(1, 40), QPoint(5, 40), QPoint(64, 64)}) {
    EXPECT_EQ(px(plain, p.x(), p.y()), 0x00FF40u) << p.x() << "," << p.y();
  }
}

TEST_F(MacrokTest, LedDotAndRingSitEighteenPixelsFromTheRightEdge) {
  key.resize(90, 65);
  key.border = false;    // the inner outline would cover the top of the ring
  key.setcolor("Grey");  // lit LED in the body colour
  const int left = 90 - 18;
  const QImage dark = shot();
  struct probe {
    int x, y;
    uint32_t want;
  };
  for (const probe p : std::vector<probe>{
           {left + 5, 11, kGrey},      // dot centre
           {left + 5, 5, kGrey},       // top of the ring
           {left + 11, 11, kGrey},     // right of the ring
           {left + 5, 16, kGrey},      // bottom of the ring
           {left + 5, 4, 0x909090},    // above it: body
           {left + 12, 11, 0x909090},  // right of it: body
           {left - 1, 11, 0x909090},   // left of it: body
           {left + 5, 17, 0x909090},   // below it: body
       }) {
    EXPECT_EQ(px(dark, p.x, p.y), p.want) << p.x - left << "," << p.y;
  }

  key.setlit(true);
  EXPECT_EQ(px(shot(), left + 5, 11), 0x909090u);
  key.setcolor("silver");
  EXPECT_EQ(px(shot(), left + 5, 11), 0xD5D5D5u);
  key.setcolor("red");
  const QImage red = shot();
  EXPECT_EQ(px(red, left + 5, 11), 0xFFFF00u);
  EXPECT_EQ(px(red, left + 9, 8), 0xFFFF00u);
  EXPECT_EQ(px(red, left + 5, 5), kGrey);

  key.fled = false;
  const QImage none = shot();
  EXPECT_EQ(px(none, left + 5, 11), 0xFF0000u);
  EXPECT_EQ(px(none, left + 5, 5), 0xFF0000u);
}

// The caption as the geometry places it, drawn by the test itself with the key's font.
QImage expectedcaption(const macrok& key, const std::vector<std::pair<std::string, int>>& lines) {
  QImage image(key.width(), key.height(), QImage::Format_RGB32);
  image.fill(QColor(static_cast<QRgb>(key.bgcolor)));
  QPainter p(&image);
  p.setFont(key.captionfont());
  p.setPen(QColor(static_cast<QRgb>(key.Textcolor)));
  const QFontMetrics m = p.fontMetrics();
  for (const auto& [text, baseline] : lines) {
    const QString s = QString::fromStdString(text);
    p.drawText(QPoint(static_cast<int>((key.width() - m.horizontalAdvance(s)) / 2.0), baseline), s);
  }
  return image;
}

void expectsameimage(const QImage& got, const QImage& want) {
  ASSERT_EQ(got.size(), want.size());
  int differing = 0;
  for (int y = 0; y < got.height(); ++y) {
    for (int x = 0; x < got.width(); ++x) differing += px(got, x, y) != px(want, x, y);
  }
  EXPECT_EQ(differing, 0);
}

TEST_F(MacrokTest, CaptionsSitOnTheComputedBaselinesCentred) {
  key.border = false;
  key.fled = false;
  key.Textcolor = 0x0000FF;
  struct row {
    int height;
    std::string caption;
    std::vector<std::string> lines;
  };
  const std::vector<row> rows = {
      {65, "Esc", {"Esc"}},     {65, "Next cue", {"Next", "cue"}},
      {75, "Enter", {"Enter"}}, {93, "Prev cue", {"Prev", "cue"}},
      {65, " x", {" x"}},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.caption);
    key.resize(80, r.height);
    key.setheight(r.height);
    key.setcaption(r.caption);
    const int H = r.height;
    const int ts = key.textsize;
    const int yoff = -(H / 8);
    std::vector<std::pair<std::string, int>> want;
    int last = 0;
    if (r.lines.size() == 2) {
      const int b1 = static_cast<int>(ts + 10 + (H - 2.0 * ts) / 2);
      want = {{r.lines[0], b1 + yoff}, {r.lines[1], b1 + ts + yoff}};
      last = b1 + ts;
    } else {
      const int b = static_cast<int>((H + ts) / 2.0);
      want = {{r.lines[0], b + yoff + 10}};
      last = b;
    }
    expectsameimage(shot(), expectedcaption(key, want));
    EXPECT_EQ(key.CenterY, last);
  }
}

TEST_F(MacrokTest, SixtyFiveKeyBaselinesMatchTheWorkedExample) {
  key.border = false;
  key.fled = false;
  key.setcaption("Esc");
  expectsameimage(shot(), expectedcaption(key, {{"Esc", 41}}));
  key.setcaption("Next cue");
  expectsameimage(shot(), expectedcaption(key, {{"Next", 34}, {"cue", 47}}));
}

TEST_F(MacrokTest, SetcaptionSplitsAtTheFirstBlankIgnoringCaseOnlyChanges) {
  struct row {
    std::string caption;
    bool twoline;
    std::string caption1;
    std::string caption2;
  };
  const std::vector<row> rows = {
      {"Prev cue", true, "Prev", "cue"},   {"Enter", false, "", "Enter"}, {" x", false, "", "x"},
      {"Next  cue", true, "Next", " cue"}, {"", false, "", ""},
  };
  key.setcaption("something else");
  for (const row& r : rows) {
    SCOPED_TRACE(r.caption);
    key.setcaption(r.caption);
    EXPECT_EQ(key.caption, r.caption);
    EXPECT_EQ(key.twoline, r.twoline);
    EXPECT_EQ(key.caption1, r.caption1);
    EXPECT_EQ(key.caption2, r.caption2);
  }
  key.setcaption("Enter");
  key.setcaption("ENTER");
  EXPECT_EQ(key.caption, "Enter");
}

TEST_F(MacrokTest, ColourNamesMatchWithoutCaseAndUnknownNamesChangeNothing) {
  struct row {
    std::string name;
    uint32_t body, text, led;
  };
  const std::vector<row> rows = {
      {"red", 0xFF0000, 0xFFFFFF, 0xFFFF00},       {"GREEN", 0x00FF00, 0x000000, 0xFFFF00},
      {"lime", 0x00FF00, 0x000000, 0xFFFF00},      {"Blue", 0x0000FF, 0xFFFFFF, 0xFFFF00},
      {"teal", 0x008080, 0xFFFFFF, 0xFFFF00},      {"grey", 0x909090, 0xFFFFFF, 0x909090},
      {"YELLOW", 0xFFFF00, 0x0000FF, 0xFFFFFF},    {"Silver", 0xD5D5D5, 0x0000FF, 0xD5D5D5},
      {"LightGrey", 0xD0D0D0, 0x0000FF, 0xD5D5D5},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.name);
    key.bgcolor = key.Textcolor = key.ledcolor = 0x123456;
    key.setcolor(r.name);
    EXPECT_EQ(key.bgcolor, r.body);
    EXPECT_EQ(key.Textcolor, r.text);
    EXPECT_EQ(key.ledcolor, r.led);
  }
  for (const std::string unknown : {"White", "gray", "", "red "}) {
    SCOPED_TRACE(unknown);
    key.setcolor("teal");
    key.setcolor(unknown);
    EXPECT_EQ(key.bgcolor, 0x008080u);
    EXPECT_EQ(key.Textcolor, 0xFFFFFFu);
    EXPECT_EQ(key.ledcolor, 0xFFFF00u);
  }
}

TEST_F(MacrokTest, SetheightDerivesTextSizeAndDropsArcsOnTinyKeys) {
  key.resize(70, 10);
  for (const auto& [h, size] :
       std::vector<std::pair<int, int>>{{65, 13}, {75, 15}, {80, 16}, {93, 18}, {13, 2}, {12, 2}}) {
    SCOPED_TRACE(h);
    key.rad = 10;
    key.setheight(h);
    EXPECT_EQ(key.height(), h);
    EXPECT_EQ(key.width(), 70);
    EXPECT_EQ(key.textsize, size);
    EXPECT_EQ(key.rad, h < 13 ? 0 : 10);
    EXPECT_EQ(key.CenterY, (4 * h + 4 * size) / 8);
  }
}

TEST_F(MacrokTest, FontNamesFallBackToInstalledFaces) {
  key.Textfont = "tahoma";
  const QString sans = QFontInfo(key.captionfont()).family();
  EXPECT_TRUE(sans == "Tahoma" || sans == "DejaVu Sans") << sans.toStdString();
  key.Textfont = "courier";
  EXPECT_TRUE(QFontInfo(key.captionfont()).fixedPitch());
  key.Textfont = "System";
  key.Bold = false;
  EXPECT_TRUE(QFontInfo(key.captionfont()).bold());
  key.textsize = 15;
  EXPECT_EQ(QFontInfo(key.captionfont()).pixelSize(), 15);
}

TEST_F(MacrokTest, PlainClickQueuesPressTogglesLedAndReleasesOnlyWithLed) {
  key.lit = false;
  QTest::mousePress(&key, Qt::LeftButton, {}, QPoint(30, 30));
  EXPECT_TRUE(link.frames.empty());  // deferred to the next idle tick
  EXPECT_EQ(tohex(sr.q9next), "02 B8 05 00 BF");
  EXPECT_TRUE(key.lit);
  sr.buildrq(false);
  QTest::mouseRelease(&key, Qt::LeftButton, {}, QPoint(30, 30));
  EXPECT_EQ(tohex(sr.q9next), "02 B8 05 01 C0");
  sr.buildrq(false);
  EXPECT_EQ(link.frames, (std::vector<std::string>{"02 B8 05 00 BF", "02 B8 05 01 C0"}));
  EXPECT_EQ(owner.calls, std::vector<std::string>{"action macrokey5"});

  link.frames.clear();
  key.fled = false;
  QTest::mousePress(&key, Qt::LeftButton, {}, QPoint(30, 30));
  EXPECT_TRUE(key.lit);  // untouched
  sr.buildrq(true);
  QTest::mouseRelease(&key, Qt::LeftButton, {}, QPoint(30, 30));
  EXPECT_TRUE(sr.q9next.empty());
  EXPECT_EQ(link.frames, std::vector<std::string>{"02 B8 05 00 BF"});
}

TEST_F(MacrokTest, ContextualClickFollowsTagAndLockRules) {
  struct row {
    std::string name;
    int32_t tag;
    bool fmacro;
    bool locked;
    std::optional<int32_t> answer;
    std::vector<std::string> calls;
    int32_t tagafter;
    std::vector<std::string> frames;
    std::string stored;
  };
  const std::vector<row> rows = {
      {"no editor on this key", -2, false, false, 9, {"action macrokey5"}, -2, {}, ""},
      {"never set opens on 0 even locked",
       -2,
       true,
       true,
       std::nullopt,
       {"action macrokey5", "openeditor 0"},
       0,
       {},
       ""},
      {"locked refuses a set key",
       7,
       true,
       true,
       9,
       {"action macrokey5", "Macrolocked"},
       7,
       {},
       ""},
      {"unlocked assigns and writes",
       7,
       true,
       false,
       9,
       {"action macrokey5", "Macrolocked", "openeditor 7"},
       9,
       {"03 B1 01 05 09 C3"},
       "9"},
      {"macro 0 skips the lock",
       0,
       true,
       true,
       3,
       {"action macrokey5", "openeditor 0"},
       3,
       {"03 B1 01 05 03 BD"},
       "3"},
      {"cancel changes nothing",
       7,
       true,
       false,
       std::nullopt,
       {"action macrokey5", "Macrolocked", "openeditor 7"},
       7,
       {},
       ""},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.name);
    tempfolder fresh;
    config store(fresh.path());
    store.initconfig("KX-90");
    macrok k(sr, store, "macrokey", 5);
    k.mname = "macrokey";
    k.setowner(&owner);
    k.setmacros(macros);
    k.tag = r.tag;
    k.fmacro = r.fmacro;
    owner.calls.clear();
    owner.locked = r.locked;
    owner.answer = r.answer;
    link.frames.clear();

    QTest::mousePress(&k, Qt::RightButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&k, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(owner.calls, r.calls);
    EXPECT_EQ(k.tag, r.tagafter);
    EXPECT_EQ(link.frames, r.frames);
    EXPECT_EQ(store.getstring("macrokey5"), r.stored);
    EXPECT_TRUE(sr.q9next.empty());  // never a key request
    EXPECT_FALSE(k.lit);
  }
}

TEST_F(MacrokTest, SettagTakesCaptionAndColourAndAlwaysStores) {
  key.settag(7);
  EXPECT_EQ(key.caption, "Prev cue");
  EXPECT_TRUE(key.twoline);
  EXPECT_EQ(key.bgcolor, 0xFF0000u);
  EXPECT_EQ(key.textsize, 13);
  EXPECT_EQ(settings.getint0("macrokey5"), 7);

  settings.putconfig("macrokey5", 99);
  key.setcaption("Changed");
  key.settag(7);  // unchanged: stored again, caption left alone
  EXPECT_EQ(settings.getint0("macrokey5"), 7);
  EXPECT_EQ(key.caption, "Changed");

  key.settag(-1);
  EXPECT_EQ(key.caption, "Macro?");
  EXPECT_EQ(key.bgcolor, 0xFF0000u);
  EXPECT_EQ(settings.getstring("macrokey5"), "-1");

  key.settag(12);  // a code the list does not hold
  EXPECT_EQ(key.caption, "12");
  EXPECT_EQ(key.bgcolor, 0xD5D5D5u);
}

TEST_F(MacrokTest, OpenRestoresFontAndTagFromTheSettings) {
  struct row {
    std::string stored;  // "" = no entry
    int32_t tag;
    std::string caption;
  };
  const std::vector<row> rows = {
      {"7", 7, "Prev cue"}, {"", 0, "0"}, {"-1", -1, "Caption"},  // -1 stays invisible
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.stored);
    tempfolder fresh;
    config store(fresh.path());
    store.initconfig("KX-90");
    store.putconfig("basefont", "");
    if (!r.stored.empty()) store.putconfig("numbk3", r.stored);
    macrok k(sr, store, "numbk", 3);
    k.setmacros(macros);
    k.caption = "Caption";
    k.resize(75, 75);
    k.Event_Open();
    EXPECT_EQ(k.mname, "numbk");
    EXPECT_EQ(k.Textfont, "Tahoma");
    EXPECT_EQ(k.tag, r.tag);
    EXPECT_EQ(k.caption, r.caption);
    EXPECT_EQ(store.getint0("numbk3"), r.tag);
  }
}

TEST_F(MacrokTest, Write2kx90SendsTheTagAsOneByte) {
  key.tag = 9;
  key.write2kx90();
  key.tag = -1;
  key.write2kx90();
  EXPECT_EQ(link.frames, (std::vector<std::string>{"03 B1 01 05 09 C3", "03 B1 01 05 FF B9"}));
}

class paintcounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

TEST_F(MacrokTest, UnchangedLedOrCaptionCostsNoRepaint) {
  paintcounter counter;
  key.setcaption("Enter");
  key.installEventFilter(&counter);
  key.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&key));
  ASSERT_TRUE(testing::waitfor([&] { return counter.paints > 0; }));
  testing::spin(30);

  counter.paints = 0;
  key.setlit(false);
  key.setcaption("ENTER");
  testing::spin(50);
  EXPECT_EQ(counter.paints, 0);

  key.setlit(true);
  EXPECT_TRUE(testing::waitfor([&] { return counter.paints > 0; }));
  counter.paints = 0;
  key.setcaption("Prev cue");
  EXPECT_TRUE(testing::waitfor([&] { return counter.paints > 0; }));
  key.hide();
}

}  // namespace
}  // namespace kx90

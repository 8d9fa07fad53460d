// The macro key: drawing, caption splitting, colours, tag bookkeeping and the mouse.
#include "panel/macrok.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "keys/cbsr.h"
#include "link/q9sr.h"
#include "settings/config.h"

namespace kx90 {
namespace {

const emptymacros kNoMacros;

QColor rgb(uint32_t c) {
  return QColor(static_cast<QRgb>(c & 0xFFFFFF));
}

bool sametext(const std::string& a, const std::string& b) {
  return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

struct keycolors {
  std::string_view name;
  uint32_t body;
  uint32_t text;
  uint32_t led;
};

// "Green" and "Lime" are the same on purpose: both names occur in setup files.
constexpr std::array<keycolors, 9> kColors = {{
    {"red", 0xFF0000, 0xFFFFFF, 0xFFFF00},
    {"Green", 0x00FF00, 0x000000, 0xFFFF00},
    {"Lime", 0x00FF00, 0x000000, 0xFFFF00},
    {"Blue", 0x0000FF, 0xFFFFFF, 0xFFFF00},
    {"Teal", 0x008080, 0xFFFFFF, 0xFFFF00},
    {"Grey", 0x909090, 0xFFFFFF, 0x909090},
    {"Yellow", 0xFFFF00, 0x0000FF, 0xFFFFFF},
    {"silver", 0xD5D5D5, 0x0000FF, 0xD5D5D5},
    {"lightgrey", 0xD0D0D0, 0x0000FF, 0xD5D5D5},
}};

// Layout arithmetic is done in doubles and truncated toward zero, as the key geometry is
// defined that way; a plain cast does exactly that.
int truncated(double v) {
  return static_cast<int>(v);
}

// The stroke of a pen is centred on its path, but an outline here must lie inside its box
// (pen width w covers the first w pixels), so the path runs half a pen inside and its corner
// radius shrinks by the same amount to keep the outer edge on the box's arc.
QPainterPath insideoutline(QRectF box, double arc, double pen) {
  QPainterPath path;
  const double r = std::max(0.0, arc / 2 - pen / 2);
  path.addRoundedRect(box.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2), r, r);
  return path;
}

}  // namespace

macrok::macrok(q9sr& sr, config& settings, std::string name, int index, QWidget* parent)
    : QWidget(parent),
      Name(std::move(name)),
      Index(index),
      sr_(sr),
      settings_(settings),
      macros_(&kNoMacros) {}

// Caption fonts are named as on the keyboard's original desktop. Where a named face is
// missing we fall back to faces a Linux desktop has (DejaVu comes with every Debian desktop),
// keeping the named one first so that an installed original still wins:
//   "tahoma" -> Tahoma, DejaVu Sans, generic sans;
//   "System" -> the desktop's own UI family, always bold, as the old system face was;
//   "courier" -> Courier, Nimbus Mono PS (same metrics), DejaVu Sans Mono, generic mono.
// The size is set in pixels: the key geometry treats a point as a pixel, and a pixel size
// keeps the caption in proportion to the key on any screen resolution.
QFont macrok::captionfont() const {
  QFont f;
  const QString name = QString::fromStdString(Textfont);
  bool forcebold = false;
  if (name.compare("tahoma", Qt::CaseInsensitive) == 0) {
    f.setFamilies({"Tahoma", "DejaVu Sans", "Sans Serif"});
    f.setStyleHint(QFont::SansSerif);
  } else if (name.compare("System", Qt::CaseInsensitive) == 0) {
    f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    forcebold = true;
  } else if (name.compare("courier", Qt::CaseInsensitive) == 0) {
    f.setFamilies({"Courier", "Nimbus Mono PS", "DejaVu Sans Mono", "Monospace"});
    f.setStyleHint(QFont::TypeWriter);
  } else {
    f.setFamilies({name, "DejaVu Sans", "Sans Serif"});
    f.setStyleHint(QFont::SansSerif);
  }
  // Size 0 (how the panel creates its keys) means the font's own size.
  if (textsize > 0) f.setPixelSize(textsize);
  f.setBold(Bold || forcebold);
  f.setItalic(Italic);
  f.setUnderline(underline);
  return f;
}

void macrok::paintEvent(QPaintEvent*) {
  QPainter g(this);
  redraw(g);
}

void macrok::redraw(QPainter& g) {
  const int W = width();
  const int H = height();
  const double bw = borderwidth;
  g.setRenderHint(QPainter::Antialiasing, false);

  g.setPen(Qt::NoPen);
  g.setBrush(rgb(bgcolor));
  if (border) {
    g.drawRoundedRect(QRectF(bw, bw, W - 2 * bw, H - 2 * bw), rad / 2.0, rad / 2.0);
  } else {
    g.drawRoundedRect(QRectF(0, 0, W, H), rad / 2.0, rad / 2.0);
  }

  if (fled) {
    g.setBrush(rgb(lit ? ledcolor : kGrey));
    g.drawEllipse(QRectF(W - 18, 6, 11, 11));
    g.setBrush(Qt::NoBrush);
    g.setPen(QPen(rgb(kGrey), 1));
    g.drawPath(insideoutline(QRectF(W - 18, 5, 12, 12), 12, 1));
  }

  if (!caption.empty()) {
    g.setPen(rgb(Textcolor));
    g.setFont(captionfont());
    const QFontMetrics m = g.fontMetrics();
    const auto width = [&](const std::string& s) {
      return m.horizontalAdvance(QString::fromStdString(s));
    };
    const int yoff = -(H / 8);
    if (twoline) {
      const int x1 = truncated((W - width(caption1)) / 2.0);
      const int b1 = truncated(textsize + 10 + (H - 2.0 * textsize) / 2);
      g.drawText(QPoint(x1, b1 + yoff), QString::fromStdString(caption1));
      const int x2 = truncated((W - width(caption2)) / 2.0);
      const int b2 = truncated(b1 + static_cast<double>(textsize));
      g.drawText(QPoint(x2, b2 + yoff), QString::fromStdString(caption2));
      CenterY = b2;
    } else {
      const int x = truncated((W - width(caption)) / 2.0);
      const int b = truncated((H + static_cast<double>(textsize)) / 2);
      g.drawText(QPoint(x, b + yoff + 10), QString::fromStdString(caption));
      CenterY = b;
    }
  }

  if (border) {
    QPen pen(rgb(kGrey), bw);
    pen.setJoinStyle(Qt::MiterJoin);
    g.setPen(pen);
    g.setBrush(Qt::NoBrush);
    g.drawPath(insideoutline(QRectF(0, 0, W, H), rad, bw));
    g.drawPath(insideoutline(QRectF(4, 4, W - 8, H - 8), rad, bw));
  }
}

void macrok::setcaption(const std::string& s) {
  if (sametext(s, caption)) return;
  caption = s;
  caption2 = s;
  caption1 = cbsr::splitspace(caption2);
  twoline = !caption1.empty();
  repaintkey();
}

void macrok::setlit(bool on) {
  if (on == lit) return;
  lit = on;
  repaintkey();
}

void macrok::setcolor(const std::string& name) {
  for (const keycolors& c : kColors) {
    if (sametext(name, std::string(c.name))) {
      bgcolor = c.body;
      Textcolor = c.text;
      ledcolor = c.led;
      break;
    }
  }
  repaintkey();
}

void macrok::setheight(int32_t h) {
  resize(width(), h);
  // Arcs on a key this small would eat the whole body.
  if (height() < 13) rad = 0;
  settextsize((height() * 2) / 10);
}

void macrok::setrad(int32_t r) {
  rad = r;
  repaintkey();
}

void macrok::settextsize(int32_t size) {
  textsize = size;
  CenterY = truncated((4.0 * height() + 4.0 * size) / 8);
  repaintkey();
}

void macrok::settag(int32_t t) {
  if (t != tag) {
    tag = t;
    if (t == -1) {
      setcaption("Macro?");
    } else {
      setcaption(macros_->getcaption(t));
      setcolor(macros_->getcolor(t));
    }
    setheight(height());
  }
  // Written even when unchanged, so a key record from the keyboard always refreshes the file.
  settings_.putconfig(settingsname(), tag);
}

void macrok::Init() {
  // -1 first, so that a stored 0 still counts as a change and brings its caption and colour.
  tag = -1;
  settag(settings_.getint0(settingsname()));
}

void macrok::Event_Open() {
  mname = Name;
  Textfont = settings_.getfont("basefont");
  Init();
}

void macrok::write2kx90() {
  sr_.Wrteeprom(1, Index, tag);
}

bool macrok::Event_MouseDown(bool contextual) {
  if (owner_) owner_->action(*this);
  if (contextual) {
    if (!fmacro) return false;
    // A key that never had a macro starts the editor on macro 0; that is no assignment yet,
    // so it is allowed while the macros are locked and nothing is stored.
    if (tag < 0) tag = 0;
    if (tag != 0 && owner_ && owner_->Macrolocked()) return false;
    if (!owner_) return false;
    if (const std::optional<int32_t> chosen = owner_->openeditor(*this)) {
      settag(*chosen);
      write2kx90();
    }
    return false;
  }
  sr_.q9kdown(Index);
  if (!fled) return false;
  setlit(!lit);
  return true;
}

void macrok::Event_MouseUp() {
  sr_.q9kup(Index);
}

// The right button is the contextual click on a Linux desktop; other buttons do nothing.
void macrok::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    releasedue_ = Event_MouseDown(false);
  } else if (event->button() == Qt::RightButton) {
    Event_MouseDown(true);
  }
}

void macrok::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !releasedue_) return;
  releasedue_ = false;
  Event_MouseUp();
}

}  // namespace kx90

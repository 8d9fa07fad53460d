// The main window's controls as created, and the panel operations the
// layouts, the controller and the dispatcher call on them.
#include "panel/main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPainter>

#include "keys/macrow.h"
#include "prefs/prefw.h"
#include "settings/config.h"
#include "setup/configw.h"

namespace kx90 {

namespace {

QRect torect(const controlset::box& b) {
  return {b.left, b.top, b.width, b.height};
}
QColor rgb(uint32_t c) {
  return QColor::fromRgb(c);
}

// A filled rectangle with a border drawn inside its bounds.
class filledrect : public QWidget {
 public:
  using QWidget::QWidget;
  uint32_t fill = controlset::kRectangleFill;
  int borderwidth = controlset::kRectangleBorder;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter g(this);
    g.fillRect(rect(), Qt::black);
    g.fillRect(rect().adjusted(borderwidth, borderwidth, -borderwidth, -borderwidth), rgb(fill));
  }
};

// The jog wheel is only drawn: a white oval with a one-pixel black border.
class oval : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter g(this);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(Qt::black, 1));
    g.setBrush(Qt::white);
    g.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
  }
};

// Sizes on this panel are pixels, as the layouts give them; a point size
// would grow with the screen's resolution and overflow the cells.
QFont cellfont() {
  QFont f("DejaVu Sans Mono");
  f.setStyleHint(QFont::Monospace);
  f.setPixelSize(controlset::kCellPoints);
  f.setBold(true);
  return f;
}

}  // namespace

main::main(q9sr& sr, config& settings, messageboxes& boxes)
    : sr_(sr), settings_(settings), controller_(sr, *this, boxes) {
  setWindowTitle(controlset::kTitle);
  setCentralWidget(new QWidget);
  centralWidget()->setFixedSize(controlset::kWindowWidth, controlset::kWindowHeight);
  setMinimumSize(64, 64);
  createcontrols();
  fitpanel();
  timer1_.setInterval(50);
  connect(&timer1_, &QTimer::timeout, this, [this] { controller_.Timer1_Action(); });
  timer1_.start();
}

void main::createcontrols() {
  QWidget* panel = centralWidget();
  rectangle_ = new filledrect(panel);
  rectangle_->setGeometry(torect(controlset::kRectangle1));
  rectangle_->hide();
  for (int c = 0; c < controlset::kCells; ++c) {
    auto* cell = new QLabel(QString::fromLatin1(controlset::celltexts()[c]), panel);
    cell->setGeometry(torect(controlset::cells()[c]));
    cell->setFont(cellfont());
    cell->setTextFormat(Qt::PlainText);
    cell->setStyleSheet("color: #FFFFFF; background: transparent;");
    cell->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    cells_[c] = cell;
  }
  jogwheel_ = new oval(panel);
  jogwheel_->setGeometry(torect(controlset::kJogwheel));
  for (const auto& ref : controlset::creationorder()) {
    if (ref == controlset::keyref{controlset::group::numbk, 13}) {
      lkey_ = new QLabel(panel);
      lkey_->setGeometry(torect(controlset::kLkey));
      lkey_->setAutoFillBackground(true);
    }
    createkey(ref);
  }
}

macrok* main::createkey(controlset::keyref ref) {
  const bool macro = ref.in == controlset::group::macrokey;
  const auto& place = macro ? controlset::macrokeys()[ref.index] : controlset::numbks()[ref.index];
  auto* k = new macrok(sr_, settings_, macro ? "macrokey" : "numbk", ref.index, centralWidget());
  k->caption = "Caption";
  k->Textfont = "System";
  k->textsize = 0;
  k->setowner(this);
  k->setGeometry(torect(place.at));
  k->setVisible(place.visible);
  if (macro) {
    macrokeys_[ref.index] = k;
  } else {
    numbks_[ref.index] = k;
  }
  return k;
}

void main::setmacros(const macrolookup& macros) {
  for (auto* k : macrokeys_) k->setmacros(macros);
  for (auto* k : numbks_) k->setmacros(macros);
}

void main::openkeys() {
  for (auto* k : macrokeys_) k->Event_Open();
  for (auto* k : numbks_) k->Event_Open();
}

macrok* main::macrokey(int i) const {
  return i >= 0 && i < controlset::kMacroKeys ? macrokeys_[i] : nullptr;
}

macrok* main::numbk(int i) const {
  return i >= 0 && i < controlset::kNumKeys ? numbks_[i] : nullptr;
}

QLabel* main::Line1(int i) const {
  return i >= 0 && i < controlset::kCells ? cells_[i] : nullptr;
}

macrok& main::key(keyref ref) {
  return ref.in == controlset::group::macrokey ? *macrokeys_.at(ref.index) : *numbks_.at(ref.index);
}

void main::setlit(int i, bool lit) {
  if (auto* k = macrokey(i)) k->setlit(lit);
}

void main::write2kx90(int i) {
  if (auto* k = macrokey(i)) k->write2kx90();
}

void main::setline(int cell, const std::string& text) {
  if (auto* c = Line1(cell)) c->setText(QString::fromLatin1(text));
}

void main::setLkey(const std::string& caption) {
  lkey_->setText(QString::fromStdString(caption));
}

bool main::setupvisible() const {
  return setup_ && setup_->fvisible;
}

void main::Menuwrite() {
  if (setup_) setup_->Menuwrite();
}

std::optional<int32_t> main::openeditor(macrok& key) {
  if (!editor_) return std::nullopt;
  editor_->Setindex(key.tag);
  editor_->edit();
  if (!editor_->okflag) return std::nullopt;
  return editor_->keytag;
}

bool main::testf() const {
  return prefs_ && prefs_->testf();
}

// Revision bytes are raw; Latin-1 shows each byte as one character.
void main::pcbrev(const std::string& text) {
  if (prefs_) prefs_->pcbrev()->setText(QString::fromLatin1(text));
}

void main::corerev(const std::string& text) {
  if (prefs_) prefs_->corerev()->setText(QString::fromLatin1(text));
}

void main::mainrev(const std::string& text) {
  if (prefs_) prefs_->mainrev()->setText(QString::fromLatin1(text));
}

void main::settag(int idx, int32_t code) {
  if (auto* k = macrokey(idx)) k->settag(code);
}

void main::action(macrok& k) {
  if (k.Name == "numbk") {
    controller_.numbk_action(k.Index);
  } else {
    controller_.macrokey_action(k.Index);
  }
}

void main::settitle(const std::string& title) {
  setWindowTitle(QString::fromStdString(title));
}

// The described sizes are those of the panel below the menu bar.
void main::setwindowsize(int width, int height) {
  centralWidget()->setFixedSize(width, height);
  fitpanel();
}

// adjustSize would cap a top-level window at two thirds of the screen.
void main::fitpanel() {
  resize(centralWidget()->width(), centralWidget()->height() + menuBar()->sizeHint().height());
}

void main::Hideall() {
  rectangle_->hide();
  for (auto* k : macrokeys_) k->hide();
  for (auto* k : numbks_) k->hide();
}

bool main::jog() {
  return settings_.getbool("jog");
}

void main::sizekey(keyref ref, int width, int height) {
  macrok& k = key(ref);
  k.setheight(height);
  k.resize(width, k.height());
}

void main::movekey(keyref ref, int left, int top) {
  key(ref).move(left, top);
}
void main::showkey(keyref ref, bool visible) {
  key(ref).setVisible(visible);
}
void main::setkeycaption(keyref ref, const std::string& c) {
  key(ref).setcaption(c);
}
void main::setkeycolor(keyref ref, const std::string& c) {
  key(ref).setcolor(c);
}
void main::clearfled(keyref ref) {
  key(ref).fled = false;
}
void main::clearfmacro(keyref ref) {
  key(ref).fmacro = false;
}

void main::placerectangle(const controlset::box& at) {
  rectangle_->setGeometry(torect(at));
}
void main::showrectangle(bool visible) {
  rectangle_->setVisible(visible);
}

void main::setcellleft(int c, int left) {
  cells_.at(c)->move(left, cells_.at(c)->y());
}
void main::setcelltop(int c, int top) {
  cells_.at(c)->move(cells_.at(c)->x(), top);
}
void main::setcellwidth(int c, int width) {
  cells_.at(c)->resize(width, cells_.at(c)->height());
}
void main::setcelltext(int c, const std::string& text) {
  cells_.at(c)->setText(QString::fromLatin1(text));
}
void main::showcell(int c, bool visible) {
  cells_.at(c)->setVisible(visible);
}
void main::movejogwheel(int left, int top) {
  jogwheel_->move(left, top);
}
void main::showjogwheel(bool visible) {
  jogwheel_->setVisible(visible);
}

void main::closeEvent(QCloseEvent* event) {
  event->accept();
  QApplication::quit();
}

}  // namespace kx90

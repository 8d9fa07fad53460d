// Preferences window. Positions are those of the window's own area; the
// controls of each tab sit on a page that covers the window, and the tab bar
// shows one page at a time.
#include "prefs/prefw.h"

#include <QPushButton>
#include <QSignalBlocker>

#include "panel/main.h"

namespace kx90 {

namespace {

template <typename W>
W* at(W* w, int left, int top, int width, int height) {
  w->setGeometry(left, top, width, height);
  return w;
}

}  // namespace

prefw::prefw(main& panel, portselect& chooser, config& settings, messageboxes& boxes,
             QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      panel_(panel),
      chooser_(chooser),
      settings_(settings),
      boxes_(boxes),
      tabs_(new QTabBar(this)) {
  setWindowTitle("Preferences");
  setFixedSize(351, 472);
  auto* frame = at(new QGroupBox(this), 17, 30, 326, 397);
  frame->lower();
  tabs_->addTab("Tab 0");
  tabs_->addTab("Tab 1");
  tabs_->move(17, 8);
  for (auto& page : pages_) page = at(new QWidget(this), 0, 0, 351, 432);
  buildfirsttab(pages_[0]);
  buildsecondtab(pages_[1]);
  pages_[1]->hide();
  connect(tabs_, &QTabBar::currentChanged, this, [this](int i) {
    for (int p = 0; p < 2; ++p) pages_[p]->setVisible(p == i);
  });
  auto* close = at(new QPushButton("Close", this), 239, 432, 80, 20);
  connect(close, &QPushButton::clicked, this, &QWidget::hide);
  at(new QLabel(QString("Version%1.%2 build %3")
                    .arg(KX90_VERSION_MAJOR)
                    .arg(KX90_VERSION_MINOR)
                    .arg(KX90_VERSION_BUILD),
                this),
     17, 432, 208, 20);
  chooser_.changed = [this] { fillchooser(); };
}

void prefw::buildfirsttab(QWidget* tab) {
  at(new QGroupBox("KX-90 Port", tab), 24, 171, 304, 65);
  ports_ = at(new QComboBox(tab), 31, 200, 227, 20);
  connect(ports_, &QComboBox::activated, this, [this](int row) { chooser_.select(row); });
  auto* refresh = at(new QPushButton("Refresh", tab), 264, 200, 55, 22);
  connect(refresh, &QPushButton::clicked, this, [this] { chooser_.refresh(); });

  at(new QGroupBox("Revision", tab), 38, 57, 149, 77);
  pcbrev_ = at(new QLabel("pcbrev", tab), 45, 77, 130, 16);
  corerev_ = at(new QLabel("corerev", tab), 45, 93, 130, 16);
  mainrev_ = at(new QLabel("mainrev", tab), 45, 109, 130, 16);
  // The labels are narrow for a desktop font; a small one keeps all ten bytes in view.
  for (QLabel* label : {pcbrev_, corerev_, mainrev_}) {
    QFont small = label->font();
    small.setPixelSize(10);
    label->setFont(small);
  }

  keyboard_ = at(new QGroupBox("Keyboard", tab), 193, 40, 135, 137);
  const char* names[kModels] = {"KX90", "MQ90", "KXVS", "HBW", "MQZN"};
  const int tops[kModels] = {62, 80, 129, 151, 105};
  for (int i = 0; i < kModels; ++i) {
    rb1_[i] = at(new QRadioButton(names[i], tab), 202, tops[i], 70, 20);
    connect(rb1_[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) rb1_Action(i);
    });
  }
  jog_ = at(new QCheckBox("JOG", tab), 270, 151, 49, 20);
  connect(jog_, &QCheckBox::clicked, this, [this] { jog_Action(); });
}

void prefw::buildsecondtab(QWidget* tab) {
  lb1_ = at(new QListWidget(tab), 26, 45, 301, 263);
  auto* clear = at(new QPushButton("Clear", tab), 35, 322, 80, 20);
  connect(clear, &QPushButton::clicked, lb1_, &QListWidget::clear);
  testf_ = at(new QCheckBox("Test", tab), 251, 322, 76, 20);
}

void prefw::Event_Open() {
  keyboard_->setEnabled(false);
  jog_->setEnabled(false);
  {
    const QSignalBlocker quiet(jog_);
    jog_->setChecked(settings_.getbool("jog"));
  }
  Setkeyboard(settings_.getint("keyboard"));
  jog_->setEnabled(true);
  keyboard_->setEnabled(true);
  move(panel_.x() + panel_.frameGeometry().width(), panel_.y());
  chooser_.Event_Open();
}

void prefw::Setkeyboard(int n) {
  if (n < 0 || n >= kModels) return;  // no button to select
  if (rb1_[n]->isChecked()) return;
  if (keyboard_->isEnabled()) boxes_.alert("Keyboard Change - Reload Keyboard");
  rb1_[n]->setChecked(true);  // runs rb1_Action, as a click would
}

void prefw::rb1_Action(int i) {
  panel_.Setkbd(i);
  settings_.putint("keyboard", i);
  Setkeyboard(i);
}

void prefw::jog_Action() {
  settings_.putbool("jog", jog_->isChecked());
  panel_.Setkbd(settings_.getint("keyboard"));
}

void prefw::fillchooser() {
  const QSignalBlocker quiet(ports_);
  ports_->clear();
  for (const auto& row : chooser_.rows()) ports_->addItem(QString::fromStdString(row));
  ports_->setCurrentIndex(chooser_.selected());
}

}  // namespace kx90

// Wiring, start-up order and the menu bar.
#include "shell/app.h"

#include <QAction>

namespace kx90 {

namespace {

// The Edit menu works on whichever text field has the focus; widgets
// without such an operation simply ignore it.
void editfocused(const char* operation) {
  QWidget* focus = QApplication::focusWidget();
  if (!focus) return;
  const QMetaObject* meta = focus->metaObject();
  if (meta->indexOfMethod(
          QMetaObject::normalizedSignature((std::string(operation) + "()").c_str())) >= 0) {
    QMetaObject::invokeMethod(focus, operation);
  }
}

}  // namespace

app::app(kxapp& application, std::filesystem::path settingsfolder,
         std::vector<std::string> extraports)
    : application_(application),
      settings_(std::move(settingsfolder)),
      serial_(std::move(extraports), [this] { return settings_.getint("keyboard"); }),
      q9serial1_(serial_, settings_, boxes_),
      sr_(q9serial1_),
      chooser_(serial_, settings_, q9serial1_) {
  application_.setmessageboxes(&boxes_);
}

// The windows go before the link and the protocol module: nothing may call
// into them once they are gone.
app::~app() {
  q9serial1_.parseinput = nullptr;
  q9serial1_.newname = nullptr;
  chooser_.changed = nullptr;
  sr_.attachview(nullptr);
}

void app::start() {
  settings_.initconfig("KX-90");
  configw_ = std::make_unique<Configw>();
  configw_->load();
  macrow_ = std::make_unique<macrow>();
  macrow_->Setgroup();
  main_ = std::make_unique<main>(sr_, settings_, boxes_);
  main_->setwindows(configw_.get(), macrow_.get());
  main_->setmacros(macros_);
  buildmenus(*main_->menuBar());
  q9serial1_.parseinput = [this](framebuffer& f) { parseq9(sr_, *main_, f); };
  q9serial1_.newname = [this](const std::string&) { main_->Readkeys(); };
  main_->openkeys();
  main_->show();
  Event_Open();
}

// The main window's open handler.
void app::Event_Open() {
  configw_->show();
  configw_->hide();
  q9serial1_.init();
  q9view_ = std::make_unique<q9view>(sr_);
  q9view_->show();
  q9view_->hide();
  sr_.attachview(q9view_.get());
  configw_->init();
  main_->Setkbd(settings_.getint("keyboard"));
  prefw_ = std::make_unique<prefw>(*main_, chooser_, settings_, boxes_);
  main_->setprefs(prefw_.get());
  prefw_->Event_Open();
  main_->controller().Readconfig();
}

void app::ViewPrefw_Action() {
  if (prefw_->isVisible()) {
    prefw_->hide();
    return;
  }
  prefw_->show();
  main_->controller().tmode = panelcontroller::kRevisions;
}

void app::ViewSetupMenu_Action() {
  configw_->Togvisible();
  main_->controller().Readconfig();
}

void app::buildmenus(QMenuBar& bar) {
  QMenu* file = bar.addMenu("&File");
  file->addAction("&Quit", QKeySequence("Ctrl+Q"), [] { QApplication::quit(); });
  file->addAction("Load")->setEnabled(false);
  file->addAction("Save As")->setEnabled(false);
  file->addAction("Save");  // does nothing

  QMenu* edit = bar.addMenu("&Edit");
  edit->addAction("&Undo", QKeySequence("Ctrl+Z"), [] { editfocused("undo"); });
  edit->addSeparator();
  edit->addAction("Cu&t", QKeySequence("Ctrl+X"), [] { editfocused("cut"); });
  edit->addAction("&Copy", QKeySequence("Ctrl+C"), [] { editfocused("copy"); });
  edit->addAction("&Paste", QKeySequence("Ctrl+V"), [] { editfocused("paste"); });
  edit->addAction("&Delete", [] { editfocused("del"); });
  edit->addSeparator();
  edit->addAction("Select &All", QKeySequence("Ctrl+A"), [] { editfocused("selectAll"); });

  QMenu* view = bar.addMenu("View");
  view->addAction("Preferences", [this] { ViewPrefw_Action(); });
  view->addAction("Setup Menu", [this] { ViewSetupMenu_Action(); });
  view->addAction("Q9 View", [this] { ViewQ9View_Action(); });

  QMenu* keys = bar.addMenu("Read/Write Keys");
  keys->addAction("Unlock Key Macros", [this] { main_->controller().lockmacros(false); });
  keys->addAction("Write All Keys", [this] { main_->controller().Writekeys(); });
  keys->addAction("Read All Keys", [this] { main_->Readkeys(); });
  keys->addAction("Lock Key Macros", [this] { main_->controller().lockmacros(true); });
}

}  // namespace kx90

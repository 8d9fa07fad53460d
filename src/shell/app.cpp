// Wiring and start-up order.
#include "shell/app.h"

namespace kx90 {

app::app(kxapp& application, std::filesystem::path settingsfolder)
    : application_(application),
      settings_(std::move(settingsfolder)),
      serial_({}, [this] { return settings_.getint("keyboard"); }),
      q9serial1_(serial_, settings_, boxes_),
      sr_(q9serial1_),
      chooser_(serial_, settings_, q9serial1_),
      window_(sr_, chooser_) {
  application_.setmessageboxes(&boxes_);
  q9serial1_.parseinput = [this](framebuffer& f) { parseq9(sr_, window_, f); };
  timer1_.setInterval(kTimerPeriodMs);
  QObject::connect(&timer1_, &QTimer::timeout, [this] { sr_.buildrq(false); });
}

void app::start() {
  settings_.initconfig("KX-90");
  window_.show();
  q9serial1_.init();
  chooser_.Event_Open();
  timer1_.start();
}

}  // namespace kx90

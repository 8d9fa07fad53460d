// kx90: mirrors a control keyboard attached through a USB-serial adapter.
#include <QStandardPaths>

#include "shell/app.h"
#include "shell/kxapp.h"

int main(int argc, char** argv) {
  kx90::kxapp application(argc, argv);
  const auto folder =
      QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString();
  kx90::app program(application, std::filesystem::path(folder) / "KX-90");
  program.start();
  return application.exec();
}

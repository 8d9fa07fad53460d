// A serial link over the fake port, with its own settings in a fresh folder
// and recorded message boxes: what link-level tests and the fuzzer start from.
#pragma once

#include "link/q9serial.h"
#include "settings/config.h"
#include "support/fakes.h"

namespace kx90::testing {

struct linkparts {
  tempfolder folder;
  config settings{folder.path()};
  fakeserial port;
  recordingboxes boxes;
  q9serial link{port, settings, boxes};

  linkparts() { settings.initconfig("KX-90"); }
};

}  // namespace kx90::testing

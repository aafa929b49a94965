// Prints how long the memory window's "Прочитать из ЗУ" takes for each area
// named on the command line (eeprom, all...) against the charger on DEVICE,
// e.g. a simulator gone silent (tools/bench-silent-read.sh).
#include <QApplication>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cstdio>

#include "acquisition/shared_state.h"
#include "common/folders.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "link/device_link.h"
#include "link/port.h"
#include "memory/memory_image.h"
#include "tests/support/test_host.h"
#include "ui/main/program_host.h"
#include "ui/memory/unitmem.h"

using namespace qv;

namespace {

void timeRead(TFormMem& form, const MemoryArea& area) {
  QStringList& messages = TestHost().messages;
  messages.clear();
  form.RadioButton[&area - kMemoryAreas]->setChecked(true);
  QElapsedTimer clock;
  clock.start();
  form.Button1Click();
  const double seconds = static_cast<double>(clock.elapsed()) / 1000;
  std::printf("window %-6s %8.1f s  %3d of %3d blocks not read  %s\n", area.name, seconds,
              MemoryImage.FailedBlocks, area.blocks(), qPrintable(messages.join(QLatin1Char(' '))));
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList arguments = app.arguments().mid(1);
  if (arguments.size() < 2) {
    std::fputs("usage: memory_read_benchmark DEVICE AREA...\n", stderr);
    return 1;
  }
  RecordingHost<ProgramHost> host;
  InstallHost(&host);
  const QTemporaryDir home;
  TestHost().programFolder = home.path() + QLatin1Char('/');
  InitSharedState();
  Settings.PortPaths.insert(1, arguments[0]);
  TestHost().choosePort = [] { DeviceLink.ChosenPort = 1; };
  TFormMem form;
  form.show();
  for (const QString& name : arguments.mid(1)) {
    const MemoryArea* area = MemoryAreaNamed(name);
    if (!area) {
      std::fprintf(stderr, "unknown area %s\n", qPrintable(name));
      return 1;
    }
    timeRead(form, *area);
  }
  ClosePort();
  return 0;
}

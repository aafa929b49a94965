#include "ui/instruments/instruments.h"

#include "ui/instruments/unitdev.h"

using namespace qv;

void RegisterInstrumentWindows() {
  RegisterChildWindow(ChildKind::Dev, [] { return new TFormDev(0); });
  RegisterChildWindow(ChildKind::Dev2, [] { return new TFormDev(1); });
}

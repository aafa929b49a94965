#include "ui/instruments/instruments.h"

#include "ui/instruments/unitdev.h"

void RegisterInstrumentWindows() {
  RegisterChildWindow(ChildKind::Dev, [] { return new TFormDev(0); });
  RegisterChildWindow(ChildKind::Dev2, [] { return new TFormDev(1); });
}

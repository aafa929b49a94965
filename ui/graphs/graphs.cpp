#include "ui/graphs/graphs.h"

#include "ui/graphs/graph_tables.h"
#include "ui/graphs/unitgra.h"

using namespace qv;

void RegisterGraphWindows() {
  for (int channel = 0; channel < 2; ++channel) {
    RegisterChildWindow(kGraphWindows[channel].kind, [channel] { return new TFormGra(channel); });
  }
}

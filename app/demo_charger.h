#pragma once

#include <memory>

#include "link/serial_port.h"

// The built-in demo charger: the simulator's engine in this process, behind
// the port interface, so the program polls and records it like a real one.
// Channel 1 starts charging at once and the batteries run ten times faster
// than real ones, so a whole charge takes minutes.
std::unique_ptr<qv::SerialPortIo> CreateDemoCharger();

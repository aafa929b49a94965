#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "link/serial_port.h"

namespace qv {

// Opens "COM" + port at the given speed with the read time-outs derived from
// it. False, without a message, for port < 1, a speed of 0 or less, or while a
// port is open; with a message for every other failure.
bool OpenPort(int port, int baud);
// What the status bar and messages call the built-in demo charger's port.
inline const QString kDemoPortName = QStringLiteral("Демо");

// Opens the given port object as the built-in demo charger, set up like a
// serial device; the port number setting is left alone.
bool OpenDemoPort(std::unique_ptr<SerialPortIo> port, int baud);
// OpenPort without a message box, for opens the user did not ask for; false
// with *why saying what went wrong.
bool OpenPortQuietly(int port, int baud, QString* why = nullptr);
// Puts the device's own settings back and closes it; false if none was open.
bool ClosePort();
// Asks for a port through the port dialog when none is open and opens it;
// ends with a status refresh in every case.
void Connect();

// Read time-outs in milliseconds for a speed.
int ReadIntervalTimeout(int baud);
int ReadTotalTimeoutMultiplier(int baud);

// The device behind COM number n: the "PORTS" section first, then the fixed
// families COM1-32 = /dev/ttyS0-31, COM33-64 = /dev/ttyUSB0-31,
// COM65-99 = /dev/ttyACM0-34. Empty for numbers outside 1-99.
QString ComPortPath(int n);
// "COM" + n for every number whose device exists, sorted as text.
QStringList EnumeratePorts();

// The host shows the link's state (and, in the program, lets pending events run).
void StatusRefresh();

}  // namespace qv

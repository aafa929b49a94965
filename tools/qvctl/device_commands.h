#pragma once

#include "tools/qvctl/options.h"

// Sets up settings, port, log and message handling for the options.
void PrepareDevice(const Options& options);

// Opens the port; on failure says why in one line on stderr.
bool OpenChargerPort();
// The exit code and one line on stderr when the charger on the open port
// cannot be identified; kExitOk when it is.
int IdentifyOrExplain();

void PrintLine(const QString& text);
// "qvctl: " and the text on one line of stderr.
void PrintError(const QString& text);

// The commands that talk to the charger; each returns the exit code.
int RunIdentify();
int RunScreen();
int RunPress(const QStringList& arguments);
int RunPoll(const QStringList& arguments);
int RunReadMemory(const QStringList& arguments);

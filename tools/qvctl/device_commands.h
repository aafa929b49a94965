#pragma once

#include "tools/qvctl/options.h"

// Sets up settings, port, log and message handling for the options.
void PrepareDevice(const Options& options);

// The commands that talk to the charger; each returns the exit code.
int RunIdentify();
int RunScreen();
int RunPress(const QStringList& arguments);
int RunPoll(const QStringList& arguments);
int RunReadMemory(const QStringList& arguments);

#pragma once

#include <QStringList>

// qvctl soak --exchanges N: measurement requests, screens and memory blocks in
// turn until N exchanges (attempts) have been made, the port opened again
// after every failed command as the program does on its next one. Prints its
// counters as "key value" lines; failed commands do not change the exit code.
int RunSoak(const QStringList& arguments);

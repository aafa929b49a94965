#pragma once

#include <QStringList>

// record [--interval S] [--until-end]: polls the charger as the program does
// and records every run into GRA/, printing each run's file when it begins.
int RunRecord(const QStringList& arguments);

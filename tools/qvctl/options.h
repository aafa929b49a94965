#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What the command line asked for.
struct Options {
  QString port;       // as given: a COM number, a COM name or a device path
  int comNumber = 0;  // from a COM number or name; 0: port is a path or empty
  int baud = 0;       // 0: the settings' speed
  bool help = false;  // print the usage and do nothing else
  bool log = false;
  bool yes = false;  // answer Yes to questions (replace an existing file)
  QString home;      // program folder instead of the executable's
  QString command;
  QStringList arguments;  // the words after the command
};

// Parsed options, or nothing with *error set.
std::optional<Options> ParseOptions(const QStringList& words, QString* error);

QString UsageText();

// Exit codes.
enum ExitCode : int {
  kExitOk = 0,
  kExitUsage = 1,
  kExitNoReply = 2,
  kExitUnsupported = 3,
  kExitPort = 4,
  kExitFile = 5,
};

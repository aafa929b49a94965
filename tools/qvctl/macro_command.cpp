#include "tools/qvctl/macro_command.h"

#include <QFileInfo>
#include <cstdio>

#include "common/settings_record.h"
#include "common/text.h"
#include "macro/byte_code.h"
#include "macro/compiler.h"
#include "macro/formatter.h"
#include "macro/listing.h"
#include "macro/store.h"
#include "tools/qvctl/options.h"

using namespace qv;

namespace {

constexpr int kExitMacroErrors = 1;

void print(std::FILE* stream, const QString& text) {
  const QByteArray bytes = text.toUtf8();
  std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
}

QString imageText() {
  QStringList bytes;
  for (int i = 0; i < CompiledMacro.length; ++i)
    bytes.append(HexByte(CompiledMacro.image[i]));
  return bytes.join(u' ') + u'\n';
}

QString listingText() {
  const MacroListing listing = ShowMacroListing(-1);
  return (listing.info + listing.hexRows).join(u'\n') + u'\n';
}

}  // namespace

int RunMacroCommand(const QStringList& args) {
  const QStringList commands = {QStringLiteral("compile"), QStringLiteral("listing"),
                                QStringLiteral("format")};
  if (args.size() != 2 || !commands.contains(args[0])) {
    print(stderr, QStringLiteral("usage: qvctl macro compile|listing|format FILE\n"));
    return kExitUsage;
  }
  const QString& path = args[1];
  bool read = false;
  const QString text = ReadMacroFile(path, &read);
  if (!read) {
    print(stderr, QStringLiteral("qvctl: cannot read ") + path + u'\n');
    return kExitFile;
  }
  // As when the editor loads a file: named after it until MACRO( ) compiles.
  CurrentMacroName = QFileInfo(path).fileName();
  const QString formatted = FormatMacroText(text).text;
  CompileMacro(formatted);
  if (args[0] == QLatin1String("compile"))
    print(stdout, imageText());
  if (args[0] == QLatin1String("listing"))
    print(stdout, listingText());
  if (args[0] == QLatin1String("format"))
    print(stdout, formatted);
  for (const QString& message : MacroErrorList)
    print(stderr, message + u'\n');
  return CompiledMacro.errorCount > 0 ? kExitMacroErrors : kExitOk;
}

// qv20: the control program of the QV charger.
#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <exception>

#include "app/demo_charger.h"
#include "common/folders.h"
#include "common/messages.h"
#include "link/port.h"
#include "ui/graphs/graphs.h"
#include "ui/instruments/instruments.h"
#include "ui/macro/macro_editor.h"
#include "ui/main/artwork.h"
#include "ui/main/fonts.h"
#include "ui/main/program_host.h"
#include "ui/main/unitcom.h"
#include "ui/main/unitm.h"
#include "ui/memory/memory_window.h"
#include "ui/runs/runs.h"

using namespace qv;

namespace {

// A failure that escapes an event handler is shown and the program goes on.
class Application : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
      ShowMessage(QString::fromLocal8Bit(error.what()));
    } catch (...) {
      ShowMessage(QString());
    }
    return false;
  }
};

// The program speaks Russian: so do the toolkit's own dialogs and buttons
// ("Да", "Нет", the file dialog), where Qt's translations are installed.
void installToolkitTranslation(QApplication& app) {
  static QTranslator translator;
  if (translator.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    app.installTranslator(&translator);
  }
}

// "--home DIR" runs the program with another folder than its own as its
// program folder (settings, LOG, GRA, QVML, MEM), as qvctl does. Other
// arguments the program does not know are left alone.
QString homeOption(const QStringList& arguments) {
  const qsizetype at = arguments.indexOf(QStringLiteral("--home"));
  if (at > 0 && at + 1 < arguments.size())
    return QDir(arguments[at + 1]).absolutePath();
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  Application app(argc, argv);
  app.setApplicationName(QStringLiteral("qv20"));
  // Lets the desktop match the windows with qv20.desktop and its icon.
  app.setDesktopFileName(QStringLiteral("qv20"));
  app.setWindowIcon(ProgramIcon());
  ProgramHost host;
  host.home = homeOption(app.arguments());
  InstallHost(&host);
  installToolkitTranslation(app);
  InstallFontSubstitutions();
  RegisterInstrumentWindows();
  RegisterGraphWindows();
  RegisterMemoryWindow();
  RegisterMacroEditorWindow();
  RegisterRunWindows();
  TFormM form;
  if (!form.started())
    return 1;
  form.setDemoCharger(CreateDemoCharger);
  form.show();
  // "--demo" starts on the built-in demo charger, as its menu item does.
  if (app.arguments().contains(QStringLiteral("--demo")))
    form.N41Click();
  // Runs the desktop passes, as "Открыть файл" opens them.
  const QStringList runFiles = RunFileArguments(app.arguments());
  if (!runFiles.isEmpty())
    OpenRunGraphs(runFiles);
  return app.exec();
}

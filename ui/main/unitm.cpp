#include "ui/main/unitm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include "acquisition/polling.h"
#include "acquisition/query.h"
#include "acquisition/recording.h"
#include "acquisition/shared_state.h"
#include "common/commands.h"
#include "common/folders.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "link/device_link.h"
#include "link/port.h"
#include "memory/memory_image.h"
#include "settings/settings.h"
#include "settings/window_position.h"
#include "ui/help/unithelp.h"
#include "ui/main/artwork.h"
#include "ui/main/captions.h"
#include "ui/main/child_window.h"
#include "ui/main/front_panel.h"
#include "ui/main/modal.h"
#include "ui/main/panel_view.h"
#include "ui/main/printing.h"
#include "ui/main/run_end_notice.h"
#include "ui/main/run_windows.h"
#include "ui/main/settings_dialog.h"
#include "ui/main/status_bar.h"
#include "ui/main/unavailable.h"
#include "ui/main/unitabout.h"
#include "ui/main/window_layout.h"

using namespace qv;

namespace {

constexpr int kTickMs = 500;
constexpr int kPanelTextMargin = 10;
// The demo charger has no wire; any speed will do.
constexpr int kDemoBaud = 38400;

TFormM* shownMainWindow = nullptr;  // the main window while one is open

// Items added in table order; those without an action do nothing when
// chosen.
struct TableItem {
  const char* menu;
  const char* name;
  const char* caption;
  const char* shortcut;
  void (TFormM::*click)() = nullptr;
};

const QString kRunFileFilter = QStringLiteral("Записи заездов (*.gra)");

// Files of recorded runs the user picks, from GRA/ on; none when cancelled.
QStringList chooseRunFiles(QWidget* parent, const QString& caption, QFileDialog::FileMode mode) {
  QFileDialog dialog(parent, caption, GraFolder(), kRunFileFilter);
  dialog.setFileMode(mode);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (RunModal(dialog) != QDialog::Accepted)
    return {};
  return dialog.selectedFiles();
}

QString clientPositionText(const QRect& client) {
  return WindowPositionText({client.x(), client.y(), client.width(), client.height()});
}
// Items the charger's protocol has no frames for, and documents the program
// does not hold.
const char* const kUnavailableItems[] = {"N25", "N24", "N26", "N8", "N17", "N21"};
const char* const kMissingDocuments[] = {"N9", "N16"};

}  // namespace

TFormM::TFormM()
    : poller_(new Poller(this)),
      Image1(new PanelView),
      StatusBar1(new QStatusBar),
      Timer1(new QTimer(this)),
      Timer2(poller_->timer()),
      progressPanel(new ProgressPanel),
      noteLabel(new QLabel),
      runEndNotice_(new RunEndNotice(this)) {
  setWindowTitle(kMainWindowCaption);
  Image1->setObjectName(QStringLiteral("Image1"));
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  Timer1->setObjectName(QStringLiteral("Timer1"));
  progressPanel->setObjectName(QStringLiteral("ProgressPanel"));
  noteLabel->setObjectName(QStringLiteral("NoteLabel"));
  QPalette sky = palette();
  sky.setColor(QPalette::Window, kWindowSkyBlue);
  setPalette(sky);
  Image1->setFixedSize(kPictureWidth, kPictureHeight);
  setCentralWidget(Image1);
  setStatusBar(StatusBar1);
  StatusBar1->setSizeGripEnabled(false);
  for (int i = 0; i < 3; ++i) {
    statusPanels[i] = new QLabel;
    statusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    StatusBar1->addWidget(statusPanels[i]);
  }
  StatusBar1->addWidget(progressPanel);
  // A long note is cut rather than squeeze the panels of a fixed window.
  noteLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  StatusBar1->addWidget(noteLabel, 1);
  noteLabel->hide();
  layout()->setSizeConstraint(QLayout::SetFixedSize);  // a fixed border: no resizing
  buildMenu();

  connect(Image1, &PanelView::pressed, this, &TFormM::Image1MouseDown);
  connect(Image1, &PanelView::released, this, &TFormM::Image1MouseUp);
  Timer1->setInterval(kTickMs);
  connect(Timer1, &QTimer::timeout, this, &TFormM::Timer1Timer);
  connect(poller_, &Poller::polled, this, &TFormM::redrawAfterPoll);
  connect(poller_, &Poller::noteChanged, this, &TFormM::showNote);
  connect(runEndNotice_, &RunEndNotice::note, this, &TFormM::showNote);

  shownMainWindow = this;
  SetChildMenuCheck([this](ChildKind kind, bool checked) {
    item(ChildInfo(kind).menuItem)->setChecked(checked);
  });
  ClearMemoryImage();
  InitSharedState();
  LoadSettings();
  for (int i = 0; i < 2; ++i)
    ChannelData[i].LastMacro = Settings.LastMacro[i];
  InitRecording();
  poller_->setInterval(PollingIntervalSeconds(Settings.Timer) * 1000);
  applyWindowPosition();
  started_ = drawWholePanel();
  redrawDisplay();
  refreshStatus();
  Timer1->start();
  // Once the window is up: a silent charger must not keep it from showing.
  if (Settings.AutoComStart)
    QTimer::singleShot(0, this, &TFormM::autoConnect);
}

TFormM::~TFormM() {
  poller_->stop();
  SetChildMenuCheck({});
  shownMainWindow = nullptr;
}

TFormM* TFormM::openWindow() {
  return shownMainWindow;
}

void TFormM::setDemoCharger(DemoChargerFactory factory) {
  demoCharger_ = std::move(factory);
}

void TFormM::showReadProgress() {
  progressPanel->setProgress(MemoryImage.ReadProgress);
  QCoreApplication::processEvents();
}

void TFormM::noticeRunEnd(int channel, const QString& path) {
  runEndNotice_->notify(channel, path);
}

QAction* TFormM::item(const char* name) const {
  return findChild<QAction*>(QLatin1String(name));
}

QAction* TFormM::addItem(QMenu* menu, const char* name, const QString& caption,
                         const char* shortcut) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QLatin1String(name));
  action->setShortcut(QKeySequence(QLatin1String(shortcut)));
  return action;
}

void TFormM::buildMenu() {
  static const TableItem table[] = {
      {"Файл", "GRA1", "Открыть файл", "Ctrl+O", &TFormM::GRA1Click},
      {"Файл", "N5", "Печать", "Ctrl+P", &TFormM::N5Click},
      {"Работа", "N25", "Пуск канала 1 ...", "Ctrl+F3"},
      {"Работа", "N24", "Пуск канала 2 ...", "Ctrl+F4"},
      {"Работа", "N26", "Паника (все остановить)", "Ctrl+Esc"},
      {"Работа", "N22", "Диагноз аккумулятора", "Ctrl+D", &TFormM::N22Click},
      {"Работа", "N30", "Диагноз по файлу GRA", "Ctrl+E", &TFormM::N30Click},
      {"Настройки", "N8", "Общие настройки ЗУ", "Alt+Z"},
      {"Настройки", "N17", "Регулировка канала 1", "Ctrl+1"},
      {"Настройки", "N21", "Регулировка канала 2", "Ctrl+2"},
      {"Помощь", "N9", "Теория", "Alt+F1"},
      {"Помощь", "N16", "Схема", "Ctrl+F1"},
  };
  auto tableItems = [this](QMenu* menu, const char* title) {
    for (const TableItem& t : table) {
      if (qstrcmp(t.menu, title) != 0)
        continue;
      QAction* action = addItem(menu, t.name, QString::fromUtf8(t.caption), t.shortcut);
      if (t.click)
        connect(action, &QAction::triggered, this, t.click);
    }
  };
  auto menuOf = [this](const char* title) { return menuBar()->addMenu(QString::fromUtf8(title)); };

  QMenu* file = menuOf("Файл");
  tableItems(file, "Файл");
  file->addSeparator();
  connect(addItem(file, "N7", QStringLiteral("Выход"), "Alt+X"), &QAction::triggered, this,
          &TFormM::N7Click);

  QMenu* work = menuOf("Работа");
  QAction* connectItem = addItem(work, "N40", QStringLiteral("Подключить ЗУ"), "Ctrl+Z");
  connectItem->setCheckable(true);
  connect(connectItem, &QAction::triggered, this, &TFormM::N40Click);
  QAction* demo = addItem(work, "N41", QStringLiteral("Демо режим (без ЗУ)"), "Ctrl+M");
  demo->setCheckable(true);
  demo->setChecked(true);
  connect(demo, &QAction::triggered, this, &TFormM::N41Click);
  work->addSeparator();
  tableItems(work, "Работа");

  QMenu* view = menuOf("Вид");
  view->menuAction()->setShortcut(QKeySequence(QStringLiteral("Alt+Z")));
  for (const ChildWindowInfo& info : kChildWindows) {
    QAction* action =
        addItem(view, info.menuItem, QString::fromUtf8(info.menuCaption), info.shortcut);
    action->setCheckable(true);
    const ChildKind kind = info.kind;
    connect(action, &QAction::triggered, this, [this, kind] { toggle(kind); });
  }

  QMenu* settings = menuOf("Настройки");
  connect(addItem(settings, "N18", QStringLiteral("Параметры программы"), "Alt+P"),
          &QAction::triggered, this, &TFormM::N18Click);
  tableItems(settings, "Настройки");
  QMenu* windows = menuOf("Окна");
  connect(addItem(windows, "N32", QStringLiteral("Каскад"), "Ctrl+K"), &QAction::triggered, this,
          &TFormM::N32Click);
  connect(addItem(windows, "N33", QStringLiteral("Стандарт"), "Ctrl+C"), &QAction::triggered, this,
          &TFormM::N33Click);
  QMenu* help = menuOf("Помощь");
  connect(addItem(help, "N10", QStringLiteral("Эксплуатация"), "Shift+F1"), &QAction::triggered,
          this, &TFormM::N10Click);
  tableItems(help, "Помощь");
  connect(addItem(help, "N36", QStringLiteral("Макросы"), "Ctrl+F2"), &QAction::triggered, this,
          &TFormM::N36Click);
  help->addSeparator();
  connect(addItem(help, "N12", QStringLiteral("О программе"), "F1"), &QAction::triggered, this,
          &TFormM::N12Click);

  for (const char* name : kUnavailableItems)
    MarkUnavailable(item(name));
  for (const char* name : kMissingDocuments)
    MarkUnavailable(item(name), kNoDocumentHint);
}

void TFormM::toggle(ChildKind kind) {
  // The window, not the click, owns the check mark.
  const bool open = ChildWindowFlags[static_cast<int>(kind)].open;
  item(ChildInfo(kind).menuItem)->setChecked(open);
  if (!open)
    placeFirstTime(kind);
  ToggleChildWindow(kind);
}

// A window the user never placed opens beside this one, at a size that
// shows what it holds; a stored place stays as it is.
void TFormM::placeFirstTime(ChildKind kind) {
  QString& position = Settings.*ChildInfo(kind).positionKey;
  if (position == kDefaultPosition)
    position = clientPositionText(standardPlace(kind));
}

QRect TFormM::standardPlace(ChildKind kind) const {
  return StandardPlace(kind, frameGeometry(), screen()->availableGeometry(), frameMargins());
}

QMargins TFormM::frameMargins() const {
  return FrameMargins(*this);
}

void TFormM::N18Click() {
  SettingsDialog dialog(this);
  if (RunModal(dialog) == QDialog::Accepted)
    poller_->setInterval(PollingIntervalSeconds(Settings.Timer) * 1000);
}

void TFormM::N32Click() {
  int n = 0;
  for (const ChildWindowInfo& info : kChildWindows) {
    if (ChildWindow* window = ChildWindowInstance(info.kind)) {
      window->setGeometry(
          CascadePlace(n++, window->size(), screen()->availableGeometry(), frameMargins()));
      window->raise();
    }
  }
}

void TFormM::N33Click() {
  for (const ChildWindowInfo& info : kChildWindows) {
    if (ChildWindow* window = ChildWindowInstance(info.kind))
      window->setGeometry(standardPlace(info.kind));
  }
}

// The client area's corner, as it is written: the frame's corner would move
// the window by its title bar at every start.
void TFormM::applyWindowPosition() {
  const WindowPosition p = ParseWindowPosition(Settings.MainPos);
  setGeometry(p.left, p.top, width(), height());
}

void TFormM::showPanel() {
  Image1->setPicture(PanelBitmap);
}

bool TFormM::drawWholePanel() {
  const bool drawn = DrawWholePanel();
  if (!drawn) {
    const QString found = FindPanelPicture();
    ShowMessage(found.isEmpty()
                    ? QStringLiteral("Не найден файл %1.\n\nИскали в папках\n%2")
                          .arg(kPanelPictureFile, PanelPictureFolders().join(QLatin1Char('\n')))
                    : QStringLiteral("Не удалось загрузить картинку %1.").arg(found));
  }
  showPanel();
  return drawn;
}

void TFormM::redrawDisplay() {
  DrawDisplay();
  showPanel();
}

void TFormM::N40Click() {
  // The demo charger gives way: the user asks for a real one.
  if (DeviceLink.DemoCharger)
    stopCharger();
  Connect();
  if (DeviceLink.PortOpen)
    QueryDevice(U_WhoAreYou);
  if (ChargerState.DeviceIdentified) {
    QueryDevice(U_GiveMeScr);
    if (DeviceLink.PortOpen)
      pollRealCharger();
  } else {
    stopCharger();
    refreshStatus();  // the bar must not go on naming a closed port
    ShowMessage(ChargerState.VersionText.isEmpty() ? kNoChargerLinkText : kUnsupportedChargerText);
  }
  redrawDisplay();
}

void TFormM::N41Click() {
  if (DeviceLink.DemoCharger) {
    stopCharger();
  } else {
    startDemo();
  }
  refreshStatus();
  drawWholePanel();
}

void TFormM::startDemo() {
  if (!demoCharger_)
    return;
  stopCharger();
  pollingDemo_ = true;
  if (reopenCharger() && IdentifyCharger())
    poller_->start();
}

bool TFormM::reopenCharger() {
  if (pollingDemo_)
    return demoCharger_ && OpenDemoPort(demoCharger_(), kDemoBaud);
  return OpenPortQuietly(Settings.COM, Settings.COMSpeed);
}

void TFormM::stopCharger() {
  poller_->stop();
  if (DeviceLink.PortOpen)
    ClosePort();
}

void TFormM::pollRealCharger() {
  pollingDemo_ = false;
  poller_->start();
}

// No dialog and no message box: the status bar says what went wrong.
void TFormM::autoConnect() {
  if (DeviceLink.PortOpen)
    return;  // the user was quicker
  const QString port = QStringLiteral("COM") + QString::number(Settings.COM);
  QString why;
  if (!OpenPortQuietly(Settings.COM, Settings.COMSpeed, &why)) {
    showNote(port + QStringLiteral(" не открылся: ") + why);
  } else if (!IdentifyCharger()) {
    showNote(ChargerState.VersionText.isEmpty()
                 ? port + QStringLiteral(": ЗУ не отвечает")
                 : port + QStringLiteral(": устройство не поддерживается"));
  } else {
    pollRealCharger();
  }
  refreshStatus();
  redrawAfterPoll();
}

void TFormM::showNote(const QString& text) {
  noteLabel->setText(text);
  noteLabel->setToolTip(text);
  noteLabel->setVisible(!text.isEmpty());
}

// No message box from here: a picture gone missing is said at start-up and
// after a click, not at every poll.
void TFormM::redrawAfterPoll() {
  DrawWholePanel();
  showPanel();
}

void TFormM::N7Click() {
  close();
}

void TFormM::GRA1Click() {
  const QStringList paths =
      chooseRunFiles(this, QStringLiteral("Открыть файл"), QFileDialog::ExistingFiles);
  if (!paths.isEmpty() && RunWindows().graphs)
    RunWindows().graphs(paths);
}

void TFormM::N5Click() {
  PrintFrontWindow(this);
}

void TFormM::N22Click() {
  if (RunWindows().channelReports)
    RunWindows().channelReports();
}

void TFormM::N30Click() {
  const QStringList paths =
      chooseRunFiles(this, QStringLiteral("Диагноз по файлу GRA"), QFileDialog::ExistingFile);
  if (!paths.isEmpty() && RunWindows().fileReport)
    RunWindows().fileReport(paths.first());
}

void TFormM::N10Click() {
  ShowHelp(HelpDocument::UserGuide);
}

void TFormM::N36Click() {
  ShowHelp(HelpDocument::QvmlReference);
}

void TFormM::N12Click() {
  ShowAboutInformation(this);
}

void TFormM::Timer1Timer() {
  Timer1->stop();
  ScreenImage.Blink = !ScreenImage.Blink;
  if (ScreenImage.CursorPos < kScreenCells)
    redrawDisplay();
  if (!FirstTickDone) {
    FirstTickDone = true;
    for (const ChildWindowInfo& info : kChildWindows) {
      if (Settings.OpenWindowsMask & info.maskBit)
        item(info.menuItem)->trigger();
    }
  }
  Timer1->start();
}

void TFormM::Image1MouseDown(QPoint position, QSize size) {
  const QPoint p = MapToPicture(position, size);
  DrawButtons(HitTest(p.x(), p.y()));
  showPanel();
}

void TFormM::Image1MouseUp(QPoint position, QSize size) {
  const QPoint p = MapToPicture(position, size);
  const int button = HitTest(p.x(), p.y());
  DrawButtons(0);
  showPanel();
  QueryDevice(ButtonCommand(button));
  drawWholePanel();
}

void TFormM::refreshStatus() {
  if (ProgramClosing)
    return;
  if (!DeviceLink.PortOpen) {
    ApplyPortClosedState();
    MemoryImage.ReadProgress = 0;
  }
  // The demo charger is no charger: its item keeps the mark while it runs.
  const bool chargerPort = DeviceLink.PortOpen && !DeviceLink.DemoCharger;
  item("N40")->setChecked(chargerPort);
  item("N41")->setChecked(!chargerPort);
  const std::array<QString, 3> texts = StatusPanelTexts();
  const QFontMetrics metrics(StatusBar1->font());
  for (int i = 0; i < 3; ++i) {
    statusPanels[i]->setText(texts[i]);
    statusPanels[i]->setFixedWidth(metrics.horizontalAdvance(texts[i]) + kPanelTextMargin);
  }
  progressPanel->setProgress(MemoryImage.ReadProgress);
  QCoreApplication::processEvents();
}

void TFormM::closeEvent(QCloseEvent* event) {
  ProgramClosing = true;
  Timer1->stop();
  Settings.OpenWindowsMask = OpenChildWindowsMask();
  CloseChildWindows();
  // A point report left open would keep the program running.
  CloseAboutReports();
  CloseHelpWindow();
  // Picture and status bar: the menu bar is no part of the client area
  // where menus live in the frame.
  Settings.MainPos = WindowPositionText(
      {geometry().x(), geometry().y(), Image1->width(), Image1->height() + StatusBar1->height()});
  for (int i = 0; i < 2; ++i)
    Settings.LastMacro[i] = ChannelData[i].LastMacro;
  if (!SaveSettings())
    ShowMessage(CannotWriteFileText(SettingsFilePath()));
  stopCharger();
  QMainWindow::closeEvent(event);
}

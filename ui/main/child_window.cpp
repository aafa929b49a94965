#include "ui/main/child_window.h"

#include <QCloseEvent>
#include <QPointer>
#include <QShowEvent>

#include "settings/window_position.h"

const ChildWindowInfo kChildWindows[kChildWindowCount] = {
    {ChildKind::Dev,
     "N19",
     "Приборы 1 канал",
     "Ctrl+F5",
     0x20,
     &SettingsRecord::DevPos,
     {426, 213}},
    {ChildKind::Dev2,
     "N14",
     "Приборы 2 канал",
     "Ctrl+F6",
     0x10,
     &SettingsRecord::Dev2Pos,
     {426, 213}},
    {ChildKind::Gra,
     "N15",
     "Графики 1 канал",
     "Ctrl+F7",
     0x08,
     &SettingsRecord::GraPos,
     {720, 420}},
    {ChildKind::Gra2,
     "N34",
     "Графики 2 канал",
     "Ctrl+F8",
     0x04,
     &SettingsRecord::Gra2Pos,
     {720, 420}},
    {ChildKind::Mem, "N31", "Память", "Alt+M", 0x02, &SettingsRecord::MemPos, {652, 294}},
    {ChildKind::Qvml, "N35", "Редактор QVML", "Alt+R", 0x01, &SettingsRecord::QvmlPos, {787, 395}},
};

ChildWindowFlagsRecord ChildWindowFlags[kChildWindowCount];
bool ProgramClosing = false;

namespace {

constexpr int kTickMs = 500;

int indexOf(ChildKind kind) {
  return static_cast<int>(kind);
}

ChildWindowFactory factories[kChildWindowCount];
QPointer<ChildWindow> instances[kChildWindowCount];
std::function<void(ChildKind, bool)> menuCheck;

QString& positionSetting(ChildKind kind) {
  return Settings.*ChildInfo(kind).positionKey;
}

}  // namespace

const ChildWindowInfo& ChildInfo(ChildKind kind) {
  return kChildWindows[indexOf(kind)];
}

ChildWindow::ChildWindow(ChildKind kind, QWidget* parent)
    : QWidget(parent, Qt::Window), Timer1(new QTimer(this)), kind_(kind) {
  setAttribute(Qt::WA_DeleteOnClose);
  Timer1->setInterval(kTickMs);
  connect(Timer1, &QTimer::timeout, this, &ChildWindow::timerTick);
  Timer1->start();
}

ChildWindowFlagsRecord& ChildWindow::flags() const {
  return ChildWindowFlags[indexOf(kind_)];
}

QString ChildWindow::positionText() const {
  const QRect client = geometry();
  return WindowPositionText({client.x(), client.y(), client.width(), client.height()});
}

void ChildWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (positioned_)
    return;  // a window coming back from the task bar keeps its place
  positioned_ = true;
  // The client area, as the position text is written: a frame's corner here
  // would move the window by its title bar at every opening.
  const WindowPosition p = ParseWindowPosition(positionSetting(kind_));
  setGeometry(p.left, p.top, p.width, p.height);
  CheckChildMenu(kind_, true);
  shown();
}

void ChildWindow::closeEvent(QCloseEvent* event) {
  Timer1->stop();
  closing();
  positionSetting(kind_) = positionText();
  flags().open = false;
  CheckChildMenu(kind_, false);
  QWidget::closeEvent(event);
}

void ChildWindow::timerTick() {
  Timer1->stop();
  if (ProgramClosing || flags().closeRequested) {
    close();
    return;
  }
  tick();
  Timer1->start();
}

void RegisterChildWindow(ChildKind kind, ChildWindowFactory factory) {
  factories[indexOf(kind)] = std::move(factory);
}

bool ChildWindowRegistered(ChildKind kind) {
  return static_cast<bool>(factories[indexOf(kind)]);
}

ChildWindow* ChildWindowInstance(ChildKind kind) {
  ChildWindow* window = instances[indexOf(kind)];
  return window && ChildWindowFlags[indexOf(kind)].open ? window : nullptr;
}

void SetChildMenuCheck(std::function<void(ChildKind, bool)> check) {
  menuCheck = std::move(check);
}

void CheckChildMenu(ChildKind kind, bool checked) {
  if (menuCheck)
    menuCheck(kind, checked);
}

void ToggleChildWindow(ChildKind kind) {
  ChildWindowFlagsRecord& flags = ChildWindowFlags[indexOf(kind)];
  if (flags.open) {
    if (ChildWindow* window = instances[indexOf(kind)])
      positionSetting(kind) = window->positionText();
    flags.closeRequested = true;
    return;
  }
  if (!ChildWindowRegistered(kind))
    return;
  flags.open = true;
  flags.closeRequested = false;
  ChildWindow* window = factories[indexOf(kind)]();
  instances[indexOf(kind)] = window;
  window->show();
}

uint8_t OpenChildWindowsMask() {
  uint8_t mask = 0;
  for (const ChildWindowInfo& info : kChildWindows) {
    if (ChildWindowFlags[indexOf(info.kind)].open)
      mask |= info.maskBit;
  }
  return mask;
}

void CloseChildWindows() {
  for (const ChildWindowInfo& info : kChildWindows) {
    ChildWindow* window = ChildWindowInstance(info.kind);
    if (window)
      window->close();
  }
}

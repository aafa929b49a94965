#include "ui/main/child_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QScreen>
#include <QShowEvent>

#include "settings/window_position.h"
#include "ui/main/window_layout.h"

using namespace qv;

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
// Every living child window, the one in front first.
QList<ChildWindow*> frontOrder;
// The windows beside the six, oldest first.
QList<ChildWindow*> freeWindows;

QString& positionSetting(ChildKind kind) {
  return Settings.*ChildInfo(kind).positionKey;
}

// The window the user chose a new one from, or another one shown: it tells
// how thick the window manager's frames are.
const QWidget* windowShown() {
  if (const QWidget* active = QApplication::activeWindow())
    return active;
  for (const QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && !window->isMinimized())
      return window;
  }
  return nullptr;
}

}  // namespace

const ChildWindowInfo& ChildInfo(ChildKind kind) {
  return kChildWindows[indexOf(kind)];
}

ChildWindow::ChildWindow(ChildKind kind, QWidget* parent) : ChildWindow(parent, kind) {}

ChildWindow::ChildWindow(QWidget* parent) : ChildWindow(parent, std::nullopt) {}

ChildWindow::ChildWindow(QWidget* parent, std::optional<ChildKind> kind)
    : QWidget(parent, Qt::Window), Timer1(new QTimer(this)), kind_(kind) {
  setAttribute(Qt::WA_DeleteOnClose);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(kTickMs);
  connect(Timer1, &QTimer::timeout, this, &ChildWindow::timerTick);
  Timer1->start();
  if (!kind_)
    freeWindows.append(this);
}

ChildWindow::~ChildWindow() {
  frontOrder.removeOne(this);
  freeWindows.removeOne(this);
}

ChildWindowFlagsRecord& ChildWindow::flags() const {
  return kind_ ? ChildWindowFlags[indexOf(*kind_)] : ownFlags_;
}

QString ChildWindow::positionText() const {
  const QRect client = geometry();
  return WindowPositionText({client.x(), client.y(), client.width(), client.height()});
}

void ChildWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  comeToFront();
  if (positioned_)
    return;  // a window coming back from the task bar keeps its place
  positioned_ = true;
  if (kind_) {
    // The client area, as the position text is written: a frame's corner
    // here would move the window by its title bar at every opening.
    const WindowPosition p = ParseWindowPosition(positionSetting(*kind_));
    setGeometry(p.left, p.top, p.width, p.height);
    CheckChildMenu(*kind_, true);
  }
  shown();
}

void ChildWindow::closeEvent(QCloseEvent* event) {
  Timer1->stop();
  closing();
  if (kind_) {
    positionSetting(*kind_) = positionText();
    CheckChildMenu(*kind_, false);
  }
  flags().open = false;
  QWidget::closeEvent(event);
}

void ChildWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow())
    comeToFront();
}

void ChildWindow::comeToFront() {
  frontOrder.removeOne(this);
  frontOrder.prepend(this);
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
  // Copied: a closing window leaves the list when it is freed.
  const QList<ChildWindow*> free = freeWindows;
  for (ChildWindow* window : free)
    window->close();
}

QList<ChildWindow*> ChildWindowsFrontFirst() {
  QList<ChildWindow*> open;
  for (ChildWindow* window : frontOrder) {
    if (window->isVisible())
      open << window;
  }
  return open;
}

QList<ChildWindow*> FreeChildWindows() {
  QList<ChildWindow*> open;
  for (ChildWindow* window : freeWindows) {
    if (window->isVisible())
      open << window;
  }
  return open;
}

void ShowFreeWindow(ChildWindow* window, QSize firstSize) {
  const QWidget* from = windowShown();
  const QMargins frame = from ? FrameMargins(*from) : QMargins();
  const QScreen* screen = from ? from->screen() : QApplication::primaryScreen();
  const int n = static_cast<int>(FreeChildWindows().size());
  window->setGeometry(FreeWindowPlace(n, firstSize, screen->availableGeometry(), frame));
  window->show();
}

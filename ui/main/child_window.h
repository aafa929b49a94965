#pragma once

#include <QSize>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "common/settings_record.h"

// The six child windows in the fixed order every loop over them uses.
enum class ChildKind : int { Dev, Dev2, Gra, Gra2, Mem, Qvml };
inline constexpr int kChildWindowCount = 6;

struct ChildWindowInfo {
  ChildKind kind;
  const char* menuItem;  // object name of its "Вид" item
  const char* menuCaption;
  const char* shortcut;
  uint8_t maskBit;  // its bit in OpenWindowsMask
  QString qv::SettingsRecord::*positionKey;
  QSize firstSize;  // client size before the user gives it one
};

extern const ChildWindowInfo kChildWindows[kChildWindowCount];
const ChildWindowInfo& ChildInfo(ChildKind kind);

struct ChildWindowFlagsRecord {
  bool open = false;            // the window exists and is shown
  bool closeRequested = false;  // it closes itself at its next tick
};

extern ChildWindowFlagsRecord ChildWindowFlags[kChildWindowCount];
// Set once when the main window begins to close.
extern bool ProgramClosing;

// A child window: it takes its stored position when shown and ticks its menu
// item; its 500 ms timer first closes it when the program ends or the main
// window asked; closing stores its position, clears its flag and frees it.
class ChildWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ChildWindow(ChildKind kind, QWidget* parent = nullptr);
  // A window beside the six, of which any number may be open (a loaded run,
  // a report): placed by whoever opens it, with no stored position and no
  // menu mark; it closes with the program.
  explicit ChildWindow(QWidget* parent = nullptr);
  ~ChildWindow() override;
  // None for a window beside the six.
  std::optional<ChildKind> kind() const { return kind_; }
  ChildWindowFlagsRecord& flags() const;
  // Left, top, width and height of the client area, without blanks: what
  // showing the window applies again, so a window stays where it was.
  QString positionText() const;

 protected:
  QTimer* const Timer1;  // object name "Timer1"

  // Hooks for the windows themselves.
  virtual void shown() {}
  virtual void tick() {}     // a timer tick that did not close the window
  virtual void closing() {}  // before the position is stored

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  ChildWindow(QWidget* parent, std::optional<ChildKind> kind);
  void timerTick();
  void comeToFront();

  const std::optional<ChildKind> kind_;
  mutable ChildWindowFlagsRecord ownFlags_;  // a window beside the six
  bool positioned_ = false;
};

using ChildWindowFactory = std::function<ChildWindow*()>;
// Each window library registers how to create its window; the main window's
// menu and reopen machinery then work for it.
void RegisterChildWindow(ChildKind kind, ChildWindowFactory factory);
bool ChildWindowRegistered(ChildKind kind);
// The open instance, or null.
ChildWindow* ChildWindowInstance(ChildKind kind);

// The main window keeps the check marks of its "Вид" items in step.
void SetChildMenuCheck(std::function<void(ChildKind, bool)> check);
void CheckChildMenu(ChildKind kind, bool checked);

// A "Вид" item chosen: an open window stores its position and is asked to
// close at its next tick; a closed one is created and shown.
void ToggleChildWindow(ChildKind kind);
// The mask of the open windows.
uint8_t OpenChildWindowsMask();
// Closes every open window now, in order, each storing its position; then
// the windows beside the six.
void CloseChildWindows();

// The open child windows of either sort, the one shown or activated last
// first: the one in front of the others.
QList<ChildWindow*> ChildWindowsFrontFirst();
// The open windows beside the six, oldest first.
QList<ChildWindow*> FreeChildWindows();
// Shows a window beside the six at its first size, placed after those open.
void ShowFreeWindow(ChildWindow* window, QSize firstSize);

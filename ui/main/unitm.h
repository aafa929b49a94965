#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>

#include "common/port_io.h"

class PanelView;
namespace qv {
class Poller;
}
class RunEndNotice;
class ProgressPanel;
class QLabel;
class QMenu;
class QStatusBar;
class QTimer;
enum class ChildKind : int;

// The main window: the charger's front panel, the menu, the status bar and
// the child windows' management.
class TFormM : public QMainWindow {
  Q_OBJECT

  // First: Timer2 is its timer.
  qv::Poller* const poller_;

  // The window's parts, found by these names (object names) from outside:
  // Image1, StatusBar1, Timer1, Timer2, StatusPanel0..2, ProgressPanel,
  // NoteLabel (what the status bar says about the link or a run that ended).
  PanelView* const Image1;
  QStatusBar* const StatusBar1;
  QTimer* const Timer1;
  QTimer* const Timer2;
  QLabel* statusPanels[3];
  ProgressPanel* const progressPanel;
  QLabel* const noteLabel;

 public:
  TFormM();
  ~TFormM() override;

  // False when the panel picture could not be loaded: the program ends.
  bool started() const { return started_; }
  // A menu item by its name ("N40").
  QAction* item(const char* name) const;

  // The main window while one is open.
  static TFormM* openWindow();

  // Where "Демо режим (без ЗУ)" gets its charger from.
  using DemoChargerFactory = std::function<std::unique_ptr<qv::SerialPortIo>()>;
  void setDemoCharger(DemoChargerFactory factory);
  qv::Poller* poller() const { return poller_; }

  void N40Click();
  void N41Click();
  void N18Click();  // program settings
  void N32Click();  // cascade
  void N33Click();  // standard layout
  void N7Click();
  void GRA1Click();  // open recorded runs
  void N5Click();    // print the window in front
  void N22Click();   // reports of the channels' runs
  void N30Click();   // report of a recorded run
  void N10Click();   // the user guide
  void N36Click();   // the macro language reference
  void N12Click();
  void Timer1Timer();
  void Image1MouseDown(QPoint position, QSize size);
  void Image1MouseUp(QPoint position, QSize size);
  void refreshStatus();
  // A memory read's progress in the status bar, between two blocks.
  void showReadProgress();
  void noticeRunEnd(int channel, const QString& path);
  // Opens the port being polled again after a lost link, without asking:
  // the demo charger or the configured port.
  bool reopenCharger();

 protected:
  void closeEvent(QCloseEvent* event) override;  // FormClose

 private:
  void buildMenu();
  QAction* addItem(QMenu* menu, const char* name, const QString& caption, const char* shortcut);
  void toggle(ChildKind kind);
  void showPanel();
  bool drawWholePanel();
  void redrawDisplay();
  void applyWindowPosition();
  void placeFirstTime(ChildKind kind);
  QRect standardPlace(ChildKind kind) const;
  QMargins frameMargins() const;
  void startDemo();
  void stopCharger();
  void pollRealCharger();
  void autoConnect();
  void showNote(const QString& text);
  void redrawAfterPoll();

  RunEndNotice* const runEndNotice_;
  DemoChargerFactory demoCharger_;
  bool pollingDemo_ = false;  // what reopenCharger opens
  bool started_ = false;
  bool FirstTickDone = false;
};

#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "sim/battery.h"

namespace qv::sim {

enum class Button { Cancel, Down, Up, Ok };

// The charger's 4 x 20 display and what its four buttons do. The main menu
// shows three of its items at a time below a title, with the cursor on the
// chosen item; 0x87 and 0x86 in the last column mark more items above and
// below. OK runs the chosen item; Cancel leaves the menu for the
// measurement page and comes back from any page.
class Menu {
 public:
  Menu(ChargerModel& model, QByteArray versionText);

  void press(Button button);
  // 80 Windows-1251 cells, row by row.
  QByteArray cells() const;
  // Cell of the cursor, or kNoCursor.
  uint8_t cursor() const;

  enum class Page { Main, Measurements, About };
  Page page() const { return page_; }

 private:
  enum Item { kRun1, kRun2, kMode1, kMode2, kMeasurements, kAbout, kItemCount };
  static constexpr int kVisibleItems = 3;

  void activate(Item item);
  void toggleRun(int channel);
  void toggleMode(int channel);
  QString itemText(Item item) const;
  QByteArray mainPage() const;
  QByteArray measurementPage() const;
  QByteArray aboutPage() const;

  ChargerModel& model_;
  QByteArray versionText_;
  Page page_ = Page::Main;
  int selected_ = 0;
  int top_ = 0;
};

}  // namespace qv::sim

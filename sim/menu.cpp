#include "sim/menu.h"

#include <algorithm>

#include "common/cp1251.h"
#include "sim/protocol.h"

namespace qv::sim {

namespace {

// Items stand one blank in; the cursor sits on their first letter, so the
// blinking run the desktop program hides is the item's first word.
constexpr int kItemColumn = 1;
// The display is Windows-1251; the two arrows are codes that the desktop
// program remaps to "^" and "_".
constexpr char kDegree = '\xB0';
constexpr char kMoreAbove = '\x87';
constexpr char kMoreBelow = '\x86';

QByteArray row(const QByteArray& text) {
  return text.leftJustified(kScreenColumns, ' ', true);
}

QByteArray cp(const QString& text) {
  return ToCp1251(text);
}

QByteArray number(double value, int decimals, int width) {
  return QByteArray::number(value, 'f', decimals).rightJustified(width, ' ');
}

QByteArray temperature(double celsius) {
  return number(celsius, 1, 5) + kDegree + 'C';
}

char stateLetter(const Battery& b) {
  if (b.running())
    return b.mode() == ChannelMode::Charge ? '\xC7' : '\xD0';  // З, Р
  return b.finished() ? '\xCA' : '-';                          // К
}

}  // namespace

Menu::Menu(ChargerModel& model, QByteArray versionText)
    : model_(model), versionText_(std::move(versionText)) {}

void Menu::press(Button button) {
  if (page_ != Page::Main) {
    if (button == Button::Cancel || button == Button::Ok)
      page_ = Page::Main;
    return;
  }
  switch (button) {
    case Button::Down:
      selected_ = std::min(selected_ + 1, kItemCount - 1);
      break;
    case Button::Up:
      selected_ = std::max(selected_ - 1, 0);
      break;
    case Button::Ok:
      activate(static_cast<Item>(selected_));
      break;
    case Button::Cancel:
      page_ = Page::Measurements;
      break;
  }
  top_ = std::clamp(top_, selected_ - kVisibleItems + 1, selected_);
}

void Menu::activate(Item item) {
  switch (item) {
    case kRun1:
    case kRun2:
      toggleRun(item == kRun1 ? 0 : 1);
      break;
    case kMode1:
    case kMode2:
      toggleMode(item == kMode1 ? 0 : 1);
      break;
    case kMeasurements:
      page_ = Page::Measurements;
      break;
    case kAbout:
      page_ = Page::About;
      break;
    case kItemCount:
      break;
  }
}

void Menu::toggleRun(int channel) {
  Battery& b = model_.channel(channel);
  if (b.running()) {
    b.stop();
  } else {
    b.start(b.mode());
  }
}

// A running channel turns round at once.
void Menu::toggleMode(int channel) {
  Battery& b = model_.channel(channel);
  const ChannelMode other =
      b.mode() == ChannelMode::Charge ? ChannelMode::Discharge : ChannelMode::Charge;
  if (b.running()) {
    b.start(other);
  } else {
    b.setMode(other);
  }
}

QString Menu::itemText(Item item) const {
  const auto channelText = [](int channel) { return QString::number(channel + 1); };
  switch (item) {
    case kRun1:
    case kRun2: {
      const int channel = item == kRun1 ? 0 : 1;
      return (model_.channel(channel).running() ? QStringLiteral("Стоп канала ")
                                                : QStringLiteral("Пуск канала ")) +
             channelText(channel);
    }
    case kMode1:
    case kMode2: {
      const int channel = item == kMode1 ? 0 : 1;
      return QStringLiteral("Канал ") + channelText(channel) +
             (model_.channel(channel).mode() == ChannelMode::Charge ? QStringLiteral(": заряд")
                                                                    : QStringLiteral(": разряд"));
    }
    case kMeasurements:
      return QStringLiteral("Измерения");
    case kAbout:
      return QStringLiteral("О приборе");
    case kItemCount:
      break;
  }
  return {};
}

QByteArray Menu::cells() const {
  switch (page_) {
    case Page::Main:
      return mainPage();
    case Page::Measurements:
      return measurementPage();
    case Page::About:
      return aboutPage();
  }
  return {};
}

uint8_t Menu::cursor() const {
  if (page_ != Page::Main)
    return kNoCursor;
  return static_cast<uint8_t>((1 + selected_ - top_) * kScreenColumns + kItemColumn);
}

QByteArray Menu::mainPage() const {
  QByteArray screen = row(cp(QStringLiteral("    Главное меню")));
  for (int line = 0; line < kVisibleItems; ++line) {
    QByteArray text =
        row(QByteArray(kItemColumn, ' ') + cp(itemText(static_cast<Item>(top_ + line))));
    if (line == 0 && top_ > 0)
      text[kScreenColumns - 1] = kMoreAbove;
    if (line == kVisibleItems - 1 && top_ + kVisibleItems < kItemCount) {
      text[kScreenColumns - 1] = kMoreBelow;
    }
    screen += text;
  }
  return screen;
}

// Per channel: state letter, current, voltage; then temperature and counted capacity.
QByteArray Menu::measurementPage() const {
  QByteArray screen;
  for (int channel = 0; channel < 2; ++channel) {
    const Battery& b = model_.channel(channel);
    screen +=
        row(QByteArray::number(channel + 1) + stateLetter(b) + ' ' + number(b.current(), 2, 5) +
            cp(QStringLiteral("А ")) + number(b.voltage(), 2, 6) + cp(QStringLiteral("В")));
    screen += row("  " + temperature(b.temperature()) + ' ' + number(b.capacity(), 3, 7) +
                  cp(QStringLiteral("Ач")));
  }
  return screen;
}

QByteArray Menu::aboutPage() const {
  return row(cp(QStringLiteral("Зарядное устройство"))) +
         row(cp(QStringLiteral("Версия ")) + versionText_) +
         row(cp(QStringLiteral("Питание ")) + number(model_.supplyVoltage(), 2, 5) +
             cp(QStringLiteral("В"))) +
         row(cp(QStringLiteral("Радиатор ")) + temperature(model_.heatsinkTemperature()));
}

}  // namespace qv::sim

#include "sim/engine.h"

#include <algorithm>
#include <cmath>

#include "sim/memory_image.h"
#include "sim/protocol.h"

namespace qv::sim {

namespace {

constexpr int kMaxCurrent = 1000;  // hundredths of an ampere
constexpr int kMaxCells = 20;

void appendWord(QByteArray& frame, quint16 word) {
  frame.append(static_cast<char>(word & 0xFF));
  frame.append(static_cast<char>(word >> 8));
}

int channelOf(uint8_t selector) {
  return (selector & 0x80) ? 1 : 0;
}

// Status byte: per channel running, then the flags finished, discharging, hot;
// channel 1 in the high nibble.
uint8_t statusNibble(const Battery& b) {
  uint8_t bits = 0;
  if (b.running())
    bits |= 0x8;
  if (b.finished())
    bits |= 0x4;
  if (b.mode() == ChannelMode::Discharge)
    bits |= 0x2;
  if (b.hot())
    bits |= 0x1;
  return bits;
}

// Code byte: 0 idle, 1 charging, 2 discharging, 3 finished.
uint8_t codeByte(const Battery& b) {
  if (b.running())
    return b.mode() == ChannelMode::Charge ? 1 : 2;
  return b.finished() ? 3 : 0;
}

// Whether n bytes from addr lie in the image and fit the program's buffer.
bool rangeFits(int addr, int n) {
  return addr + n <= kMemorySize && n + kReadReplyOverhead <= kFrameSize;
}

}  // namespace

QByteArray VersionBytes(const QByteArray& text) {
  return text.leftJustified(8, ' ', true);
}

quint16 MeasurementWord(double value) {
  const double hundredths = std::round(value * 100.0);
  return static_cast<quint16>(std::clamp(hundredths, 0.0, 65535.0));
}

quint16 CapacityWord(double ah) {
  const double hundredths = std::round(ah * 100.0);
  if (hundredths >= 0)
    return static_cast<quint16>(std::min(hundredths, 10300.0));
  return static_cast<quint16>(65536.0 + std::max(hundredths, -55235.0));
}

Engine::Engine(const EngineSettings& settings)
    : settings_(settings),
      versionText_(VersionBytes(settings.versionText)),
      menu_(model_, versionText_),
      memory_(SyntheticMemoryImage()) {}

void Engine::setClock(double seconds) {
  if (settings_.stepSeconds > 0)
    return;
  if (clock_ && seconds > *clock_)
    model_.advance((seconds - *clock_) * settings_.timeScale);
  clock_ = seconds;
}

QByteArray Engine::rejected() {
  ++rejected_;
  return NotUnderstood();
}

QByteArray Engine::reply(const QByteArray& request) {
  ++handled_;
  const int length = RequestLength(request);
  if (length < 0) {
    ++unknown_;
    return NotUnderstood();
  }
  if (request.size() != length)
    return rejected();
  if (length > 1 && !HasValidCrc(request))
    return rejected();

  const uint8_t code = ByteAt(request, 0);
  switch (code) {
    case U_WhoAreYou:
      return versionReply();
    case U_GiveMeScr:
      return screenReply(code);
    case U_GiveMeADC:
      return measurementReply();
    case U_DOWN:
    case U_UP:
    case U_CANCEL:
    case U_OK:
      return buttonReply(code);
    case U_ReadMemory:
      return readReply(request);
    case U_WriteMemory:
      return writeReply(request);
    case U_Set:
      return setReply(request);
    case U_VAR:
      return varReply(request);
    case U_GO:
      return goReply(request);
    default:
      return rejected();
  }
}

QByteArray Engine::versionReply() const {
  return WithCrc(QByteArray(1, static_cast<char>(U_WhoAreYou)) + versionText_);
}

QByteArray Engine::screenReply(uint8_t code) const {
  QByteArray frame(1, static_cast<char>(code));
  frame += menu_.cells();
  frame.append(static_cast<char>(menu_.cursor()));
  return WithCrc(frame);
}

QByteArray Engine::buttonReply(uint8_t code) {
  switch (code) {
    case U_DOWN:
      menu_.press(Button::Down);
      break;
    case U_UP:
      menu_.press(Button::Up);
      break;
    case U_CANCEL:
      menu_.press(Button::Cancel);
      break;
    default:
      menu_.press(Button::Ok);
      break;
  }
  return screenReply(code);
}

QByteArray Engine::measurementReply() {
  if (settings_.stepSeconds > 0)
    model_.advance(settings_.stepSeconds);
  const Battery& one = model_.channel(0);
  const Battery& two = model_.channel(1);
  QByteArray frame(1, static_cast<char>(U_GiveMeADC));
  for (const Battery* b : {&one, &two}) {
    appendWord(frame, MeasurementWord(b->current()));
    appendWord(frame, MeasurementWord(b->voltage()));
    appendWord(frame, MeasurementWord(b->temperature()));
  }
  appendWord(frame, MeasurementWord(model_.supplyVoltage()));
  appendWord(frame, MeasurementWord(model_.heatsinkTemperature()));
  appendWord(frame, CapacityWord(one.capacity()));
  appendWord(frame, CapacityWord(two.capacity()));
  frame.append(static_cast<char>(codeByte(one)));
  frame.append(static_cast<char>(codeByte(two)));
  frame.append(static_cast<char>(statusNibble(one) << 4 | statusNibble(two)));
  return WithCrc(frame);
}

QByteArray Engine::readReply(const QByteArray& request) {
  const int addr = ByteAt(request, 1) | ByteAt(request, 2) << 8;
  const int n = ByteAt(request, 3);
  if (!rangeFits(addr, n))
    return rejected();
  // Bytes 1..3 repeat the request's address and length.
  return WithCrc(request.left(4) + memory_.mid(addr, n));
}

QByteArray Engine::writeReply(const QByteArray& request) {
  const int addr = ByteAt(request, 1) | ByteAt(request, 2) << 8;
  const int n = ByteAt(request, 3);
  if (!rangeFits(addr, n))
    return rejected();
  memory_.replace(addr, n, request.mid(4, n));
  return WithCrc(QByteArray(1, static_cast<char>(U_WriteMemory)));
}

QByteArray Engine::setReply(const QByteArray& request) {
  const uint8_t what = ByteAt(request, 2);
  const int value = ByteAt(request, 3) | ByteAt(request, 4) << 8;
  if (what > 1 || value > kMaxCurrent)
    return rejected();
  const ChannelMode mode = what == 0 ? ChannelMode::Charge : ChannelMode::Discharge;
  model_.channel(channelOf(ByteAt(request, 1))).setCurrentSetting(mode, value / 100.0);
  return WithCrc(QByteArray(1, static_cast<char>(U_Set)));
}

QByteArray Engine::goReply(const QByteArray& request) {
  const int cells = ByteAt(request, 1);
  const int action = ByteAt(request, 2) & 0x03;
  if (cells > kMaxCells || action == 3)
    return rejected();
  Battery& b = model_.channel(channelOf(ByteAt(request, 2)));
  if (cells > 0)
    b.setCells(cells);
  if (action == 0) {
    b.stop();
  } else {
    b.start(action == 1 ? ChannelMode::Charge : ChannelMode::Discharge);
  }
  return WithCrc(QByteArray(1, static_cast<char>(U_GO)));
}

// Variables: 0 requests handled, 1 battery seconds, 2 and 3 the charge current
// setting of channel 1 and 2 in hundredths; every other number reads 0.
quint32 Engine::variable(uint8_t number) const {
  switch (number) {
    case 0:
      return static_cast<quint32>(handled_);
    case 1:
      return static_cast<quint32>(model_.elapsed());
    case 2:
    case 3:
      return MeasurementWord(model_.channel(number - 2).currentSetting(ChannelMode::Charge));
    default:
      return 0;
  }
}

QByteArray Engine::varReply(const QByteArray& request) const {
  const uint8_t number = ByteAt(request, 1);
  const quint32 value = variable(number);
  QByteArray frame;
  frame.append(static_cast<char>(U_VAR));
  frame.append(static_cast<char>(number));
  for (int shift = 0; shift < 32; shift += 8)
    frame.append(static_cast<char>(value >> shift));
  return WithCrc(frame);
}

}  // namespace qv::sim

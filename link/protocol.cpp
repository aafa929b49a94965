#include "link/protocol.h"

#include <cstring>

#include "common/commands.h"
#include "common/crc8.h"
#include "common/text.h"
#include "link/com_log.h"
#include "link/device_link.h"

namespace qv {

namespace {

// Bytes of Reply cleared before each attempt.
constexpr int kClearedReplyBytes = 110;

const QString kSendFailed = QStringLiteral("Произошла ошибка при посылке команды!!!");

// A device that fails inside an attempt: no usable reply, said in the log.
void failAttempt() {
  DeviceLink.ReplyLength = 0;
  WriteComLog(kSendFailed);
}

// What the last read of the last attempt returned. A reply cut short is
// padded with the cleared zeros, and about one in 256 of those would pass
// the checksum; such a reply is never taken.
int lastReadCount = 0;

unsigned requestWord(int at) {
  return DeviceLink.Request[at] + DeviceLink.Request[at + 1] * 256u;
}

unsigned channelBit(int at) {
  return (DeviceLink.Request[at] >> 7) + 1u;
}

QString bytesText(const uint8_t* bytes, int count) {
  QString text;
  text.reserve(count * 3);
  for (int i = 0; i < count; ++i) {
    text += QLatin1Char(' ');
    text += HexByte(bytes[i]);
  }
  return text;
}

bool replyChecksumHolds() {
  const int length = DeviceLink.ReplyLength;
  return Crc8(DeviceLink.Reply, length - 1) == DeviceLink.Reply[length - 1];
}

bool replyAccepted() {
  return DeviceLink.ReplyLength >= 2 && lastReadCount >= DeviceLink.ReplyLength &&
         replyChecksumHolds();
}

}  // namespace

int ExpectedReplyLength(uint8_t code) {
  const int fixed = FixedReplyLength(code);
  return fixed >= 0 ? fixed : DeviceLink.Request[3] + kReadReplyOverhead;
}

QString TraceLine() {
  const uint8_t* r = DeviceLink.Request;
  switch (r[0]) {
    case U_Set:
      return QStringLiteral("U_Set: Установка тока Test#%1 ШИМ:%2")
          .arg(channelBit(1))
          .arg(HexWord(requestWord(3)));
    case U_VAR:
      return QStringLiteral("U_VAR: Запрос переменной Номер:%1").arg(r[1]);
    case U_GO:
      return QStringLiteral("U_GO: Команда запуска/остановки Акк:%1 Канал #%2")
          .arg(r[1])
          .arg(channelBit(2));
    case U_WriteMemory:
      return QStringLiteral("U_WriteMemory: Запись памяти Адрес:%1 Длина:%2")
          .arg(HexWord(requestWord(1)))
          .arg(r[3]);
    case U_ReadMemory:
      return QStringLiteral("U_ReadMemory: Запрос на чтение памяти Адрес:%1 Длина:%2")
          .arg(HexWord(requestWord(1)))
          .arg(r[3]);
    case U_WhoAreYou:
      return QStringLiteral("U_WhoAreYou: Запрос версии");
    case U_GiveMeScr:
      return QStringLiteral("U_GiveMeScr: Запрос на состояние экрана");
    case U_GiveMeADC:
      return QStringLiteral("U_GiveMeADC: Запрос на состояние ADC");
    case U_DOWN:
      return QStringLiteral("U_DOWN: Кнопка Движение вниз по списку нажата");
    case U_UP:
      return QStringLiteral("U_UP: Кнопка Движение вверх по списку нажата");
    case U_CANCEL:
      return QStringLiteral("U_CANCEL: Кнопка Отмена нажата");
    case U_OK:
      return QStringLiteral("U_OK: Кнопка ОК нажата");
    case U_NotAnderstand:
      return QStringLiteral("U_NotAnderstand: ЗУ не понял (ошибка передачи команды в ЗУ)");
    default:
      return {};
  }
}

void Transact() {
  DeviceLinkRecord& link = DeviceLink;
  SerialPortIo& port = *link.Port;
  lastReadCount = 0;
  if (!port.purge()) {
    failAttempt();
    return;
  }
  WriteComLog(QStringLiteral("Send (") + HexByte(link.RequestLength) + QLatin1Char(')') +
              bytesText(link.Request, link.RequestLength));
  std::memset(link.Reply, 0, kClearedReplyBytes);
  // A write that failed would otherwise read as a silent charger.
  if (!port.write(link.Request, link.RequestLength)) {
    failAttempt();
    return;
  }

  // A request whose reply would not fit the frame is never read past it.
  const int expected = ExpectedReplyLength(link.Request[0]);
  const int toRead = std::min(expected, kFrameSize);
  int lastCount = 0;
  for (int i = 0; i < kReadsPerAttempt; ++i) {
    lastCount = port.read(link.Reply, toRead);
    if (lastCount < 0) {
      failAttempt();
      return;
    }
    if (link.Reply[0] != 0)
      break;
  }
  lastReadCount = lastCount;
  if (link.Reply[0] == 0) {
    WriteComLog(QStringLiteral("Timeout!"));
    link.ReplyLength = 0;
    return;
  }
  const int length = ExpectedReplyLength(link.Reply[0]);
  link.ReplyLength = static_cast<uint8_t>(length <= kFrameSize ? length : 0);
  WriteComLog(QStringLiteral("Receive (") + HexByte(link.ReplyLength) + QStringLiteral(") ") +
              bytesText(link.Reply, link.ReplyLength));
  if (link.ReplyLength != lastCount) {
    WriteComLog(QStringLiteral("Ожидали %1 Получили %2").arg(expected).arg(lastCount));
  }
}

bool SendCommand() {
  DeviceLinkRecord& link = DeviceLink;
  if (!link.PortOpen || !link.Port)
    return false;
  const QString trace = TraceLine();
  if (!trace.isEmpty())
    WriteComLog(trace);
  for (int attempt = 1;; ++attempt) {
    if (attempt > 1)
      ++link.Retries;
    if (attempt > kMaxAttempts) {
      WriteComLog(QStringLiteral("Команду не удалось выполнить даже за 3 попытки!!!"));
      return false;
    }
    Transact();
    if (link.ReplyLength == 0)
      return false;
    link.BytesReceived += link.ReplyLength;
    link.BytesSent += link.RequestLength;
    if (replyAccepted())
      return true;
  }
}

}  // namespace qv

#include <gtest/gtest.h>

#include "common/commands.h"
#include "common/crc8.h"
#include "link/device_link.h"
#include "link/port.h"
#include "link/protocol.h"
#include "tests/support/link_fixture.h"

using namespace qv;

namespace {

class Protocol : public LinkTest {
 protected:
  void SetUp() override {
    openPort();
    logStart = logLines().size();
  }

  void request(std::initializer_list<uint8_t> bytes) {
    int i = 0;
    for (uint8_t b : bytes)
      DeviceLink.Request[i++] = b;
    DeviceLink.RequestLength = static_cast<uint8_t>(i);
  }

  // Log lines written since the port was opened.
  QStringList exchangeLog() const { return logLines().mid(logStart); }

  qsizetype logStart = 0;
};

const QByteArray kVersion = QByteArray("QV V2.3Z");

TEST_F(Protocol, ExpectedReplyLengths) {
  struct Case {
    uint8_t code;
    int length;
  } cases[] = {{U_Set, 2},
               {U_VAR, 7},
               {U_GO, 2},
               {U_WriteMemory, 2},
               {U_WhoAreYou, 10},
               {U_GiveMeScr, 83},
               {U_GiveMeADC, 25},
               {U_DOWN, 83},
               {U_UP, 83},
               {U_CANCEL, 83},
               {U_OK, 83},
               {U_NotAnderstand, 1},
               {0, 0},
               {17, 0},
               {255, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(ExpectedReplyLength(c.code), c.length) << int(c.code);
  request({U_ReadMemory, 0, 0, 64});
  EXPECT_EQ(ExpectedReplyLength(U_ReadMemory), 69);
}

TEST_F(Protocol, TraceLines) {
  struct Case {
    std::initializer_list<uint8_t> bytes;
    const char* line;
  } cases[] = {
      {{31, 0x80, 0, 0x34, 0x12}, "U_Set: Установка тока Test#2 ШИМ:1234"},
      {{31, 0x00, 0, 0xFF, 0x00}, "U_Set: Установка тока Test#1 ШИМ:00FF"},
      {{45, 7}, "U_VAR: Запрос переменной Номер:7"},
      {{60, 3, 0x80}, "U_GO: Команда запуска/остановки Акк:3 Канал #2"},
      {{75, 0x00, 0x44, 16}, "U_WriteMemory: Запись памяти Адрес:4400 Длина:16"},
      {{90, 0xC0, 0x43, 64}, "U_ReadMemory: Запрос на чтение памяти Адрес:43C0 Длина:64"},
      {{135}, "U_WhoAreYou: Запрос версии"},
      {{150}, "U_GiveMeScr: Запрос на состояние экрана"},
      {{165}, "U_GiveMeADC: Запрос на состояние ADC"},
      {{180}, "U_DOWN: Кнопка Движение вниз по списку нажата"},
      {{195}, "U_UP: Кнопка Движение вверх по списку нажата"},
      {{210}, "U_CANCEL: Кнопка Отмена нажата"},
      {{225}, "U_OK: Кнопка ОК нажата"},
      {{240}, "U_NotAnderstand: ЗУ не понял (ошибка передачи команды в ЗУ)"},
      {{17}, ""},
  };
  for (const Case& c : cases) {
    request(c.bytes);
    EXPECT_EQ(TraceLine(), QString::fromUtf8(c.line));
  }
}

TEST_F(Protocol, VersionExchangeSucceedsAndCounts) {
  port.responder = [](const QByteArray&) { return ReplyChunks{Frame(U_WhoAreYou, kVersion)}; };
  request({U_WhoAreYou});
  ASSERT_TRUE(SendCommand());
  EXPECT_EQ(DeviceLink.ReplyLength, 10);
  EXPECT_EQ(DeviceLink.BytesSent, 1);
  EXPECT_EQ(DeviceLink.BytesReceived, 10);
  EXPECT_EQ(DeviceLink.Retries, 0);
  EXPECT_EQ(port.writes.last(), QByteArray("\x87"));
  const QString receive =
      QStringLiteral("Receive (0A)  87 51 56 20 56 32 2E 33 5A ") +
      QString::number(static_cast<uint8_t>(Frame(U_WhoAreYou, kVersion).back()), 16)
          .toUpper()
          .rightJustified(2, u'0');
  EXPECT_EQ(exchangeLog(), (QStringList{"U_WhoAreYou: Запрос версии", "Send (01) 87", receive}));
}

TEST_F(Protocol, ReplyOnTheThirdReadIsOneAttempt) {
  port.responder = [](const QByteArray&) {
    return ReplyChunks{{}, {}, Frame(U_WhoAreYou, kVersion)};
  };
  request({U_WhoAreYou});
  EXPECT_TRUE(SendCommand());
  EXPECT_EQ(port.reads, 3);
  EXPECT_EQ(DeviceLink.Retries, 0);
}

TEST_F(Protocol, FiveRepliesOf240FailAfterFiveAttempts) {
  port.responder = [](const QByteArray&) { return ReplyChunks{QByteArray("\xF0")}; };
  request({U_OK});
  EXPECT_FALSE(SendCommand());
  EXPECT_EQ(DeviceLink.Retries, 5);
  EXPECT_EQ(DeviceLink.BytesSent, 5);
  EXPECT_EQ(DeviceLink.BytesReceived, 5);
  QStringList expected{"U_OK: Кнопка ОК нажата"};
  for (int i = 0; i < 5; ++i)
    expected << "Send (01) E1"
             << "Receive (01)  F0";
  expected << "Команду не удалось выполнить даже за 3 попытки!!!";
  EXPECT_EQ(exchangeLog(), expected);
}

TEST_F(Protocol, SilenceCostsOneAttemptOfTenReads) {
  request({U_WhoAreYou});
  EXPECT_FALSE(SendCommand());
  EXPECT_EQ(port.reads, 10);
  EXPECT_EQ(DeviceLink.Retries, 0);
  EXPECT_EQ(DeviceLink.BytesSent, 0);
  EXPECT_EQ(exchangeLog(), (QStringList{"U_WhoAreYou: Запрос версии", "Send (01) 87", "Timeout!"}));
}

TEST_F(Protocol, ReplyOfAnotherLengthIsCheckedAtItsOwnLength) {
  // A display reply to a version request: only 10 bytes are read, the frame
  // is taken as 83 bytes, so its checksum cannot hold.
  QByteArray screen(81, 'A');
  screen.append('\x50');
  port.responder = [&](const QByteArray&) { return ReplyChunks{Frame(U_GiveMeScr, screen)}; };
  request({U_WhoAreYou});
  EXPECT_FALSE(SendCommand());
  const QStringList log = exchangeLog();
  ASSERT_GE(log.size(), 4);
  EXPECT_TRUE(log[2].startsWith("Receive (53)  96 41 41 41 41 41 41 41 41 41 00 00"))
      << log[2].toStdString();
  EXPECT_EQ(log[3], "Ожидали 10 Получили 10");
  EXPECT_EQ(DeviceLink.Retries, 5);
  EXPECT_EQ(DeviceLink.BytesReceived, 5 * 83);
}

TEST_F(Protocol, CorruptedReplyIsRetriedThenAccepted) {
  int calls = 0;
  port.responder = [&](const QByteArray&) {
    return ReplyChunks{++calls == 1 ? BadFrame(U_WhoAreYou, kVersion)
                                    : Frame(U_WhoAreYou, kVersion)};
  };
  request({U_WhoAreYou});
  EXPECT_TRUE(SendCommand());
  EXPECT_EQ(DeviceLink.Retries, 1);
  EXPECT_EQ(DeviceLink.BytesReceived, 20);
  EXPECT_EQ(port.purges, 2);
}

TEST_F(Protocol, CutReplyIsRetriedEvenWhenItsZeroPaddingPassesTheChecksum) {
  // A version reply cut after four bytes whose fourth byte makes the CRC of
  // the zero-padded frame come out 0, the value of the missing last byte.
  QByteArray cut("\x87QV?");
  for (int b = 0; b < 256; ++b) {
    cut[3] = static_cast<char>(b);
    const QByteArray padded = cut + QByteArray(5, '\0');
    if (Crc8(reinterpret_cast<const uint8_t*>(padded.constData()), padded.size()) == 0)
      break;
  }
  const QByteArray whole = Frame(U_WhoAreYou, cut.mid(1) + "V2.3Z");
  int calls = 0;
  port.responder = [&](const QByteArray&) { return ReplyChunks{++calls == 1 ? cut : whole}; };
  request({U_WhoAreYou});
  ASSERT_TRUE(SendCommand());
  EXPECT_EQ(DeviceLink.Retries, 1);
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(DeviceLink.Reply), 10), whole);
  EXPECT_TRUE(exchangeLog().contains("Ожидали 10 Получили 4"));
}

TEST_F(Protocol, UnknownReplyCodeFailsAtOnce) {
  port.responder = [](const QByteArray&) { return ReplyChunks{QByteArray("\x33\x01\x02")}; };
  request({U_WhoAreYou});
  EXPECT_FALSE(SendCommand());
  EXPECT_EQ(exchangeLog().mid(2), (QStringList{"Receive (00) ", "Ожидали 10 Получили 3"}));
  EXPECT_EQ(DeviceLink.Retries, 0);
}

TEST_F(Protocol, DeviceErrorIsReportedInTheLog) {
  port.fail.readError = true;
  request({U_GiveMeScr});
  EXPECT_FALSE(SendCommand());
  EXPECT_EQ(exchangeLog().last(), "Произошла ошибка при посылке команды!!!");
}

// A port that cannot purge or write fails the attempt at once and says so,
// instead of reading ten times as from a silent charger.
TEST_F(Protocol, FailedPurgeOrWriteIsTheDevicesFailure) {
  const QString failed = QStringLiteral("Произошла ошибка при посылке команды!!!");
  const QString trace = QStringLiteral("U_GiveMeScr: Запрос на состояние экрана");
  const struct Case {
    bool purge, write;
    QStringList log;
  } cases[] = {
      {true, false, {trace, failed}},
      {false, true, {trace, "Send (01) 96", failed}},
  };
  for (const Case& c : cases) {
    port.fail.purge = c.purge;
    port.fail.write = c.write;
    port.reads = 0;
    logStart = logLines().size();
    request({U_GiveMeScr});
    EXPECT_FALSE(SendCommand());
    EXPECT_EQ(exchangeLog(), c.log);
    EXPECT_EQ(port.reads, 0);
    EXPECT_EQ(DeviceLink.Retries, 0);
  }
}

TEST_F(Protocol, ReadReplyTooLongForTheFrameIsUnusable) {
  // n = 255 would need 260 bytes: never read past the 200-byte reply.
  port.responder = [](const QByteArray&) { return ReplyChunks{QByteArray(300, '\x5A')}; };
  request({U_ReadMemory, 0, 0, 255, 0});
  EXPECT_FALSE(SendCommand());
  EXPECT_EQ(DeviceLink.ReplyLength, 0);
  EXPECT_EQ(exchangeLog().mid(2), (QStringList{"Receive (00) ", "Ожидали 260 Получили 200"}));
}

TEST_F(Protocol, MemoryReplyCarriesDataAfterFourBytes) {
  QByteArray payload(3, '\0');
  for (int i = 0; i < 64; ++i)
    payload.append(static_cast<char>(i));
  port.responder = [&](const QByteArray&) { return ReplyChunks{Frame(U_ReadMemory, payload)}; };
  request({U_ReadMemory, 0, 0, 64, 0x6E});
  ASSERT_TRUE(SendCommand());
  EXPECT_EQ(DeviceLink.ReplyLength, 69);
  EXPECT_EQ(DeviceLink.Reply[4], 0);
  EXPECT_EQ(DeviceLink.Reply[67], 63);
  EXPECT_EQ(exchangeLog()[1], "Send (05) 5A 00 00 40 6E");
}

TEST_F(Protocol, ClosedPortSendsNothingAndLogsNothing) {
  ClosePort();
  const qsizetype before = logLines().size();
  request({U_WhoAreYou});
  EXPECT_FALSE(SendCommand());
  EXPECT_EQ(logLines().size(), before);
}

}  // namespace

#include <gtest/gtest.h>
#include <QFile>
#include <QSet>
#include <cstring>

#include "common/commands.h"
#include "common/crc8.h"
#include "link/device_link.h"
#include "link/port.h"
#include "memory/memory_image.h"
#include "tests/support/link_fixture.h"
#include "tests/support/test_host.h"

using namespace qv;

namespace {

// The charger's memory as the fake answers it: byte a holds a mod 251.
uint8_t chargerByte(int address) {
  return static_cast<uint8_t>(address % 251);
}

QByteArray chargerBytes(int address, int count) {
  QByteArray bytes;
  for (int i = 0; i < count; ++i)
    bytes.append(static_cast<char>(chargerByte(address + i)));
  return bytes;
}

QByteArray imageBlock(int address) {
  return QByteArray(reinterpret_cast<const char*>(MemoryImage.Bytes) + address, kMemoryBlock);
}

int requestAddress(const QByteArray& request) {
  return static_cast<uint8_t>(request[1]) + static_cast<uint8_t>(request[2]) * 256;
}

QByteArray readPayload(const QByteArray& request) {
  return QByteArray(3, '\0') + chargerBytes(requestAddress(request), uint8_t(request[3]));
}

QByteArray readReply(const QByteArray& request) {
  return Frame(U_ReadMemory, readPayload(request));
}

class Memory : public LinkTest {
 protected:
  void SetUp() override {
    ClearMemoryImage();
    TestHost().onMemoryReadBlock = [this] { progress << MemoryImage.ReadProgress; };
    port.responder = [](const QByteArray& request) { return ReplyChunks{readReply(request)}; };
    openPort();
  }
  void TearDown() override { TestHost().onMemoryReadBlock = {}; }

  QList<double> progress;
};

TEST_F(Memory, EepromIsSixteenBlockRequestsWithProgress) {
  const MemoryArea& eeprom = kMemoryAreas[1];
  ASSERT_TRUE(ReadMemory(eeprom.first, eeprom.end - eeprom.first, kMemoryBlock));
  ASSERT_EQ(port.writes.size(), 16);
  for (int i = 0; i < 16; ++i) {
    const int address = 0x4000 + 0x40 * i;
    QByteArray expected;
    expected.append(char(0x5A))
        .append(char(address & 0xFF))
        .append(char(address >> 8))
        .append(char(64));
    expected.append(
        static_cast<char>(Crc8(reinterpret_cast<const uint8_t*>(expected.constData()), 4)));
    EXPECT_EQ(port.writes[i], expected) << i;
  }
  QList<double> expectedProgress;
  for (int i = 0; i < 16; ++i)
    expectedProgress << i / 16.0;
  expectedProgress << 0.0;
  EXPECT_EQ(progress, expectedProgress);
  for (int a = 0x4000; a < 0x4400; ++a)
    ASSERT_EQ(MemoryImage.Bytes[a], chargerByte(a)) << a;
  EXPECT_EQ(MemoryImage.Bytes[0x3FFF], 0);
  EXPECT_EQ(MemoryImage.Bytes[0x4400], 0);
  EXPECT_EQ(MemoryImage.FailedBlocks, 0);
}

TEST_F(Memory, FailedBlocksKeepTheirPreviousBytes) {
  std::fill(std::begin(MemoryImage.Bytes), std::end(MemoryImage.Bytes), uint8_t{0xEE});
  int exchanges = 0;
  port.responder = [&](const QByteArray& request) {
    ++exchanges;
    // The second block is answered 240 five times, the third not at all.
    if (exchanges >= 2 && exchanges <= 6)
      return ReplyChunks{QByteArray("\xF0")};
    if (exchanges == 7)
      return ReplyChunks{};
    return ReplyChunks{readReply(request)};
  };
  ASSERT_TRUE(ReadMemory(0x4400, 256, kMemoryBlock));
  EXPECT_EQ(MemoryImage.FailedBlocks, 2);
  EXPECT_EQ(MemoryImage.Bytes[0x4400], chargerByte(0x4400));
  for (int a = 0x4440; a < 0x44C0; ++a)
    ASSERT_EQ(MemoryImage.Bytes[a], 0xEE) << a;
  EXPECT_EQ(MemoryImage.Bytes[0x44C0], chargerByte(0x44C0));
}

// How the charger answers each block, in order: '+' with the block, '.' not
// at all, 'x' with a broken checksum on every attempt.
struct BlockOutcomes {
  const char* name;
  const char* answers;
  int asked;   // blocks requested before the read ends
  int failed;  // FailedBlocks: failed and never asked for
};

TEST_F(Memory, ThreeFailedBlocksInARowEndTheRead) {
  const BlockOutcomes cases[] = {
      {"single failures between good blocks are stepped over", "+.+x+.++", 8, 3},
      {"two in a row, then the charger answers again", "+..++x.+", 8, 4},
      {"a silent charger costs three blocks", "........", 3, 8},
      {"silence after good blocks", "++...+++", 5, 6},
      {"silent and broken replies count alike", "+x.x++++", 4, 7},
      {"the third failure in a row at the last block", "+++++...", 8, 3},
  };
  constexpr int kFirst = 0x4400;
  const QByteArray untouchedBlock(kMemoryBlock, '\xEE');
  for (const BlockOutcomes& c : cases) {
    SCOPED_TRACE(c.name);
    const int blocks = static_cast<int>(std::strlen(c.answers));
    std::fill(std::begin(MemoryImage.Bytes), std::end(MemoryImage.Bytes), uint8_t{0xEE});
    QSet<int> asked;
    port.responder = [&](const QByteArray& request) {
      const int address = requestAddress(request);
      asked.insert(address);
      switch (c.answers[(address - kFirst) / kMemoryBlock]) {
        case '+':
          return ReplyChunks{readReply(request)};
        case 'x':
          return ReplyChunks{BadFrame(U_ReadMemory, readPayload(request))};
        default:
          return ReplyChunks{};
      }
    };
    ASSERT_TRUE(ReadMemory(kFirst, uint16_t(blocks * kMemoryBlock), kMemoryBlock));
    EXPECT_EQ(asked.size(), c.asked);
    EXPECT_EQ(MemoryImage.FailedBlocks, c.failed);
    EXPECT_EQ(MemoryImage.ReadProgress, 0);
    for (int i = 0; i < blocks; ++i) {
      const int address = kFirst + i * kMemoryBlock;
      const bool read = i < c.asked && c.answers[i] == '+';
      EXPECT_EQ(imageBlock(address), read ? chargerBytes(address, kMemoryBlock) : untouchedBlock)
          << i;
    }
  }
}

TEST_F(Memory, PortClosedBetweenBlocksEndsTheRead) {
  TestHost().onMemoryReadBlock = [&] {
    if (port.writes.size() == 2)
      ClosePort();
  };
  ASSERT_TRUE(ReadMemory(0x4000, 0x400, kMemoryBlock));
  EXPECT_EQ(port.writes.size(), 2);
  EXPECT_EQ(MemoryImage.FailedBlocks, 14);
  EXPECT_EQ(MemoryImage.ReadProgress, 0);
}

TEST_F(Memory, ReadHoldsOffTheBackgroundExchangesUntilItEnds) {
  QList<bool> held;
  TestHost().onMemoryReadBlock = [&held] { held << BackgroundHeld(); };
  ASSERT_TRUE(ReadMemory(0x4000, 0x80, kMemoryBlock));
  EXPECT_EQ(held, (QList<bool>{true, true, true}));
  EXPECT_FALSE(BackgroundHeld());
}

TEST_F(Memory, RefusedReads) {
  EXPECT_FALSE(ReadMemory(0x4FC0, 0x80, kMemoryBlock));  // past the image
  EXPECT_FALSE(ReadMemory(0, 64, 0));
  EXPECT_FALSE(ReadMemory(0, 200, 196));  // the reply would not fit the frame
  EXPECT_TRUE(port.writes.isEmpty());
  EXPECT_TRUE(ReadMemory(0x4FC0, 0x40, kMemoryBlock));  // the image's last block
  ClosePort();
  TestHost().choosePort = [] { DeviceLink.ChosenPort = 0; };
  EXPECT_FALSE(ReadMemory(0, 64, kMemoryBlock));
}

TEST_F(Memory, DumpLines) {
  for (int i = 0; i < 16; ++i)
    MemoryImage.Bytes[0x10 + i] = static_cast<uint8_t>('A' + i);
  EXPECT_EQ(DumpLine(0x10),
            "0010 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 ABCDEFGHIJKLMNOP");
  const uint8_t odd[16] = {0x09, 0x20, 0x41, 0x00, 0xC0, 0xFF, 0x0A, 0x99,
                           0x7E, 0x0D, 0x1F, 0,    0,    0,    0,    0x31};
  std::copy(std::begin(odd), std::end(odd), MemoryImage.Bytes + 0x4BF0);
  const QString line = DumpLine(0x4BF0);
  EXPECT_EQ(line.size(), 69);
  EXPECT_EQ(line, QString::fromUtf8(
                      "4BF0 09 20 41 00 C0 FF 0A 99 7E 0D 1F 00 00 00 00 31 . A.Ая.™~......1"));
}

TEST_F(Memory, SaveAsksBeforeReplacing) {
  const QString path = DumpFilePath();
  EXPECT_EQ(path, folder.path() + "MEM/fes.bin");
  MemoryImage.Bytes[0] = 0x11;
  MemoryImage.Bytes[kDumpLength - 1] = 0x22;
  MemoryImage.Bytes[kDumpLength] = 0x33;
  EXPECT_TRUE(SaveDump(path, 0, kDumpLength));
  EXPECT_TRUE(questions.isEmpty());
  QByteArray saved = ReadAll(path);
  ASSERT_EQ(saved.size(), 19456);
  EXPECT_EQ(saved[0], '\x11');
  EXPECT_EQ(saved.back(), '\x22');

  MemoryImage.Bytes[0] = 0x44;
  answer = false;
  EXPECT_FALSE(SaveDump(path, 0, kDumpLength));
  EXPECT_EQ(questions, QStringList{"Перезаписать имеющийся " + path + " ?"});
  EXPECT_EQ(ReadAll(path), saved);
  answer = true;
  EXPECT_TRUE(SaveDump(path, 0, kDumpLength));
  EXPECT_EQ(ReadAll(path)[0], '\x44');
}

TEST_F(Memory, SaveThatCannotCreateTheFileSaysSo) {
  const QString path = folder.file("no-such-folder/fes.bin");
  EXPECT_FALSE(SaveDump(path, 0, kDumpLength));
  EXPECT_EQ(messages, QStringList{"Ошибка создания файла " + path});
}

TEST_F(Memory, LoadFillsOnlyTheFilesLength) {
  std::fill(std::begin(MemoryImage.Bytes), std::end(MemoryImage.Bytes), uint8_t{0xEE});
  WriteAll(DumpFilePath(), QByteArray(100, '\x01'));
  EXPECT_TRUE(LoadDump(DumpFilePath(), 0, kDumpLength));
  EXPECT_EQ(MemoryImage.Bytes[99], 0x01);
  EXPECT_EQ(MemoryImage.Bytes[100], 0xEE);
}

TEST_F(Memory, LoadOfAMissingFileLeavesTheImage) {
  MemoryImage.Bytes[5] = 9;
  const QString path = folder.file("MEM/none.bin");
  EXPECT_FALSE(LoadDump(path, 0, kDumpLength));
  EXPECT_EQ(messages, QStringList{"Ошибка открытия файла " + path});
  EXPECT_EQ(MemoryImage.Bytes[5], 9);
}

TEST_F(Memory, LoadNeverWritesPastTheImage) {
  WriteAll(DumpFilePath(), QByteArray(30000, '\x07'));
  EXPECT_TRUE(LoadDump(DumpFilePath(), 0x4000, 30000));
  EXPECT_EQ(MemoryImage.Bytes[kMemoryImageSize - 1], 7);
  EXPECT_EQ(MemoryImage.Bytes[0x3FFF], 0);
}

}  // namespace

#include <gtest/gtest.h>
#include <QSet>

#include "common/cp1251.h"
#include "sim/engine.h"
#include "sim/memory_image.h"
#include "tests/sim/sim_test_util.h"

using namespace qv;

namespace {

using sim::Engine;
using sim::EngineSettings;

EngineSettings stepping(double seconds) {
  EngineSettings settings;
  settings.stepSeconds = seconds;
  return settings;
}

QString row(const QByteArray& screenReply, int r) {
  return FromCp1251(screenReply.mid(1 + r * 20, 20));
}

TEST(SimEngine, EveryReplyHasItsCodeLengthAndChecksum) {
  struct Case {
    QByteArray request;
    int code;
    int length;
  } cases[] = {
      {Bytes({135}), 135, 10},
      {Bytes({150}), 150, 83},
      {Bytes({165}), 165, 25},
      {Bytes({180}), 180, 83},
      {Bytes({195}), 195, 83},
      {Bytes({210}), 210, 83},
      {Bytes({225}), 225, 83},
      {Bytes({0x5A, 0x00, 0x00, 0x40, 0x6E}), 90, 69},
      {ReadRequest(0x4000, 195), 90, 200},
      {ReadRequest(0x4BFF, 1), 90, 6},
      {Framed(Bytes({31, 0x80, 0, 0x2C, 0x01})), 31, 2},
      {Framed(Bytes({45, 7})), 45, 7},
      {Framed(Bytes({60, 0, 0x01})), 60, 2},
      {Framed(Bytes({75, 0x10, 0x40, 2, 0xAB, 0xCD})), 75, 2},
  };
  for (const Case& c : cases) {
    Engine engine;
    const QByteArray reply = engine.reply(c.request);
    const QByteArray hex = c.request.toHex(' ');
    ASSERT_EQ(reply.size(), c.length) << hex.constData();
    EXPECT_EQ(ByteOf(reply, 0), c.code) << hex.constData();
    EXPECT_TRUE(ChecksumHolds(reply)) << hex.constData();
  }
}

TEST(SimEngine, UnknownCodesAndBrokenRequestsGetA240) {
  const QByteArray cases[] = {
      Bytes({0x00}),
      Bytes({0x01}),
      Bytes({0x5B}),
      Bytes({240}),
      Bytes({0xFF}),
      Bytes({0x5A, 0x00, 0x00, 0x40, 0x6F}),  // checksum off by one
      Bytes({0x5A, 0x00, 0x00}),              // incomplete
      ReadRequest(0x4BC1, 64),                // last byte beyond the image
      ReadRequest(0x4C00, 1),
      ReadRequest(0xFFFF, 1),
      ReadRequest(0x0000, 196),  // reply would not fit 200 bytes
      Framed(Bytes({75, 0xFF, 0x4B, 2, 1, 2})),
      Framed(Bytes({31, 0, 2, 0, 0})),        // neither charge nor discharge
      Framed(Bytes({31, 0, 0, 0xE9, 0x03})),  // 10.01 A
      Framed(Bytes({60, 21, 0x01})),          // 21 cells
      Framed(Bytes({60, 0, 0x03})),           // no such action
      Bytes({45, 7, 0}),                      // wrong checksum
  };
  for (const QByteArray& request : cases) {
    Engine engine;
    EXPECT_EQ(engine.reply(request), Bytes({240})) << request.toHex(' ').constData();
  }
}

TEST(SimEngine, ReadsReturnTheImageByteForByte) {
  Engine engine;
  const QByteArray image = sim::SyntheticMemoryImage();
  ASSERT_EQ(image.size(), 0x4C00);
  QByteArray read;
  for (int addr = 0; addr < 0x4C00; addr += 64)
    read += engine.reply(ReadRequest(addr, 64)).mid(4, 64);
  EXPECT_EQ(read, image);

  struct Case {
    int addr;
    int n;
  } odd[] = {{0x4B3D, 195}, {0x4BFF, 1}, {0x1234, 0}, {0x3FF0, 32}};
  for (const Case& c : odd) {
    const QByteArray reply = engine.reply(ReadRequest(c.addr, c.n));
    EXPECT_EQ(reply.mid(4, c.n), image.mid(c.addr, c.n)) << c.addr;
  }
}

TEST(SimEngine, ImageHasEveryKindOfContent) {
  const QByteArray image = sim::SyntheticMemoryImage();
  EXPECT_EQ(image, sim::SyntheticMemoryImage());
  QSet<int> values;
  for (char c : image)
    values.insert(static_cast<uint8_t>(c));
  EXPECT_EQ(values.size(), 256);
  EXPECT_TRUE(image.contains("QV V2.3Z"));
  EXPECT_TRUE(image.contains(ToCp1251(QStringLiteral("Главное меню"))));
  // Each area looks different from the others.
  EXPECT_NE(image.mid(0x0000, 0x400), image.mid(0x4000, 0x400));
  EXPECT_NE(image.mid(0x4000, 0x400), image.mid(0x4400, 0x400));
}

TEST(SimEngine, WrittenMemoryIsReadBack) {
  Engine engine;
  const QByteArray data = Bytes({0x00, 0x1F, 0x41, 0xC0, 0xFF});
  EXPECT_EQ(engine.reply(Framed(Bytes({75, 0xFE, 0x43, 5}) + data)), Framed(Bytes({75})));
  EXPECT_EQ(
      engine.reply(ReadRequest(0x43FC, 8)).mid(4, 8),
      sim::SyntheticMemoryImage().mid(0x43FC, 2) + data + sim::SyntheticMemoryImage().at(0x4403));
}

TEST(SimEngine, VersionTextIsEightCharacters) {
  struct Case {
    QByteArray text;
    QByteArray expected;
  } cases[] = {
      {"QV V2.3Z", "QV V2.3Z"},
      {"QV VB5Z", "QV VB5Z "},
      {"QV V2.5Z-extra", "QV V2.5Z"},
      {"", "        "},
      {ToCp1251(QStringLiteral("ЗУ V1")), ToCp1251(QStringLiteral("ЗУ V1   "))},
  };
  for (const Case& c : cases) {
    EngineSettings settings;
    settings.versionText = c.text;
    Engine engine(settings);
    EXPECT_EQ(engine.reply(Bytes({135})), Framed(Bytes({135}) + c.expected)) << c.text.constData();
  }
  Engine defaults;
  EXPECT_EQ(defaults.reply(Bytes({135})).mid(1, 8), "QV V2.3Z");
}

TEST(SimEngine, ButtonsNavigateTheMenu) {
  Engine engine;
  QByteArray screen = engine.reply(Bytes({150}));
  EXPECT_EQ(row(screen, 0).trimmed(), QStringLiteral("Главное меню"));
  EXPECT_EQ(row(screen, 1).trimmed(), QStringLiteral("Пуск канала 1"));
  // The cursor is on the item's first letter, so its blinking shows.
  EXPECT_EQ(ByteOf(screen, 81), 21);
  EXPECT_EQ(screen.at(1 + 21), ToCp1251(QStringLiteral("П")).at(0));

  EXPECT_EQ(ByteOf(engine.reply(Bytes({195})), 81), 21) << "up at the top stays";
  EXPECT_EQ(ByteOf(engine.reply(Bytes({180})), 81), 41);
  EXPECT_EQ(ByteOf(engine.reply(Bytes({180})), 81), 61);
  screen = engine.reply(Bytes({180}));  // fourth item: the list scrolls
  EXPECT_EQ(ByteOf(screen, 81), 61);
  EXPECT_EQ(row(screen, 1).left(19).trimmed(), QStringLiteral("Пуск канала 2"));
  EXPECT_EQ(ByteOf(screen, 1 + 20 + 19), 0x87) << "more items above";
  EXPECT_EQ(row(screen, 3).left(19).trimmed(), QStringLiteral("Канал 2: заряд"));
  EXPECT_EQ(ByteOf(screen, 1 + 60 + 19), 0x86) << "more items below";

  // OK on the measurement item: a page without a cursor, with the degree sign.
  engine.reply(Bytes({180}));
  screen = engine.reply(Bytes({225}));
  EXPECT_GE(ByteOf(screen, 81), 80);
  EXPECT_TRUE(screen.mid(1, 80).contains('\xB0'));
  EXPECT_TRUE(row(screen, 0).startsWith(QStringLiteral("1-")));

  screen = engine.reply(Bytes({210}));
  EXPECT_EQ(ByteOf(screen, 0), 210);
  EXPECT_EQ(ByteOf(screen, 81), 61);
  EXPECT_EQ(row(screen, 3).left(19).trimmed(), QStringLiteral("Измерения"));

  // The last item shows the version.
  engine.reply(Bytes({180}));
  screen = engine.reply(Bytes({225}));
  EXPECT_TRUE(screen.mid(1, 80).contains("QV V2.3Z"));
  EXPECT_EQ(ByteOf(engine.reply(Bytes({180})), 0), 180) << "a button's reply carries its code";
}

TEST(SimEngine, OkOnStartRunsAndStopsTheChannel) {
  Engine engine(stepping(10));
  EXPECT_EQ(ByteOf(engine.reply(Bytes({165})), 23) & 0x88, 0);
  QByteArray screen = engine.reply(Bytes({225}));
  EXPECT_EQ(row(screen, 1).trimmed(), QStringLiteral("Стоп канала 1"));
  QByteArray adc = engine.reply(Bytes({165}));
  EXPECT_EQ(ByteOf(adc, 23) & 0x88, 0x80);
  EXPECT_NEAR(WordAt(adc, 1), 1.0, 0.005);
  EXPECT_EQ(WordAt(adc, 7), 0.0);

  // Mode item of channel 1 turns the running channel round.
  engine.reply(Bytes({180}));
  engine.reply(Bytes({180}));
  screen = engine.reply(Bytes({225}));
  EXPECT_EQ(row(screen, 3).left(19).trimmed(), QStringLiteral("Канал 1: разряд"));
  adc = engine.reply(Bytes({165}));
  EXPECT_EQ(ByteOf(adc, 23) & 0xE0, 0xA0) << "running, discharging";

  engine.reply(Bytes({195}));
  engine.reply(Bytes({195}));
  screen = engine.reply(Bytes({225}));
  EXPECT_EQ(row(screen, 1).trimmed(), QStringLiteral("Пуск канала 1"));
  EXPECT_EQ(ByteOf(engine.reply(Bytes({165})), 23) & 0x80, 0);
}

// Runs the measurement requests until the channel stops by itself.
QList<QByteArray> runUntilStopped(Engine& engine, int runningBit, int limit) {
  QList<QByteArray> samples;
  for (int i = 0; i < limit; ++i) {
    samples.append(engine.reply(Bytes({165})));
    if (!(ByteOf(samples.back(), 23) & runningBit))
      break;
  }
  return samples;
}

TEST(SimEngine, ChargeCurveIsPlausibleAndEndsFull) {
  Engine engine(stepping(60));
  engine.reply(Bytes({225}));  // Пуск канала 1
  const QList<QByteArray> samples = runUntilStopped(engine, 0x80, 500);
  ASSERT_LT(samples.size(), 500) << "the charge never ended";
  ASSERT_GT(samples.size(), 60);

  double capacity = 0;
  double peakTemperature = 0;
  for (int i = 0; i + 1 < samples.size(); ++i) {
    const QByteArray& s = samples[i];
    EXPECT_NEAR(WordAt(s, 1), 1.0, 0.005) << i;
    EXPECT_GT(WordAt(s, 3), 6 * 1.1) << i;
    EXPECT_LT(WordAt(s, 3), 6 * 1.6) << i;
    EXPECT_GT(WordAt(s, 5), 20.0) << i;
    EXPECT_LT(WordAt(s, 5), 55.0) << i;
    EXPECT_GT(WordAt(s, 15), 24.0) << i;
    EXPECT_LT(WordAt(s, 15), 60.0) << i;
    EXPECT_GT(WordAt(s, 13), 11.5) << i;
    EXPECT_LT(WordAt(s, 13), 13.0) << i;
    EXPECT_GE(CapacityAt(s, 17), capacity) << i;
    capacity = CapacityAt(s, 17);
    peakTemperature = std::max(peakTemperature, WordAt(s, 5));
    EXPECT_EQ(ByteOf(s, 23), 0x80) << i;
  }
  EXPECT_GT(WordAt(samples[samples.size() / 2], 3), WordAt(samples[0], 3));
  EXPECT_GT(peakTemperature, 30.0) << "a full NiMH pack warms up";
  EXPECT_GT(capacity, 1.5);
  const QByteArray& last = samples.back();
  EXPECT_EQ(ByteOf(last, 23) & 0xC0, 0x40) << "stopped, finished";
  EXPECT_EQ(WordAt(last, 1), 0.0);
}

TEST(SimEngine, DischargeCountsNegativeCapacityUntilCutOff) {
  Engine engine(stepping(60));
  EXPECT_EQ(engine.reply(Framed(Bytes({60, 0, 0x82}))), Framed(Bytes({60})));
  const QList<QByteArray> samples = runUntilStopped(engine, 0x08, 500);
  ASSERT_LT(samples.size(), 500);
  const QByteArray& first = samples.front();
  EXPECT_NEAR(WordAt(first, 7), 0.4, 0.005);
  EXPECT_GT(WordAt(first, 19), 103.0) << "negative capacity wraps";
  EXPECT_LT(CapacityAt(first, 19), 0.0);
  EXPECT_EQ(ByteOf(first, 23), 0x0A) << "running, discharging";
  const QByteArray& beforeEnd = samples[samples.size() - 2];
  EXPECT_NEAR(CapacityAt(beforeEnd, 19), -0.96, 0.05);
  EXPECT_LT(WordAt(beforeEnd, 9), WordAt(first, 9));
  EXPECT_GT(WordAt(beforeEnd, 9), 4 * 0.95);
  EXPECT_EQ(ByteOf(samples.back(), 23), 0x06) << "stopped, finished, discharge mode";
}

TEST(SimEngine, StepModeRepeatsAndMovesOnlyOnMeasurements) {
  Engine a(stepping(30));
  Engine b(stepping(30));
  a.reply(Bytes({225}));
  b.reply(Bytes({225}));
  for (int i = 0; i < 20; ++i) {
    b.reply(Bytes({150}));
    b.reply(ReadRequest(0, 64));
    EXPECT_EQ(a.reply(Bytes({165})), b.reply(Bytes({165}))) << i;
  }
  a.setClock(0);
  a.setClock(100000);  // ignored in step mode
  EXPECT_EQ(a.reply(Bytes({165})), b.reply(Bytes({165})));
}

TEST(SimEngine, ClockModeFollowsTheClock) {
  EngineSettings settings;
  settings.timeScale = 2;
  Engine engine(settings);
  engine.setClock(10);
  engine.reply(Bytes({225}));
  engine.setClock(10 + 1800);  // one hour of battery time at 1 A
  const QByteArray adc = engine.reply(Bytes({165}));
  EXPECT_NEAR(CapacityAt(adc, 17), 1.0, 0.01);
}

TEST(SimEngine, SetGoAndVariableCommands) {
  Engine engine(stepping(1));
  // 2.50 A charge current on channel 2, then start it with 8 cells.
  EXPECT_EQ(engine.reply(Framed(Bytes({31, 0x80, 0, 0xFA, 0x00}))), Framed(Bytes({31})));
  EXPECT_EQ(engine.reply(Framed(Bytes({60, 8, 0x81}))), Framed(Bytes({60})));
  QByteArray adc = engine.reply(Bytes({165}));
  EXPECT_NEAR(WordAt(adc, 7), 2.5, 0.005);
  EXPECT_GT(WordAt(adc, 9), 8 * 1.1);
  EXPECT_EQ(ByteOf(adc, 23), 0x08);
  EXPECT_EQ(ByteOf(adc, 22), 1) << "code byte: charging";

  EXPECT_EQ(engine.reply(Framed(Bytes({45, 3}))), Framed(Bytes({45, 3, 0xFA, 0, 0, 0})));
  EXPECT_EQ(engine.reply(Framed(Bytes({45, 99}))), Framed(Bytes({45, 99, 0, 0, 0, 0})));

  EXPECT_EQ(engine.reply(Framed(Bytes({60, 0, 0x80}))), Framed(Bytes({60})));
  adc = engine.reply(Bytes({165}));
  EXPECT_EQ(ByteOf(adc, 23) & 0x08, 0);
  EXPECT_EQ(WordAt(adc, 7), 0.0);
}

TEST(SimEngine, MeasurementWordsRoundAndCapacityWraps) {
  struct Case {
    double value;
    int word;
  } words[] = {{0, 0}, {1.004, 100}, {1.006, 101}, {655.35, 65535}, {700, 65535}, {-1, 0}};
  for (const Case& c : words)
    EXPECT_EQ(sim::MeasurementWord(c.value), c.word) << c.value;
  Case capacities[] = {{0, 0},         {103.0, 10300},   {150, 10300},
                       {-0.01, 65535}, {-552.35, 10301}, {-600, 10301}};
  for (const Case& c : capacities)
    EXPECT_EQ(sim::CapacityWord(c.value), c.word) << c.value;
}

}  // namespace

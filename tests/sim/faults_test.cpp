#include <gtest/gtest.h>

#include <QList>
#include <functional>

#include "sim/faults.h"
#include "tests/sim/sim_test_util.h"

using namespace qv;

namespace {

using sim::FaultedReply;
using sim::FaultInjector;
using sim::FaultKind;
using sim::FaultRates;

FaultRates only(FaultKind kind, double rate) {
  FaultRates rates;
  rates[kind] = rate;
  return rates;
}

const QByteArray kVersion = Framed(Bytes({135}) + QByteArray("QV V2.3Z"));

TEST(SimFaults, EachKindAtRateOneDoesWhatItSays) {
  struct Case {
    FaultKind kind;
    std::function<void(const FaultedReply&)> check;
  } cases[] = {
      {FaultKind::Silence, [](const FaultedReply& r) { EXPECT_TRUE(r.bytes.isEmpty()); }},
      {FaultKind::Nak, [](const FaultedReply& r) { EXPECT_EQ(r.bytes, Bytes({240})); }},
      {FaultKind::BadCrc,
       [](const FaultedReply& r) {
         ASSERT_EQ(r.bytes.size(), kVersion.size());
         EXPECT_EQ(r.bytes.left(9), kVersion.left(9));
         EXPECT_FALSE(ChecksumHolds(r.bytes));
       }},
      {FaultKind::Short,
       [](const FaultedReply& r) {
         EXPECT_GE(r.bytes.size(), 1);
         EXPECT_LT(r.bytes.size(), kVersion.size());
         EXPECT_TRUE(kVersion.startsWith(r.bytes));
       }},
      {FaultKind::Long,
       [](const FaultedReply& r) {
         EXPECT_GT(r.bytes.size(), kVersion.size());
         EXPECT_LE(r.bytes.size(), kVersion.size() + 4);
         EXPECT_TRUE(r.bytes.startsWith(kVersion));
       }},
      {FaultKind::Delay,
       [](const FaultedReply& r) {
         EXPECT_EQ(r.bytes, kVersion);
         EXPECT_EQ(r.delayMs, 250);
       }},
  };
  for (const Case& c : cases) {
    FaultInjector faults(only(c.kind, 1.0), 11, 250);
    for (int i = 0; i < 20; ++i) {
      const FaultedReply reply = faults.apply(kVersion);
      SCOPED_TRACE(sim::FaultName(c.kind).toStdString());
      c.check(reply);
      for (int k = 0; k < sim::kFaultKinds; ++k) {
        EXPECT_EQ(reply.applied[k], static_cast<FaultKind>(k) == c.kind);
      }
      if (c.kind != FaultKind::Delay) {
        EXPECT_EQ(reply.delayMs, 0);
      }
    }
    EXPECT_EQ(faults.count(c.kind), 20);
  }
}

TEST(SimFaults, RateZeroLeavesRepliesAlone) {
  FaultInjector faults(FaultRates{}, 5, 300);
  for (int i = 0; i < 100; ++i) {
    const FaultedReply reply = faults.apply(kVersion);
    EXPECT_EQ(reply.bytes, kVersion);
    EXPECT_EQ(reply.delayMs, 0);
  }
  for (int k = 0; k < sim::kFaultKinds; ++k)
    EXPECT_EQ(faults.count(static_cast<FaultKind>(k)), 0);
}

TEST(SimFaults, OneByteRepliesCannotBeCutOrCorrupted) {
  FaultRates rates;
  rates[FaultKind::BadCrc] = 1;
  rates[FaultKind::Short] = 1;
  FaultInjector faults(rates, 5, 300);
  EXPECT_EQ(faults.apply(Bytes({240})).bytes, Bytes({240}));
  EXPECT_EQ(faults.count(FaultKind::BadCrc), 0);
  EXPECT_EQ(faults.count(FaultKind::Short), 0);
}

QList<FaultedReply> run(uint64_t start, int count) {
  FaultRates rates;
  rates.rate.fill(0.3);
  FaultInjector faults(rates, start, 100);
  QList<FaultedReply> replies;
  for (int i = 0; i < count; ++i)
    replies.append(faults.apply(kVersion));
  return replies;
}

bool same(const QList<FaultedReply>& a, const QList<FaultedReply>& b) {
  if (a.size() != b.size())
    return false;
  for (int i = 0; i < a.size(); ++i) {
    if (a[i].bytes != b[i].bytes || a[i].applied != b[i].applied || a[i].delayMs != b[i].delayMs) {
      return false;
    }
  }
  return true;
}

TEST(SimFaults, SameRandomStartValueRepeatsTheRun) {
  EXPECT_TRUE(same(run(42, 300), run(42, 300)));
  EXPECT_FALSE(same(run(42, 300), run(43, 300)));
}

TEST(SimFaults, RatesAreFractionsOfReplies) {
  FaultInjector faults(only(FaultKind::Long, 0.25), 7, 0);
  for (int i = 0; i < 4000; ++i)
    faults.apply(kVersion);
  EXPECT_GT(faults.count(FaultKind::Long), 850);
  EXPECT_LT(faults.count(FaultKind::Long), 1150);
}

TEST(SimFaults, SilenceWinsOverTheOtherKinds) {
  FaultRates rates;
  rates.rate.fill(1.0);
  FaultInjector faults(rates, 1, 300);
  const FaultedReply reply = faults.apply(kVersion);
  EXPECT_TRUE(reply.silent());
  EXPECT_TRUE(reply.bytes.isEmpty());
  EXPECT_EQ(faults.count(FaultKind::Silence), 1);
  EXPECT_EQ(faults.count(FaultKind::Nak), 0);
}

TEST(SimFaults, NamesRoundTrip) {
  for (int k = 0; k < sim::kFaultKinds; ++k) {
    const auto kind = static_cast<FaultKind>(k);
    EXPECT_EQ(sim::FaultFromName(sim::FaultName(kind)), kind);
  }
  EXPECT_FALSE(sim::FaultFromName(QStringLiteral("Silence")).has_value());
}

}  // namespace

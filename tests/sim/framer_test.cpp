#include <gtest/gtest.h>

#include "sim/framer.h"
#include "tests/sim/sim_test_util.h"

using namespace qv;

namespace {

using sim::FrameAssembler;

QList<QByteArray> bytesOf(const QList<sim::Frame>& frames) {
  QList<QByteArray> out;
  for (const sim::Frame& f : frames) {
    EXPECT_TRUE(f.complete);
    out.append(f.bytes);
  }
  return out;
}

TEST(SimFramer, CollectsFramesAcrossAndWithinChunks) {
  FrameAssembler framer(0.05);
  const QByteArray read = ReadRequest(0x4000, 64);
  EXPECT_TRUE(framer.feed(read.left(2), 1.00).isEmpty());
  EXPECT_TRUE(framer.feed(read.mid(2, 2), 1.03).isEmpty());
  EXPECT_EQ(bytesOf(framer.feed(read.mid(4), 1.06)), QList<QByteArray>{read});
  EXPECT_FALSE(framer.deadline().has_value());

  const QByteArray write = Framed(Bytes({75, 0, 0x40, 3, 1, 2, 3}));
  EXPECT_EQ(bytesOf(framer.feed(Bytes({150, 135}) + write + Bytes({165}), 2.0)),
            (QList<QByteArray>{Bytes({150}), Bytes({135}), write, Bytes({165})}));
}

TEST(SimFramer, UnknownByteIsOneFrameAndTheRestOfItsChunkIsNoise) {
  FrameAssembler framer(0.05);
  EXPECT_EQ(bytesOf(framer.feed(Bytes({0x00, 135, 150}), 1.0)), QList<QByteArray>{Bytes({0x00})});
  EXPECT_EQ(bytesOf(framer.feed(Bytes({135}), 1.001)), QList<QByteArray>{Bytes({135})});
}

TEST(SimFramer, UnfinishedFrameExpiresAfterTheGap) {
  FrameAssembler framer(0.05);
  EXPECT_TRUE(framer.feed(Bytes({90, 0, 0}), 1.0).isEmpty());
  ASSERT_TRUE(framer.deadline().has_value());
  EXPECT_DOUBLE_EQ(*framer.deadline(), 1.05);
  EXPECT_FALSE(framer.expire(1.04).has_value());
  const auto expired = framer.expire(1.051);
  ASSERT_TRUE(expired.has_value());
  EXPECT_FALSE(expired->complete);
  EXPECT_EQ(expired->bytes, Bytes({90, 0, 0}));
  EXPECT_FALSE(framer.deadline().has_value());

  // A late rest does not complete the old frame: it starts a new one.
  framer.feed(Bytes({90, 0}), 2.0);
  const QList<sim::Frame> frames = framer.feed(Bytes({135}), 2.2);
  ASSERT_EQ(frames.size(), 2);
  EXPECT_FALSE(frames[0].complete);
  EXPECT_EQ(frames[1].bytes, Bytes({135}));
}

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "ui/TextCodec.h"

namespace {

const QChar kBad(0xFFFD);

TEST(TextCodec, badBytesBecomeReplacementsAndTheRestIsKept) {
  // GBK: 转, a byte that starts nothing, then ASCII.
  EXPECT_EQ(DecodeText("\xD7\xAA\xFF"
                       "abc",
                       "GBK"),
            QString::fromUtf8("转") + kBad + "abc");
  // A lead byte cut off at the end.
  EXPECT_EQ(DecodeText("ok\xD7", "GBK"), QString("ok") + kBad);
  // Shift_JIS lead byte followed by a byte that cannot trail it.
  EXPECT_EQ(DecodeText("\x95\xCF\x81\x20x", "CP932"),
            QString::fromUtf8("変") + kBad + QString(" x"));
  // Broken UTF-8 in the middle of good text.
  EXPECT_EQ(DecodeText("a\xC3(b\xE2\x82", "UTF-8"), QString("a") + kBad + "(b" + kBad + kBad);
  EXPECT_TRUE(DecodeText("", "GBK").isEmpty());
}

TEST(TextCodec, longTextsAndReuseDecodeCompletely) {
  // Longer than the codec's working buffer, with a bad byte past its end.
  std::string bytes;
  for (int i = 0; i < 3000; ++i) bytes += "\xD7\xAA";
  bytes +=
      "\x80\xFF"
      "end";
  const TextCodec codec("GBK");
  const QString text = codec.Decode(bytes);
  ASSERT_EQ(text.size(), 3000 + 3 + 2);  // 0x80 is the euro sign in GBK
  EXPECT_EQ(text.count(QString::fromUtf8("转")), 3000);
  EXPECT_TRUE(text.endsWith(QString::fromUtf8("€") + kBad + "end"));
  // A cut-off sequence in one call leaves nothing behind for the next.
  EXPECT_EQ(codec.Decode("x\xD7"), QString("x") + kBad);
  EXPECT_EQ(codec.Decode("\xAA"), QString(kBad));
  EXPECT_EQ(codec.Decode("y"), QString("y"));
}

TEST(TextCodec, unknownCharacterSetIsRefused) {
  EXPECT_THROW(TextCodec("NO-SUCH-CHARSET-42"), std::invalid_argument);
}

}  // namespace

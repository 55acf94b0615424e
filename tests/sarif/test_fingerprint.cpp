// Fingerprints of notices: the FNV-1a 128 test vectors, the exact bytes the
// fingerprint covers, the normalised line, and the occurrence counter.
#include <gtest/gtest.h>

#include <string>

#include "sarif/fingerprint.h"

namespace {

using namespace std::string_literals;

TEST(Fingerprint, Fnv1a128TestVectors) {
  EXPECT_EQ(Fnv1a128("").Hex(), "6c62272e07bb014262b821756295c58d");
  EXPECT_EQ(Fnv1a128("a").Hex(), "d228cb696f1a8caf78912b704e4a8964");
  // Piece by piece gives the same as all at once.
  Fnv128 h;
  h.Update("foo").UpdateByte('b').Update("ar");
  EXPECT_EQ(h, Fnv1a128("foobar"));
  EXPECT_NE(Fnv1a128("foobar"), Fnv1a128("foobaR"));
}

TEST(Fingerprint, CoversTagRulePathEntityNormalisedTextAndIndex) {
  const NoticeKey key{"LQA030", "src/a b.c", "ns::f", "\t x = 1 ;\r\n"};
  // The layout: "lqa-notice/1" NUL rule NUL path NUL entity NUL text NUL k.
  const std::string bytes = "lqa-notice/1\0LQA030\0src/a b.c\0ns::f\0x=1;\0"s + "12";
  EXPECT_EQ(NoticeFingerprint(key, 12), Fnv1a128(bytes));
  // Pinned: computed apart from this code.
  EXPECT_EQ(NoticeFingerprint(key, 12).Hex(), "27b0357e2c9caf8e1b6870170f2cfca7");

  // White space and control bytes of the line never count; anything else does.
  const NoticeKey moved{"LQA030", "src/a b.c", "ns::f", "x=1;"};
  EXPECT_EQ(NoticeFingerprint(moved, 1), NoticeFingerprint(key, 1));
  EXPECT_NE(NoticeFingerprint({"LQA030", "src/a b.c", "ns::f", "x=2;"}, 1), NoticeFingerprint(key, 1));
  EXPECT_NE(NoticeFingerprint(key, 1), NoticeFingerprint(key, 2));
  EXPECT_NE(NoticeFingerprint({"LQA030", "src/a b.c", "", "x=1;"}, 1), NoticeFingerprint(key, 1));
  // The separators keep fields apart: moving a byte across one changes it.
  EXPECT_NE(NoticeFingerprint({"LQA030", "a", "bc", ""}, 1), NoticeFingerprint({"LQA030", "ab", "c", ""}, 1));

  // The two-step forms give the same states.
  const Fnv128 staged =
      NoticeKeyStateFromEntity(NoticeEntityState(NoticeRulePathState(key.ruleId, key.path), key.entity), key.text);
  EXPECT_EQ(staged, NoticeKeyState(key));
  EXPECT_EQ(NoticeFingerprintFrom(staged, 12), NoticeFingerprint(key, 12));
  // A line longer than the hashing buffer is hashed whole.
  const std::string longLine(1000, 'x');
  EXPECT_EQ(NoticeFingerprint({"R", "p", "e", longLine + " \t" + longLine}, 1),
            NoticeFingerprint({"R", "p", "e", longLine + longLine}, 1));
}

// Gate snapshots keep the low word of the line's hash; the 64-bit form must
// give exactly the values earlier snapshots hold.
TEST(Fingerprint, TheLowWordAloneMatchesTheFullHash) {
  std::string mixed;
  for (int i = 0; i < 700; ++i) mixed.push_back(static_cast<char>((i * 37 + 11) % 256));
  const std::string lines[] = {"", " \t\r\n", "x", "\tif (a == b)\r\n", std::string(300, 'y') + " z", mixed,
                               "\xc3\xa9\x7f\x21 \x20\x01"};
  for (const std::string& line : lines)
    EXPECT_EQ(Fnv128LowSkippingBlanks(line), Fnv128().UpdateSkippingBlanks(line).Low()) << line.size();
  // Pinned: the low word of FNV-1a 128 of "if(a==b)".
  EXPECT_EQ(Fnv128LowSkippingBlanks("\tif (a == b)\r\n"), Fnv1a128("if(a==b)").Low());
  EXPECT_EQ(Fnv128LowSkippingBlanks(" "), 0x62b821756295c58dULL);
}

TEST(Fingerprint, NormalisedLineDropsBytesUpToBlank) {
  EXPECT_EQ(NormalisedLineText("\tif (a == b)\r\n"), "if(a==b)");
  EXPECT_EQ(NormalisedLineText("\x01\x1f \x21\x7f\xc3\xa9"), "\x21\x7f\xc3\xa9");
  EXPECT_EQ(NormalisedLineText(""), "");
}

TEST(Fingerprint, OccurrenceCounterCountsEachKeyAndForgetsOnClear) {
  OccurrenceCounter counter;
  const Fnv128 a = Fnv1a128("a");
  const Fnv128 b = Fnv1a128("b");
  EXPECT_EQ(counter.Count(a), 1);
  EXPECT_EQ(counter.Count(a), 2);
  EXPECT_EQ(counter.Count(b), 1);
  EXPECT_EQ(counter.Count(a), 3);
  counter.Clear();
  EXPECT_EQ(counter.Count(a), 1);
  // Many keys grow the table past what Clear keeps; every count survives
  // the growth, and a cleared table starts again.
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 5000; ++i) ASSERT_EQ(counter.Count(Fnv1a128(std::to_string(i))), 1);
    for (int i = 0; i < 5000; i += 7) ASSERT_EQ(counter.Count(Fnv1a128(std::to_string(i))), 2);
    counter.Clear();
  }
}

}  // namespace

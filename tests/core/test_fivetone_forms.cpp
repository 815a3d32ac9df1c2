#include <gtest/gtest.h>

#include "core/image/FiveToneForms.h"

using namespace kvx;

TEST(FiveToneForms, EncodeRepeats) {
  struct Case {
    std::string text;
    std::optional<char> before;
    std::string out;
  } cases[] = {
      {"1123", {}, "1E23"},
      {"111", {}, "1E1"},
      {"1111", {}, "1E1E"},  // compared with what was written
      {"12E3", {}, "12E3"},
      {"55", '5', "E5"},
      {"55", '4', "5E"},
      {"E1"
       "12345"
       "E"
       "4444",
       {},
       "E1E2345E4444"},  // the message part is untouched
      {"E1"
       "11111"
       "E"
       "4444",
       {},
       "E1E1E1EE4444"},
      {"1123   ", {}, "1E23"},  // cleaned first
      {"", {}, ""},
      {"", '1', ""},
      {"7", {}, "7"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeRepeats(c.text, c.before), c.out) << c.text;
    // Applying it to its own result changes nothing.
    EXPECT_EQ(EncodeRepeats(c.out, c.before), c.out) << c.text;
  }
}

TEST(FiveToneForms, EncodeAniRepeats) {
  struct Case {
    std::string text, out;
  } cases[] = {
      {"67890D55555", "67890D5E5E5"},  // separator and first ID digit copied unchanged
      {"6789055555", "678905E5E5"},
      {"66890"
       "12345",
       "6E89012345"},
      {"5555555555A", "5E5E555E5EA"},  // positions 6 and 7 copied even without a letter
      {"55555D55555", "5E5E5D5E5E5"},
      {"E1E2345E4444", "E1E2345E4E4E"},  // no message rule here
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(EncodeAniRepeats(c.text), c.out) << c.text;
}

TEST(FiveToneForms, IsAniCode) {
  struct Case {
    std::string code, ownId;
    bool ani;
  } cases[] = {
      {"6789012345", "12345", true},
      {"67890D12345", "12345", true},
      {"6789012345", "54321", false},
      {"67890SelfID", "12345", true},
      {"67890DSelfID", "12345", true},
      {"678909SelfID", "12345", false},  // character 6 not a letter
      {"678909SelfID", "", false},
      {"67890SelfID", "", true},      // the placeholder needs no own ID
      {"678901234", "01234", false},  // 9 characters
      {"678912345", "12345", false},
      {"678901E234", "11234", true},  // the repeat-encoded own ID
      {"67891E1234", "11234", true},  // after a caller ID ending in 1
      {"6789111234", "11234", true},  // the plain own ID
      {"67891D1E234", "11234", true},
      {"678909"
       "12345",
       "12345", false},                  // 11 characters, character 6 a digit
      {"6789012345", "1234", false},     // own ID not 5 characters
      {"67890AA12345", "12345", false},  // 12 characters without the placeholder
      {"67890SelfIDX", "12345", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsAniCode(c.code, c.ownId), c.ani) << c.code << " " << c.ownId;
}

TEST(FiveToneForms, EncodeCodeDigits) {
  struct Case {
    std::string text, ownId, out;
  } cases[] = {
      {"67890D55555", "55555", "67890D5E5E5"},  // ANI: separator kept
      {"6789955555", "55555", "6789E5E5E5"},   {"1123", "12345", "1E23"},
      {"67890D55555", "12345", "67890D5E5E5"},  // not ANI for this ID: plain repeats agree
      {"11111D11111", "12345", "1E1E1D1E1E1"}, {"11111D11111", "11111", "1E1E1D1E1E1"},
  };
  for (const auto& c : cases) EXPECT_EQ(EncodeCodeDigits(c.text, c.ownId), c.out) << c.text;
  // Where the two rules differ: an 11-character ANI code whose separator repeats the caller.
  EXPECT_EQ(EncodeCodeDigits("6789AA12345", "12345"), "6789AA12345");
  EXPECT_EQ(EncodeRepeats("6789AA12345"), "6789AE12345");
}

TEST(FiveToneForms, Mid5ToneNoE) {
  struct Case {
    std::string text;
    int start, count;
    std::string out;
  } cases[] = {
      {"E1E2345E4849", 3, 5, "12345"},
      {"6E890", 1, 5, "66890"},
      {"6E8", 1, 5, "668"},  // beyond the end adds nothing
      {"E123", 1, 2, "E1"},  // nothing before the first position
      {"1E1E", 1, 4, "1111"},
      {"1EE", 2, 2, "1E"},  // the character before as stored
      {"12345", 0, 2, "1"},
  };
  for (const auto& c : cases) EXPECT_EQ(Mid5ToneNoE(c.text, c.start, c.count), c.out) << c.text;
}

TEST(FiveToneForms, SpecialFormsAreRecognised) {
  struct Case {
    std::string digits;
    bool message, marker, ownIdCode;
  } cases[] = {
      {"E1E2345E4849", true, false, false}, {"E1E2345E", true, false, false},
      {"E1E2345", false, false, false},  // too short for a message code
      {"E612345", false, true, false},      {"E6SelfID", false, true, false},
      {"E6123", false, false, false},       {"E212345", false, false, true},
      {"12345", false, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsMessageCode(c.digits), c.message) << c.digits;
    EXPECT_EQ(IsPttIdMarker(c.digits), c.marker) << c.digits;
    EXPECT_EQ(IsOwnIdCode(c.digits), c.ownIdCode) << c.digits;
  }
}

TEST(FiveToneForms, ComposingSpecialCodes) {
  std::string m = ComposeMessageCode("12345", "HI");
  EXPECT_EQ(m, "E112345E4849");
  EXPECT_EQ(EncodeRepeats(m), "E1E2345E4849");
  EXPECT_EQ(MessageOfCode("E1E2345E4849"), "HI");
  EXPECT_EQ(MessageOfCode("E1E2345E484"), "H");
  EXPECT_EQ(ComposeAniCode("67890", 13, "12345"), "67890D12345");
  EXPECT_EQ(ComposeAniCode("67890", 0, "12345"), "6789012345");
  EXPECT_EQ(ComposeAniCode("67890", 0, kSelfIdPlaceholder), "67890SelfID");
  // The longest message a PTT ID code can carry: 8 characters make 24 digits.
  EXPECT_EQ(ComposeMessageCode("12345", "ABCDEFGH").size(), 24u);
}

TEST(FiveToneForms, SavingADecodeCode) {
  struct Case {
    std::string digits, ownId, out;
  } cases[] = {
      {"67890SelfID", "12345", "6789012345"},
      {"67890ASelfID", "12345", "67890A12345"},
      {"E6SelfID", "12345", "E612345"},
      {"E6999", "12345", "E612345"},  // rewritten at every save
      {"E299", "11234", "E21E234"},
      {"6789054321", "12345", "6789054321"},  // not ANI for this ID: kept
      {"6789012345", "12345", "6789012345"},
      {"1123", "12345", "1E23"},
      {"11", "12345", "11"},  // two characters or fewer are only cleaned
      {"  ", "12345", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SaveDecodeDigits(c.digits, c.ownId, c.ownId), c.out) << c.digits;
}

TEST(FiveToneForms, NewOwnIdRewritesCodes) {
  struct Case {
    std::string digits, out;
  } cases[] = {
      {"6789012345", "6789054321"},
      {"67890D12345", "67890D54321"},
      {"6E89012345", "6689054321"},  // caller ID shown without repeats, re-encoded at save
      {"E612345", "E654321"},
      {"E2", "E254321"},
      {"6789099999", "6789099999"},  // ANI of another ID: kept
      {"1", "1"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DigitsForNewOwnId(c.digits, "12345", "54321"), c.out) << c.digits;
}

TEST(FiveToneForms, GridViewOfACode) {
  const std::string label = "MSG:";
  struct Case {
    std::string digits;
    int length;
    CodeKind kind;
    std::string cell;
  } cases[] = {
      {"E1E2345E4849", 12, CodeKind::Message, "12345        MSG:HI"},
      {"E612345", 7, CodeKind::PttIdMarker, ""},
      {"6789012345", 10, CodeKind::Ani, "67890"},
      {"67890D12345", 11, CodeKind::Ani, "67890D"},
      {"6E890SelfID", 11, CodeKind::Ani, "66890"},
      {"67890DSelfID", 12, CodeKind::Ani, "67890"},
      {"1E23", 4, CodeKind::Ordinary, "1E23"},
      {"1E", 4, CodeKind::Ordinary, "1EEE"},  // extended with E
      {"1E2345", 3, CodeKind::Ordinary, "1E2"},
      {"E1E23", 5, CodeKind::Ordinary, "E1E23"},  // too short for a message code
  };
  for (const auto& c : cases) {
    CodeView v = ViewOfDecodeCode(c.digits, c.length, "12345", label);
    EXPECT_EQ(v.Kind, c.kind) << c.digits;
    EXPECT_EQ(v.Digits, c.cell) << c.digits;
  }
}

// The payment address and its pieces, with plain texts: no window is involved.
#include <gtest/gtest.h>
#include <ctype.h>
#include <string.h>

#include <string>
#include <vector>

#include "recharge/recharge.h"
#include "tests/recharge/recharge_test.h"
#include "tests/support/support.h"

namespace {

bool IsUnreservedChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

bool IsUpperHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// Empty when the value holds only unreserved characters and %XX with uppercase hex; otherwise
// where it first goes wrong.
std::string FirstBadPlace(const std::string& value) {
  for (size_t i = 0; i < value.size(); ++i) {
    if (IsUnreservedChar(value[i])) continue;
    if (value[i] == '%' && i + 2 < value.size() && IsUpperHex(value[i + 1]) &&
        IsUpperHex(value[i + 2])) {
      i += 2;
      continue;
    }
    return "at " + std::to_string(i) + ": " + value.substr(i, 8);
  }
  return "";
}

std::string Repeat(const std::string& piece, size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}

struct PriceCase {
  const char* name;
  const char* amount;  // null: no text
  const char* price;   // the price value in the address
};

// The texts are code page 936 (the tests are compiled like the program).
const PriceCase kPriceCases[] = {
    {"none", nullptr, ""},
    {"empty", "", ""},
    {"digits", "50", "50"},
    {"decimal", "12.5", "12.5"},
    {"letters", "abc", "abc"},
    {"every unreserved kind", "AZaz09-._~", "AZaz09-._~"},
    {"ampersand", "&", "%26"},
    {"equals", "=", "%3D"},
    {"hash", "#", "%23"},
    {"percent", "%", "%25"},
    {"plus", "+", "%2B"},
    {"space", " ", "%20"},
    {"quote", "\"", "%22"},
    {"tab", "\t", "%09"},
    {"hex letters are uppercase", ":/?*\x1f", "%3A%2F%3F%2A%1F"},
    {"lowest and highest control", "\x01\x7f", "%01%7F"},
    {"added query key and cut sign", "1&uid=x#", "1%26uid%3Dx%23"},
    {"chinese", "五十", "%E4%BA%94%E5%8D%81"},
    {"digits then chinese", "50元", "50%E5%85%83"},
    {"ascii escapes around chinese", " 五&", "%20%E4%BA%94%26"},
    // The system's conversion makes a lead byte without its trail byte the default character.
    {"lone lead byte at the end", "5\x81", "5%3F"},
};

void PrintTo(const PriceCase& c, std::ostream* out) {
  *out << c.name;
}

class PriceValue : public testing::TestWithParam<PriceCase> {};

TEST_P(PriceValue, EncodedAloneAndInTheAddress) {
  const PriceCase& c = GetParam();
  OwnedText value(EncodeQueryValue(c.amount));
  ASSERT_NE(value, nullptr);
  EXPECT_STREQ(value.get(), c.price);
  OwnedText url(BuildPaymentUrl(Alipay, c.amount));
  ASSERT_NE(url, nullptr);
  EXPECT_EQ(url.get(), ExpectedPrefix() + c.price + "&sign=158029473650284");
}

INSTANTIATE_TEST_SUITE_P(Amounts, PriceValue, testing::ValuesIn(kPriceCases),
                         [](const testing::TestParamInfo<PriceCase>& info) {
                           std::string name = info.param.name;
                           for (char& c : name)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

TEST(PriceValue, LongTextsAreEncodedWhole) {
  const std::string ascii = Repeat("a&", 32 * 1024);  // 64 KiB
  OwnedText ascii_value(EncodeQueryValue(ascii.c_str()));
  EXPECT_EQ(ascii_value.get(), Repeat("a%26", 32 * 1024));

  const std::string chinese = Repeat("五", 32 * 1024);  // 64 KiB of double-byte characters
  OwnedText chinese_value(EncodeQueryValue(chinese.c_str()));
  EXPECT_EQ(chinese_value.get(), Repeat("%E4%BA%94", 32 * 1024));
}

// Text that is not valid code page 936 must still give a safe value; what the conversion makes of
// the broken bytes is the system's choice (Wine's, for one, takes a lead byte and the byte after it
// as one character even when that byte is a space).
TEST(PriceValue, InvalidCodePageTextGivesOnlySafeCharacters) {
  const char* const kBroken[] = {
      "5\x81",         // a lead byte with nothing after it
      "\x81",          // nothing but a lead byte
      "\xff\xff",      // never a lead byte
      "\x81\x7f\x35",  // a lead byte with a byte that never trails, then 5
      "\x80\x35",      // outside the code page, then 5
      "\xa1\x20\xa1",  // a lead byte followed by a space
  };
  for (const char* text : kBroken) {
    OwnedText value(EncodeQueryValue(text));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(FirstBadPlace(value.get()), "") << "value " << value.get();
  }
}

TEST(PaymentUrl, EachMethodCarriesItsSign) {
  struct Case {
    PaymentMethod method;
    const char* suffix;
  };
  const Case kCases[] = {
      {Alipay, "&sign=158029473650284"},
      {QQWallet, "&sign=258029473650284"},
      {WeChat, "&sign=358029473650284"},
  };
  for (const Case& c : kCases) {
    OwnedText url(BuildPaymentUrl(c.method, "50"));
    EXPECT_EQ(url.get(), ExpectedPrefix() + "50" + c.suffix) << c.method;
    EXPECT_STREQ(SignSuffix(c.method), c.suffix);
    EXPECT_STREQ(SignCode(c.method), c.suffix + strlen("&sign="));
    OwnedText empty(BuildPaymentUrl(c.method, nullptr));
    EXPECT_EQ(empty.get(), ExpectedPrefix() + c.suffix) << c.method;
  }
}

TEST(PaymentUrl, IsPureAscii) {
  OwnedText url(BuildPaymentUrl(WeChat, "五十 元\x81"));
  for (const char* p = url.get(); *p; ++p) {
    EXPECT_GT(*p, 0x20) << "at " << (p - url.get());
    EXPECT_LT(*p, 0x7f) << "at " << (p - url.get());
  }
}

TEST(PaymentUrl, UnknownMethodHasNoSign) {
  EXPECT_STREQ(SignSuffix(static_cast<PaymentMethod>(0)), "");
  EXPECT_STREQ(SignSuffix(static_cast<PaymentMethod>(4)), "");
  EXPECT_STREQ(SignCode(static_cast<PaymentMethod>(-1)), "");
  OwnedText url(BuildPaymentUrl(static_cast<PaymentMethod>(4), "50"));
  EXPECT_EQ(url.get(), ExpectedPrefix() + "50");
}

// The run time ignores a release only inside the area it was given: every constant text, its
// terminator included, has to lie there.
TEST(ConstantTexts, AllLieInsideTheArea) {
  const char* const begin = kConstantTexts;
  const char* const end = kConstantTexts + kConstantTextsLength;
  const char* const texts[] = {PaymentUrlPrefix(), SignSuffix(Alipay),   SignSuffix(QQWallet),
                               SignSuffix(WeChat), SignCode(Alipay),     OpenVerb(),
                               EmptyText(),        kDllCommandModules[0]};
  for (const char* text : texts) {
    EXPECT_GE(text, begin) << text;
    EXPECT_LT(text + strlen(text), end) << text;
  }
  EXPECT_EQ(PaymentUrlPrefix(), ExpectedPrefix());
  EXPECT_STREQ(OpenVerb(), "open");
  EXPECT_STREQ(EmptyText(), "");
  EXPECT_EQ(kDllCommandCount, 1u);
  EXPECT_STREQ(kDllCommandModules[kShellExecuteCommand], "");
  EXPECT_STREQ(kDllCommandNames[kShellExecuteCommand], "ShellExecuteA");
}

struct JoinCase {
  const char* name;
  std::vector<const char*> texts;
  const char* joined;
};

const JoinCase kJoinCases[] = {
    {"three texts", {"ab", "c", "def"}, "abcdef"},
    {"none in the middle", {"ab", nullptr, "cde"}, "abcde"},
    {"none first and last", {nullptr, "x", nullptr}, "x"},
    {"all none", {nullptr, nullptr, nullptr}, ""},
    {"all empty", {"", "", ""}, ""},
    {"empty and none", {"", nullptr}, ""},
    {"one text", {"only"}, "only"},
    {"no texts", {}, ""},
    // Joining copies bytes: it neither converts nor encodes.
    {"bytes as they are", {"五", "&#", "十"}, "五&#十"},
    {"the most texts",
     {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p"},
     "abcdefghijklmnop"},
};

TEST(JoinTexts, JoinsInOrderWithNoneAsEmpty) {
  for (const JoinCase& c : kJoinCases) {
    SCOPED_TRACE(c.name);
    ASSERT_LE(c.texts.size(), static_cast<size_t>(kJoinTextsMax));
    OwnedText joined(JoinTexts(static_cast<int32_t>(c.texts.size()), c.texts.data()));
    ASSERT_NE(joined, nullptr);
    EXPECT_STREQ(joined.get(), c.joined);
    size_t length_sum = 0;
    for (const char* text : c.texts) {
      if (text) length_sum += strlen(text);
      // A new text, never one of those given (the caller releases it).
      EXPECT_NE(joined.get(), text);
    }
    EXPECT_EQ(strlen(joined.get()), length_sum);
  }
}

TEST(JoinTexts, LongTextsKeepTheirLength) {
  const std::string a = Repeat("x", 65536);
  const std::string b = Repeat("y", 3);
  const char* const texts[] = {a.c_str(), nullptr, b.c_str()};
  OwnedText joined(JoinTexts(3, texts));
  EXPECT_EQ(joined.get(), a + b);
}

}  // namespace

namespace {

std::string ErrorBox(const char* message) {
  char* text = RtComposeErrorText(0, message);
  std::string pattern = "^" + BoxPattern("错误", text) + "\n$";
  RtRelease(text);
  return pattern;
}

// The lengths are noted on the stack, so a count past its room must stop, not overrun it.
TEST(JoinTexts, CountOutOfRangeIsFatal) {
  const char* texts[kJoinTextsMax + 1] = {};
  for (int32_t count : {kJoinTextsMax + 1, -1}) {
    EXPECT_EXIT(
        {
          ReportMessageBoxes();
          JoinTexts(count, texts);
        },
        testing::ExitedWithCode(FatalExitStatus()), ErrorBox("JoinTexts: text count out of range"))
        << count;
  }
}

}  // namespace

// Fuzzes the amount's way into the payment address: whatever bytes the user types, the price
// value holds only unreserved characters and %XX, decodes back to what was typed (or to its
// UTF-8 form), and sits between the prefix and the sign suffix.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "fuzz/stand_ins.h"
#include "recharge/recharge.h"
#include "runtime/rt.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& detail) {
  fprintf(stderr, "FAILED: %s\n%s\n", what, detail.c_str());
  abort();
}

bool IsUnreserved(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

int UpperHexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Checks the form of an encoded value while decoding it.
std::string DecodeEncoded(const std::string& value) {
  std::string decoded;
  for (size_t i = 0; i < value.size(); ++i) {
    if (IsUnreserved(value[i])) {
      decoded += value[i];
      continue;
    }
    if (value[i] != '%' || i + 2 >= value.size() || UpperHexValue(value[i + 1]) < 0 ||
        UpperHexValue(value[i + 2]) < 0) {
      Fail("value holds more than unreserved characters and %XX", value);
    }
    decoded += static_cast<char>(UpperHexValue(value[i + 1]) * 16 + UpperHexValue(value[i + 2]));
    i += 2;
  }
  return decoded;
}

std::string Take(char* text) {
  if (!text) Fail("a text came back null", "");
  std::string copy = text;
  RtRelease(text);
  return copy;
}

void CheckJoin(const std::string& input) {
  // Pieces between NUL bytes, every third one passed as null.
  std::vector<std::string> pieces;
  size_t start = 0;
  while (pieces.size() < static_cast<size_t>(kJoinTextsMax)) {
    size_t end = input.find('\0', start);
    pieces.push_back(input.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  std::vector<const char*> texts;
  std::string expected;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i % 3 == 2) {
      texts.push_back(nullptr);
    } else {
      texts.push_back(pieces[i].c_str());
      expected += pieces[i];
    }
  }
  std::string joined = Take(JoinTexts(static_cast<int32_t>(texts.size()), texts.data()));
  if (joined != expected) Fail("JoinTexts", joined + " != " + expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  // An amount text ends at its first NUL.
  const std::string amount = input.substr(0, input.find('\0'));

  const std::string encoded = Take(EncodeQueryValue(amount.c_str()));
  const std::string decoded = DecodeEncoded(encoded);
  bool ascii = true;
  for (char c : amount) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) {
    if (decoded != amount) Fail("ASCII amount does not decode back", encoded);
  } else if (decoded != Take(RtAnsiToUtf8(amount.c_str()))) {
    Fail("amount does not decode to its UTF-8 form", encoded);
  }

  const std::string prefix =
      std::string("http://") + RECHARGE_PAYMENT_SERVER_HOST + ":999/pay.jsp?uid=test&price=";
  const PaymentMethod methods[] = {Alipay, QQWallet, WeChat};
  for (PaymentMethod method : methods) {
    const std::string url = Take(BuildPaymentUrl(method, amount.c_str()));
    if (url != prefix + encoded + SignSuffix(method)) Fail("BuildPaymentUrl", url);
  }

  CheckJoin(input);

  if (StandInOutstanding() != 0) {
    Fail("texts left unreleased", std::to_string(StandInOutstanding()));
  }
  return 0;
}

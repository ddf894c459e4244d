// What the recharge tests share: owning the texts the code returns.
#pragma once

#include <memory>
#include <string>

#include "runtime/rt.h"

struct RtTextDeleter {
  void operator()(char* text) const { RtRelease(text); }
};
using OwnedText = std::unique_ptr<char, RtTextDeleter>;

// The prefix the build was configured with, spelled out independently of the code.
inline std::string ExpectedPrefix() {
  return std::string("http://") + RECHARGE_PAYMENT_SERVER_HOST + ":999/pay.jsp?uid=test&price=";
}

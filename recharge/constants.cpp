// The program's constant texts, laid out in one area so that the run time can tell them from
// texts it allocated. Kept to ASCII so that any compiler produces the same bytes.
#include <string.h>

#include "recharge/recharge.h"

#define RECHARGE_URL_PREFIX "http://" RECHARGE_PAYMENT_SERVER_HOST ":999/pay.jsp?uid=test&price="
#define RECHARGE_SIGN_KEY "&sign="
#define RECHARGE_ALIPAY_SUFFIX RECHARGE_SIGN_KEY "158029473650284"
#define RECHARGE_QQWALLET_SUFFIX RECHARGE_SIGN_KEY "258029473650284"
#define RECHARGE_WECHAT_SUFFIX RECHARGE_SIGN_KEY "358029473650284"
#define RECHARGE_OPEN_VERB "open"

namespace {

// Where each text starts in the area.
constexpr uint32_t kPrefixAt = 0;
constexpr uint32_t kAlipayAt = kPrefixAt + sizeof(RECHARGE_URL_PREFIX);
constexpr uint32_t kQQWalletAt = kAlipayAt + sizeof(RECHARGE_ALIPAY_SUFFIX);
constexpr uint32_t kWeChatAt = kQQWalletAt + sizeof(RECHARGE_QQWALLET_SUFFIX);
constexpr uint32_t kOpenAt = kWeChatAt + sizeof(RECHARGE_WECHAT_SUFFIX);
constexpr uint32_t kEmptyAt = kOpenAt + sizeof(RECHARGE_OPEN_VERB);

constexpr uint32_t kSignKeyLength = sizeof(RECHARGE_SIGN_KEY) - 1;

// A suffix is the key and a 15-digit sign code.
static_assert(sizeof(RECHARGE_ALIPAY_SUFFIX) - 1 == 21, "sign suffix length");
static_assert(sizeof(RECHARGE_QQWALLET_SUFFIX) - 1 == 21, "sign suffix length");
static_assert(sizeof(RECHARGE_WECHAT_SUFFIX) - 1 == 21, "sign suffix length");

}  // namespace

// The empty text is the literal's own terminator, at kEmptyAt.
const char kConstantTexts[kConstantTextsLength] =
    RECHARGE_URL_PREFIX "\0" RECHARGE_ALIPAY_SUFFIX "\0" RECHARGE_QQWALLET_SUFFIX
                        "\0" RECHARGE_WECHAT_SUFFIX "\0" RECHARGE_OPEN_VERB "\0";
static_assert(sizeof(kConstantTexts) == kEmptyAt + 1, "constant text offsets");

const char* const kDllCommandModules[kDllCommandCount] = {kConstantTexts + kEmptyAt};
const char* const kDllCommandNames[kDllCommandCount] = {"ShellExecuteA"};

const char* PaymentUrlPrefix() {
  return kConstantTexts + kPrefixAt;
}

const char* SignSuffix(PaymentMethod method) {
  switch (method) {
    case Alipay:
      return kConstantTexts + kAlipayAt;
    case QQWallet:
      return kConstantTexts + kQQWalletAt;
    case WeChat:
      return kConstantTexts + kWeChatAt;
  }
  return EmptyText();
}

const char* SignCode(PaymentMethod method) {
  const char* suffix = SignSuffix(method);
  return *suffix == '\0' ? suffix : suffix + kSignKeyLength;
}

const char* OpenVerb() {
  return kConstantTexts + kOpenAt;
}

const char* EmptyText() {
  return kConstantTexts + kEmptyAt;
}

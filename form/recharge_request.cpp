// A click on the recharge button opens the payment page of every checked method, in order.
#include "form/form.h"
#include "recharge/recharge.h"
#include "runtime/rt.h"

namespace {

struct MethodOption {
  PaymentMethod method;
  uint32_t option;
};

const MethodOption kMethodOptions[] = {
    {Alipay, kAlipayOption},
    {QQWallet, kQQWalletOption},
    {WeChat, kWeChatOption},
};

}  // namespace

void OnRechargeButtonClicked(void) {
  for (const MethodOption& entry : kMethodOptions) {
    if (RtReadIntProperty(kMainWindow, entry.option, kRadioCheckedProperty, -1) != 1) continue;
    // Read afresh for every method: nothing is kept between reads.
    char* amount = RtReadTextProperty(kMainWindow, kAmountBox, kComboTextProperty, -1);
    char* url = BuildPaymentUrl(entry.method, amount);
    RtRelease(amount);
    OpenUrl(url);
    RtRelease(url);
  }
}

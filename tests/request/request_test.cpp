// A click on the recharge button, through to the addresses the shell is asked to open.
#include <algorithm>

#include "recharge/recharge.h"
#include "tests/frame/fixture.h"

namespace {

enum Checks : unsigned { kNone = 0, kA = 1, kQ = 2, kW = 4 };

std::string Address(PaymentMethod method, const std::string& price) {
  return std::string(PaymentUrlPrefix()) + price + SignSuffix(method);
}

class RequestTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    ForgetOpenedAddresses();
  }
  // More than one option can be checked only by force: the buttons keep one.
  static void Check(unsigned checks) {
    SendMessageA(Control(kAlipayOption), BM_SETCHECK, (checks & kA) ? BST_CHECKED : 0, 0);
    SendMessageA(Control(kQQWalletOption), BM_SETCHECK, (checks & kQ) ? BST_CHECKED : 0, 0);
    SendMessageA(Control(kWeChatOption), BM_SETCHECK, (checks & kW) ? BST_CHECKED : 0, 0);
  }
  static void SetAmount(const char* text) { SetWindowTextA(Control(kAmountBox), text); }
  static void Click() { UserClick(Control(kRechargeButton)); }
};

struct ClickCase {
  unsigned checks;
  const char* amount;
  std::vector<std::string> opened;
};

TEST_F(RequestTest, OneAddressPerCheckedMethodInOrder) {
  const ClickCase cases[] = {
      {kA, "50", {Address(Alipay, "50")}},
      {kQ, "50", {Address(QQWallet, "50")}},
      {kW, "50", {Address(WeChat, "50")}},
      {kQ, "100", {Address(QQWallet, "100")}},
      {kNone, "50", {}},
      {kA | kW, "7", {Address(Alipay, "7"), Address(WeChat, "7")}},
      {kA | kQ | kW, "", {Address(Alipay, ""), Address(QQWallet, ""), Address(WeChat, "")}},
      {kQ, "1&uid=x#", {Address(QQWallet, "1%26uid%3Dx%23")}},
      {kA, "五十", {Address(Alipay, "%E4%BA%94%E5%8D%81")}},
      {kW, "12.5 abc", {Address(WeChat, "12.5%20abc")}},
  };
  Start();
  for (const ClickCase& c : cases) {
    SCOPED_TRACE(c.amount);
    ForgetOpenedAddresses();
    size_t before = OpenedAddresses(0).size();
    Check(c.checks);
    SetAmount(c.amount);
    Click();
    std::vector<std::string> opened = OpenedAddresses(before + c.opened.size());
    opened.erase(opened.begin(), opened.begin() + static_cast<long>(before));
    // The real shell hands each address to a process of its own, so they may arrive in any
    // order; the order of the calls is pinned where the calls themselves are seen.
    std::vector<std::string> expected = c.opened;
    std::sort(opened.begin(), opened.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(opened, expected);
  }
}

TEST_F(RequestTest, SpaceOnTheButtonOpensTheAlipayPageForTheStartAmount) {
  Start();
  for (int i = 0; i < 4; ++i) UserKey(VK_TAB);
  UserKey(VK_SPACE);
  EXPECT_EQ(OpenedAddresses(1), (std::vector<std::string>{Address(Alipay, "1")}));
}

TEST_F(RequestTest, TheUsersOwnChoiceAndAmount) {
  Start();
  UserClick(Control(kWeChatOption));
  UserPickItem(Control(kAmountBox), 49);
  Click();
  EXPECT_EQ(OpenedAddresses(1), (std::vector<std::string>{Address(WeChat, "50")}));
}

}  // namespace

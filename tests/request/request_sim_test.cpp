// The click where only the simulation can see: reads of the amount box, the module search,
// a shell that fails, and no module exporting the function.
#include <stdio.h>

#include <algorithm>

#include "platform/sim/simctl.h"
#include "recharge/recharge.h"
#include "tests/frame/fixture.h"

namespace {

using Strings = std::vector<std::string>;

class RequestSimTest : public ProgramTest {
 protected:
  static void Click() { UserClick(Control(kRechargeButton)); }
  static void CheckAll() {
    for (uint32_t option : {kAlipayOption, kQQWalletOption, kWeChatOption})
      SendMessageA(Control(option), BM_SETCHECK, BST_CHECKED, 0);
  }
};

TEST_F(RequestSimTest, ShellGetsItsSixArguments) {
  Start();
  Click();
  ASSERT_EQ(SimShellCalls().size(), 1u);
  const SimShellCall& call = SimShellCalls()[0];
  EXPECT_EQ(call.owner, nullptr);
  EXPECT_EQ(call.op, "open");
  EXPECT_EQ(call.file, std::string(PaymentUrlPrefix()) + "1&sign=158029473650284");
  EXPECT_EQ(call.params, "");  // empty texts, not null
  EXPECT_EQ(call.dir, "");
  EXPECT_EQ(call.show, SW_SHOWNORMAL);
}

TEST_F(RequestSimTest, NothingCheckedReadsNothing) {
  Start();
  SendMessageA(Control(kAlipayOption), BM_SETCHECK, BST_UNCHECKED, 0);
  size_t allocations = SimHeapAllocations();
  Click();
  EXPECT_EQ(SimHeapAllocations(), allocations);  // a read of the box would allocate its text
  EXPECT_TRUE(SimShellCalls().empty());
  EXPECT_TRUE(SimModuleLog().empty());
}

// One call per checked method, in the order Alipay, QQ Wallet, WeChat.
TEST_F(RequestSimTest, TheAmountIsReadAfreshForEveryMethod) {
  Start();
  CheckAll();
  int call = 0;
  SimSetShellHook([&](const SimShellCall&) {
    SetWindowTextA(Control(kAmountBox), std::to_string(++call * 10).c_str());
  });
  Click();
  Strings files;
  for (const SimShellCall& c : SimShellCalls()) files.push_back(*c.file);
  EXPECT_EQ(files, (Strings{std::string(PaymentUrlPrefix()) + "1" + SignSuffix(Alipay),
                            std::string(PaymentUrlPrefix()) + "10" + SignSuffix(QQWallet),
                            std::string(PaymentUrlPrefix()) + "20" + SignSuffix(WeChat)}));
}

TEST_F(RequestSimTest, EveryTextOfAClickIsReleased) {
  Start();
  CheckAll();
  Click();  // binds the function, which holds what it holds until shutdown
  size_t outstanding = SimHeapOutstanding();
  Click();
  EXPECT_EQ(SimHeapOutstanding(), outstanding);
}

TEST_F(RequestSimTest, TheSystemModulesAreSearchedOnceInOrder) {
  Start();
  Click();
  const Strings first_search = {"load Kernel32.dll", "free Kernel32.dll", "load Gdi32.dll",
                                "free Gdi32.dll",    "load User32.dll",   "free User32.dll",
                                "load Advapi32.dll", "free Advapi32.dll", "load Mpr.dll",
                                "free Mpr.dll",      "load Shell32.dll"};
  EXPECT_EQ(SimModuleLog(), first_search);
  Click();
  Click();
  EXPECT_EQ(SimModuleLog(), first_search);  // later clicks load nothing
  EXPECT_EQ(SimShellCalls().size(), 3u);
  EXPECT_EQ(SimModuleRefCount("Shell32.dll"), 1);
  RtShutdown();
  EXPECT_EQ(SimModuleRefCount("Shell32.dll"), 0);
  EXPECT_EQ(SimModuleLog().back(), "free Shell32.dll");
}

TEST_F(RequestSimTest, AModuleThatFailsToLoadIsSkipped) {
  SimSetModuleLoads("Gdi32.dll", false);
  Start();
  Click();
  const Strings log = SimModuleLog();
  EXPECT_EQ(std::count(log.begin(), log.end(), "load-failed Gdi32.dll"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "free Gdi32.dll"), 0);
  EXPECT_EQ(log.back(), "load Shell32.dll");
  EXPECT_EQ(SimShellCalls().size(), 1u);
}

TEST_F(RequestSimTest, AFailingShellDoesNotStopTheNextMethod) {
  Start();
  CheckAll();
  SimSetShellResult(2);  // "file not found"
  Click();
  EXPECT_EQ(SimShellCalls().size(), 3u);
  EXPECT_TRUE(SimMessageBoxes().empty());
}

TEST_F(RequestSimTest, NoModuleExportsTheFunction) {
  EXPECT_EXIT(
      {
        SimRemoveExport("Shell32.dll", "ShellExecuteA");
        ReportMessageBoxes();
        Start();
        SimSetShellHook([](const SimShellCall&) { fprintf(stderr, "opened\n"); });
        Click();
      },
      ::testing::ExitedWithCode(FatalExitStatus()),
      "^" +
          BoxPattern(
              "错误",
              "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件中的输出命令“ShellExecuteA”\r\n") +
          "\n$");
}

}  // namespace

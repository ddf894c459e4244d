// What only the simulation can see: how often the code allocates, that it leaves nothing behind,
// and the shell call OpenUrl makes.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "platform/sim/simctl.h"
#include "recharge/recharge.h"
#include "runtime/rt.h"
#include "tests/recharge/recharge_test.h"
#include "tests/support/support.h"

namespace {

class RechargeHeapTest : public testing::Test {
 protected:
  void SetUp() override { ResetPlatform(); }
};

TEST_F(RechargeHeapTest, JoinTextsAllocatesOnceAtTheFinalSize) {
  const char* const texts[] = {"abc", nullptr, "", "defg"};
  const size_t allocations = SimHeapAllocations();
  const size_t bytes = SimHeapOutstandingBytes();
  char* joined = JoinTexts(4, texts);
  EXPECT_EQ(SimHeapAllocations() - allocations, 1u);
  EXPECT_EQ(SimHeapOutstandingBytes() - bytes, strlen("abcdefg") + 1);
  RtRelease(joined);
  EXPECT_EQ(SimHeapOutstandingBytes(), bytes);
}

TEST_F(RechargeHeapTest, EmptyJoinStillAllocatesItsTerminator) {
  const char* const texts[] = {nullptr, nullptr, nullptr};
  const size_t bytes = SimHeapOutstandingBytes();
  char* joined = JoinTexts(3, texts);
  EXPECT_EQ(SimHeapOutstandingBytes() - bytes, 1u);
  RtRelease(joined);
}

// An ASCII amount needs no conversion: its encoded value and the address are all there is.
TEST_F(RechargeHeapTest, AsciiAmountTakesTwoAllocationsAndLeavesOnlyTheAddress) {
  const char* const kAmounts[] = {"50", "1&uid=x#", "", nullptr};
  for (const char* amount : kAmounts) {
    SCOPED_TRACE(amount ? amount : "<none>");
    const size_t allocations = SimHeapAllocations();
    const size_t blocks = SimHeapOutstanding();
    const size_t bytes = SimHeapOutstandingBytes();
    char* url = BuildPaymentUrl(QQWallet, amount);
    EXPECT_EQ(SimHeapAllocations() - allocations, 2u);
    EXPECT_EQ(SimHeapOutstanding() - blocks, 1u);
    EXPECT_EQ(SimHeapOutstandingBytes() - bytes, strlen(url) + 1);
    RtRelease(url);
    EXPECT_EQ(SimHeapOutstanding(), blocks);
  }
}

TEST_F(RechargeHeapTest, ChineseAmountLeavesOnlyTheAddress) {
  const size_t blocks = SimHeapOutstanding();
  char* url = BuildPaymentUrl(WeChat, "五十");
  EXPECT_EQ(SimHeapOutstanding() - blocks, 1u);
  EXPECT_EQ(url, ExpectedPrefix() + "%E4%BA%94%E5%8D%81&sign=358029473650284");
  RtRelease(url);
  EXPECT_EQ(SimHeapOutstanding(), blocks);
}

// OpenUrl on its own, through a run time that knows nothing but the shell function.
class OpenUrlTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetPlatform();
    RtInitialize(&program_);
  }
  void TearDown() override { RtShutdown(); }

 private:
  static constexpr RtWindowLayout kWindow = {
      0x52010001,
      {0x06010000, kRtKindWindow, "W", 0, 0, 10, 10, 0, 0, "", 0, {0, nullptr}, nullptr},
      0,
      nullptr};
  static constexpr RtLayoutBlock kLayout = {1, &kWindow};
  const ProgramDescriptor program_ = {0,
                                      nullptr,
                                      0,
                                      kConstantTexts,
                                      kConstantTextsLength,
                                      &kLayout,
                                      0,
                                      nullptr,
                                      kDllCommandCount,
                                      kDllCommandModules,
                                      kDllCommandNames};
};

TEST_F(OpenUrlTest, HandsTheShellItsSixArgumentsAndBorrowsTheUrl) {
  char url[] = "http://127.0.0.1:999/pay.jsp?uid=test&price=50&sign=158029473650284";
  const size_t blocks = SimHeapOutstanding();
  OpenUrl(url);
  ASSERT_EQ(SimShellCalls().size(), 1u);
  const SimShellCall& call = SimShellCalls()[0];
  EXPECT_EQ(call.owner, nullptr);
  EXPECT_EQ(call.op, "open");
  EXPECT_EQ(call.file, std::string(url));
  EXPECT_EQ(call.params, "");  // the empty text, not null
  EXPECT_EQ(call.dir, "");
  EXPECT_EQ(call.show, SW_SHOWNORMAL);
  EXPECT_STREQ(url, "http://127.0.0.1:999/pay.jsp?uid=test&price=50&sign=158029473650284");
  EXPECT_EQ(SimHeapOutstanding(), blocks);
}

// The shell's answer is no concern of OpenUrl's: a failure neither stops nor reports anything.
TEST_F(OpenUrlTest, IgnoresAFailingShell) {
  SimSetShellResult(2);  // SE_ERR_FNF
  OpenUrl("a");
  OpenUrl("b");
  ASSERT_EQ(SimShellCalls().size(), 2u);
  EXPECT_EQ(SimShellCalls()[1].file, "b");
  EXPECT_TRUE(SimMessageBoxes().empty());
}

}  // namespace

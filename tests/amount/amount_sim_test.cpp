// The amount box where only the simulation can reach: refused items, heap accounting, and an
// allocator that finds no memory.
#include "platform/sim/simctl.h"
#include "tests/frame/fixture.h"

namespace {

class AmountSimTest : public ProgramTest {
 protected:
  static HWND Box() { return Control(kAmountBox); }
  static int Count() { return static_cast<int>(SendMessageA(Box(), CB_GETCOUNT, 0, 0)); }
};

TEST_F(AmountSimTest, RefusedItemsAreMissingAndTheRestFollow) {
  SimRefuseComboItems([](const std::string& text, int) { return text == "1" || text == "50"; });
  Start();
  ASSERT_EQ(Count(), 98);
  char text[8];
  SendMessageA(Box(), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "2");
  SendMessageA(Box(), CB_GETLBTEXT, 48, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "51");
  EXPECT_EQ(TextOf(Box()), "2");
}

TEST_F(AmountSimTest, ABoxThatTakesNothingStaysEmpty) {
  SimRefuseComboItems([](const std::string&, int) { return true; });
  Start();
  EXPECT_EQ(Count(), 0);
  EXPECT_EQ(SendMessageA(Box(), CB_GETCURSEL, 0, 0), -1);
  EXPECT_EQ(TextOf(Box()), "");
}

TEST_F(AmountSimTest, AddItemAnswersMinusOneForARefusal) {
  Start();
  SimRefuseComboItems([](const std::string& text, int) { return text == "x"; });
  EXPECT_EQ(RtComboAddItem(kMainWindow, kAmountBox, "x", nullptr), -1);
  int32_t value = 77;
  EXPECT_EQ(RtComboAddItem(kMainWindow, kAmountBox, "y", &value), 100);
  EXPECT_EQ(SendMessageA(Box(), CB_GETITEMDATA, 100, 0), 77);
}

// Wine keeps the font's item height for a box that is not owner-drawn, whatever it is told, so
// the extra pixel shows only here.
TEST_F(AmountSimTest, ItemsAreOnePixelHigherThanTheFontGives) {
  Start();
  // One pixel above what the system gives the same font in a box of its own.
  HWND plain = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWN, 0, 0, 100, 160, Main(),
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(plain, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  EXPECT_EQ(SendMessageA(Box(), CB_GETITEMHEIGHT, 0, 0),
            SendMessageA(plain, CB_GETITEMHEIGHT, 0, 0) + 1);
  DestroyWindow(plain);
}

size_t g_outstanding_before, g_outstanding_after, g_allocations;
void CountCreated() {
  g_outstanding_before = SimHeapOutstanding();
  size_t allocations = SimHeapAllocations();
  OnMainWindowCreated();
  g_allocations = SimHeapAllocations() - allocations;
  g_outstanding_after = SimHeapOutstanding();
}
void Nothing() {}

TEST_F(AmountSimTest, TheHandlerReleasesEveryTextItMakes) {
  StartWith(CountCreated, Nothing);
  EXPECT_EQ(g_allocations, 100u);  // one text per amount
  EXPECT_EQ(g_outstanding_after, g_outstanding_before);
}

TEST_F(AmountSimTest, ReadsLeaveNothingBehindOnceReleased) {
  Start();
  size_t before = SimHeapOutstanding();
  for (int i = 0; i < 3; ++i) RtRelease(RtReadTextProperty(kMainWindow, kAmountBox, 9, -1));
  EXPECT_EQ(SimHeapOutstanding(), before);
}

std::string OutOfMemoryBox(int bytes) {
  std::string message = "分配 " + std::to_string(bytes) + " 字节内存失败!";
  return "^" + BoxPattern("错误", ("运行时出错!\r\n\r\n错误信息：" + message + "\r\n").c_str()) +
         "\n$";
}

TEST_F(AmountSimTest, AllocationFailureEndsWithTheBox) {
  EXPECT_EXIT(
      {
        ReportMessageBoxes();
        Start();
        SimFailAllocationAfter(0);
        RtIntToText(57);
      },
      ::testing::ExitedWithCode(FatalExitStatus()), OutOfMemoryBox(3));
  EXPECT_EXIT(
      {
        ReportMessageBoxes();
        Start();
        SimFailAllocationAfter(0);
        RtReadTextProperty(kMainWindow, kAmountBox, 9, -1);  // "1" and its terminator
      },
      ::testing::ExitedWithCode(FatalExitStatus()), OutOfMemoryBox(2));
}

}  // namespace

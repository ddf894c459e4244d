// The amount box: filled at start, the selection write, and the text read, on both platforms.
#include <limits.h>

#include "tests/frame/fixture.h"

namespace {

class AmountTest : public ProgramTest {
 protected:
  static HWND Box() { return Control(kAmountBox); }
  static int Selection() { return static_cast<int>(SendMessageA(Box(), CB_GETCURSEL, 0, 0)); }
  static int Count() { return static_cast<int>(SendMessageA(Box(), CB_GETCOUNT, 0, 0)); }
  static std::string Item(int index) {
    char text[32] = {};
    SendMessageA(Box(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
  }
  // Property 9 of the box, as the recharge button reads it; "<none>" for no text.
  static std::string Read() {
    char* text = RtReadTextProperty(kMainWindow, kAmountBox, kComboTextProperty, -1);
    std::string value = text ? text : "<none>";
    RtRelease(text);
    return value;
  }
  static void WriteSelection(int32_t value) {
    RtWriteIntProperty(kMainWindow, kAmountBox, kComboSelectionProperty, -1, value);
  }
  void FocusBox() {
    for (int i = 0; i < 3; ++i) UserKey(VK_TAB);
    ASSERT_EQ(Focused(), kAmountBox);
  }
};

TEST_F(AmountTest, StartsWithOneToHundredInNumericOrder) {
  Start();
  ASSERT_EQ(Count(), 100);
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(Item(i), std::to_string(i + 1));
    EXPECT_EQ(SendMessageA(Box(), CB_GETITEMDATA, static_cast<WPARAM>(i), 0), 0);
  }
  EXPECT_EQ(Selection(), 0);
  EXPECT_EQ(TextOf(Box()), "1");
  EXPECT_EQ(Read(), "1");
}

int g_count_at_created;
bool g_visible_at_created;
void ObserveCreated() {
  OnMainWindowCreated();
  HWND box = static_cast<HWND>(RtControlWindow(kMainWindow, kAmountBox));
  g_count_at_created = static_cast<int>(SendMessageA(box, CB_GETCOUNT, 0, 0));
  g_visible_at_created = IsWindowVisible(static_cast<HWND>(RtControlWindow(kMainWindow, 0)));
}
void Nothing() {}

TEST_F(AmountTest, FilledBeforeTheWindowIsShown) {
  StartWith(ObserveCreated, Nothing);
  EXPECT_EQ(g_count_at_created, 100);
  EXPECT_FALSE(g_visible_at_created);
}

TEST_F(AmountTest, CreatedWithTheDefaultsOfItsKind) {
  StartWith(Nothing, Nothing);
  EXPECT_EQ(Count(), 0);
  EXPECT_EQ(Selection(), -1);
  EXPECT_EQ(TextOf(Box()), "");
  EXPECT_EQ(Read(), "<none>");
}

struct SelectionCase {
  int32_t value;
  int selection;
  const char* text;
};

TEST_F(AmountTest, SelectionWriteIsClampedToTheList) {
  Start();
  const SelectionCase cases[] = {
      {0, 0, "1"},      {56, 56, "57"},       {99, 99, "100"},   {100, 99, "100"},
      {150, 99, "100"}, {INT_MAX, 99, "100"}, {5, 5, "6"},       {-1, -1, ""},
      {3, 3, "4"},      {-5, -1, ""},         {INT_MIN, -1, ""},
  };
  for (const SelectionCase& c : cases) {
    SCOPED_TRACE(c.value);
    WriteSelection(c.value);
    EXPECT_EQ(Selection(), c.selection);
    EXPECT_EQ(TextOf(Box()), c.text);
  }
}

TEST_F(AmountTest, SelectionWriteOnAnEmptyListSelectsNothing) {
  StartWith(Nothing, Nothing);
  for (int32_t value : {0, 1, 5, -1, -7, INT_MAX}) {
    WriteSelection(value);
    EXPECT_EQ(Selection(), -1) << value;
    EXPECT_EQ(TextOf(Box()), "") << value;
  }
}

TEST_F(AmountTest, ReadGivesWhatWasPicked) {
  Start();
  UserPickItem(Box(), 56);
  EXPECT_EQ(Read(), "57");
  UserPickItem(Box(), 99);
  EXPECT_EQ(Read(), "100");
}

TEST_F(AmountTest, ReadGivesWhatWasTyped) {
  Start();
  FocusBox();
  for (const char* typed : {"abc", "0", "1000", "12.5", "五十元", "a b"}) {
    SCOPED_TRACE(typed);
    UserClearField();
    UserType(typed);
    EXPECT_EQ(Read(), typed);
    EXPECT_EQ(Count(), 100);  // typing leaves the list alone
  }
}

TEST_F(AmountTest, ClearedFieldReadsAsNone) {
  Start();
  FocusBox();
  UserClearField();
  EXPECT_EQ(Read(), "<none>");
}

TEST_F(AmountTest, PickingAfterTypingGivesTheItem) {
  Start();
  FocusBox();
  UserType("abc");
  ASSERT_EQ(Read(), "abc");
  UserPickItem(Box(), 4);
  EXPECT_EQ(Read(), "5");
}

TEST_F(AmountTest, TwoReadsGiveEqualButSeparateTexts) {
  Start();
  char* first = RtReadTextProperty(kMainWindow, kAmountBox, kComboTextProperty, -1);
  char* second = RtReadTextProperty(kMainWindow, kAmountBox, kComboTextProperty, -1);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_STREQ(first, second);
  RtRelease(first);
  RtRelease(second);
}

TEST(IntToText, RendersLikePercentD) {
  const std::pair<int32_t, const char*> cases[] = {{0, "0"},
                                                   {1, "1"},
                                                   {100, "100"},
                                                   {-7, "-7"},
                                                   {INT_MAX, "2147483647"},
                                                   {INT_MIN, "-2147483648"}};
  for (const auto& c : cases) {
    char* text = RtIntToText(c.first);
    EXPECT_STREQ(text, c.second);
    RtRelease(text);
  }
}

std::string ErrorBox(const char* message) {
  char* text = RtComposeErrorText(0, message);
  std::string pattern = "^" + BoxPattern("错误", text) + "\n$";
  RtRelease(text);
  return pattern;
}

void ReadFromAWindowThatIsGone() {
  RtInitialize(&kProgramDescriptor);
  RtLoadWindow(kMainWindow);
  DestroyWindow(static_cast<HWND>(RtControlWindow(kMainWindow, 0)));
  RtReadTextProperty(kMainWindow, kAmountBox, kComboTextProperty, -1);
}

TEST_F(AmountTest, OperationsOnMissingWindowsAndControls) {
  EXPECT_EXIT(
      {
        ReportMessageBoxes();
        ReadFromAWindowThatIsGone();
      },
      ::testing::ExitedWithCode(FatalExitStatus()), ErrorBox("未载入欲访问窗口组件所在的窗口"));
  EXPECT_EXIT(
      {
        ReportMessageBoxes();
        Start();
        RtWriteIntProperty(0x52010009, kAmountBox, kComboSelectionProperty, -1, 0);
      },
      ::testing::ExitedWithCode(FatalExitStatus()), ErrorBox("未载入欲访问窗口组件所在的窗口"));
  EXPECT_EXIT(
      {
        ReportMessageBoxes();
        Start();
        RtReadTextProperty(kMainWindow, 0x16010042, kComboTextProperty, -1);
      },
      ::testing::ExitedWithCode(FatalExitStatus()), ErrorBox("指定窗口尚未载入"));
  EXPECT_EXIT(
      {
        ReportMessageBoxes();
        Start();
        RtComboAddItem(kMainWindow, 0x16010042, "1", nullptr);
      },
      ::testing::ExitedWithCode(FatalExitStatus()), ErrorBox("指定窗口或窗口组件不存在或尚未载入"));
}

}  // namespace

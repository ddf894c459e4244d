// Start-up, the main window, keyboard handling, closing: against the simulation and real USER32.
#include <stdio.h>

#include <algorithm>

#include "tests/frame/fixture.h"

namespace {

using Events = std::vector<std::string>;

TEST_F(ProgramTest, WindowIsCentredWithItsOuterSize) {
  Start();
  RECT outer;
  GetWindowRect(Main(), &outer);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 380) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 250) / 2);
  EXPECT_EQ(outer.right - outer.left, 380);
  EXPECT_EQ(outer.bottom - outer.top, 250);
  EXPECT_TRUE(IsWindowVisible(Main()));
  EXPECT_EQ(TextOf(Main()), "");
}

TEST_F(ProgramTest, WindowStyles) {
  Start();
  DWORD style = static_cast<DWORD>(GetWindowLongA(Main(), GWL_STYLE));
  for (DWORD wanted :
       {DWORD{WS_CAPTION}, DWORD{WS_SYSMENU}, DWORD{WS_MINIMIZEBOX}, DWORD{WS_CLIPCHILDREN}})
    EXPECT_EQ(style & wanted, wanted) << std::hex << wanted;
  for (DWORD unwanted :
       {DWORD{WS_THICKFRAME}, DWORD{WS_MAXIMIZEBOX}, DWORD{WS_CHILD}, DWORD{WS_POPUP}})
    EXPECT_EQ(style & unwanted, 0u) << std::hex << unwanted;
  // Windows adds the edge of a captioned window by itself; nothing else is asked for.
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(Main(), GWL_EXSTYLE)) & ~DWORD{WS_EX_WINDOWEDGE}, 0u);
  EXPECT_EQ(GetWindow(Main(), GW_OWNER), nullptr);  // its own taskbar button
}

struct ControlCase {
  uint32_t number;
  const char* class_name;
  DWORD style;  // besides WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE
  const char* text;
  RECT place;  // left, top, right, bottom in the window's client area
};

TEST_F(ProgramTest, ControlsAsStored) {
  Start();
  const DWORD kRadio = WS_TABSTOP | BS_AUTORADIOBUTTON | BS_MULTILINE | BS_LEFT | BS_VCENTER;
  const ControlCase cases[] = {
      {kRechargeButton,
       "Button",
       WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER,
       "在线充值",
       {120, 152, 248, 184}},
      {kUnitLabel, "RechargeRtLabel", 0, "元", {263, 40, 303, 64}},
      {kAmountLabel, "RechargeRtLabel", 0, "充值金额", {46, 40, 118, 64}},
      {kWeChatOption, "Button", kRadio, "微信", {272, 96, 360, 120}},
      {kQQWalletOption, "Button", kRadio, "QQ钱包", {156, 96, 244, 120}},
      {kAlipayOption, "Button", kRadio, "支付宝", {40, 96, 128, 120}},
  };
  for (const ControlCase& c : cases) {
    SCOPED_TRACE(c.text);
    HWND control = Control(c.number);
    ASSERT_NE(control, nullptr);
    char name[32];
    GetClassNameA(control, name, sizeof name);
    EXPECT_STRCASEEQ(name, c.class_name);
    DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    DWORD expected = WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE | c.style;
    // Windows gives a radio button WS_TABSTOP only while it is checked; the run time's own Tab
    // handling goes by the stored tab stop instead.
    DWORD mask = expected | WS_TABSTOP | WS_GROUP | WS_DISABLED | 0xFFF;
    if (c.style & BS_AUTORADIOBUTTON) {
      mask &= ~DWORD{WS_TABSTOP};
      EXPECT_EQ((style & WS_TABSTOP) != 0, Checked(c.number));
    }
    EXPECT_EQ(style & mask, expected & mask);
    EXPECT_EQ(TextOf(control), c.text);
    RECT place;
    GetWindowRect(control, &place);
    ScreenToClient(Main(), reinterpret_cast<POINT*>(&place.left));
    ScreenToClient(Main(), reinterpret_cast<POINT*>(&place.right));
    EXPECT_EQ(place.left, c.place.left);
    EXPECT_EQ(place.top, c.place.top);
    EXPECT_EQ(place.right, c.place.right);
    EXPECT_EQ(place.bottom, c.place.bottom);
    EXPECT_EQ(GetParent(control), Main());
  }
  HWND box = Control(kAmountBox);
  DWORD box_style = static_cast<DWORD>(GetWindowLongA(box, GWL_STYLE));
  // (WS_VSCROLL, given at creation, passes on to the box's list.)
  DWORD wanted =
      WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN | CBS_AUTOHSCROLL;
  EXPECT_EQ(box_style & (wanted | WS_GROUP | CBS_SORT | 3), wanted);
  // The stored height of 20 is raised to 160, which the closed box and its list share.
  RECT closed, dropped;
  GetWindowRect(box, &closed);
  SendMessageA(box, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  // (How the two split it is the system's own; the stored 20 alone would leave no list.)
  EXPECT_GT(dropped.bottom - closed.top, 120);
}

TEST_F(ProgramTest, StackingFollowsStoredOrder) {
  Start();
  const uint32_t top_to_bottom[] = {kRechargeButton, kUnitLabel,      kAmountBox,   kAmountLabel,
                                    kWeChatOption,   kQQWalletOption, kAlipayOption};
  HWND child = GetWindow(Main(), GW_CHILD);
  for (uint32_t number : top_to_bottom) {
    EXPECT_EQ(child, Control(number)) << std::hex << number;
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr);
}

TEST_F(ProgramTest, StartsWithAlipayCheckedAndFocused) {
  Start();
  EXPECT_TRUE(Checked(kAlipayOption));
  EXPECT_FALSE(Checked(kQQWalletOption));
  EXPECT_FALSE(Checked(kWeChatOption));
  EXPECT_EQ(Focused(), kAlipayOption);
  EXPECT_EQ(GetActiveWindow(), Main());
}

// Loading raises created, 3, 4 and -7 on the focused record, in this order, and nothing that
// building the window produced reaches a handler.
TEST_F(ProgramTest, LoadingRaisesOnlyItsOwnEvents) {
  Start(LoggingProgram());
  EXPECT_EQ(g_events, (Events{"window 0", "window 3", "window 4", "16010002 -7"}));
  EXPECT_TRUE(RtIsWindowLoaded(kMainWindow));
}

bool g_visible_at_created;
bool g_box_filled_at_created;
int g_created_calls;

void CreatedObserver() {
  ++g_created_calls;
  OnMainWindowCreated();
  g_visible_at_created = IsWindowVisible(static_cast<HWND>(RtControlWindow(kMainWindow, 0)));
  g_box_filled_at_created =
      SendMessageA(static_cast<HWND>(RtControlWindow(kMainWindow, kAmountBox)), CB_GETCOUNT, 0,
                   0) == 100;
}

void NoHandler() {}

TEST_F(ProgramTest, CreatedRunsOnceBeforeTheWindowIsVisible) {
  g_created_calls = 0;
  StartWith(CreatedObserver, NoHandler);
  UserKey(VK_TAB);
  UserClick(Control(kQQWalletOption));
  EXPECT_EQ(g_created_calls, 1);
  EXPECT_FALSE(g_visible_at_created);
  EXPECT_TRUE(g_box_filled_at_created);
}

TEST_F(ProgramTest, TabCyclesThroughTheTabStops) {
  Start();
  const uint32_t forward[] = {kQQWalletOption, kWeChatOption, kAmountBox,
                              kRechargeButton, kAlipayOption, kQQWalletOption};
  for (uint32_t expected : forward) {
    UserKey(VK_TAB);
    EXPECT_EQ(Focused(), expected) << std::hex << expected;
  }
  const uint32_t backward[] = {kAlipayOption, kRechargeButton, kAmountBox,
                               kWeChatOption, kQQWalletOption, kAlipayOption};
  for (uint32_t expected : backward) {
    UserKey(VK_TAB, kShift);
    EXPECT_EQ(Focused(), expected) << std::hex << expected;
  }
}

TEST_F(ProgramTest, ArrowsMoveTheCheckAmongTheOptions) {
  Start();
  struct Step {
    UINT key;
    uint32_t lands_on;
  };
  const Step steps[] = {{VK_DOWN, kQQWalletOption}, {VK_DOWN, kWeChatOption},
                        {VK_DOWN, kAlipayOption},   {VK_UP, kWeChatOption},
                        {VK_LEFT, kQQWalletOption}, {VK_RIGHT, kWeChatOption},
                        {VK_RIGHT, kAlipayOption},  {VK_LEFT, kWeChatOption}};
  for (const Step& step : steps) {
    UserKey(step.key);
    SCOPED_TRACE(step.key);
    EXPECT_EQ(Focused(), step.lands_on);
    for (uint32_t option : {kAlipayOption, kQQWalletOption, kWeChatOption})
      EXPECT_EQ(Checked(option), option == step.lands_on) << std::hex << option;
  }
}

TEST_F(ProgramTest, ArrowsRaiseTheOptionsClickedEvent) {
  Start(LoggingProgram());
  g_events.clear();
  UserKey(VK_RIGHT);
  EXPECT_NE(std::find(g_events.begin(), g_events.end(), "16010003 0"), g_events.end());
}

TEST_F(ProgramTest, ControlsRaiseFocusEventsWhenTheFocusMoves) {
  Start(LoggingProgram());
  g_events.clear();
  UserKey(VK_TAB);
  UserKey(VK_TAB);
  UserKey(VK_TAB);
  UserKey(VK_TAB);
  EXPECT_EQ(g_events, (Events{"16010002 -8", "16010003 -7", "16010003 -8", "16010004 -7",
                              "16010004 -8", "16010006 -7", "16010006 -8", "1601000B -7"}));
}

TEST_F(ProgramTest, ClickOnAnOptionChecksItAlone) {
  Start();
  UserClick(Control(kQQWalletOption));
  EXPECT_TRUE(Checked(kQQWalletOption));
  EXPECT_FALSE(Checked(kAlipayOption));
  EXPECT_FALSE(Checked(kWeChatOption));
  EXPECT_EQ(Focused(), kQQWalletOption);
}

int g_clicks;
void CountClick() {
  ++g_clicks;
}

TEST_F(ProgramTest, SpaceAndClickPressTheButtonButEnterDoesNot) {
  g_clicks = 0;
  StartWith(OnMainWindowCreated, CountClick);
  for (int i = 0; i < 4; ++i) UserKey(VK_TAB);
  ASSERT_EQ(Focused(), kRechargeButton);
  UserKey(VK_RETURN);
  EXPECT_EQ(g_clicks, 0);
  UserKey(VK_SPACE);
  EXPECT_EQ(g_clicks, 1);
  UserClick(Control(kRechargeButton));
  EXPECT_EQ(g_clicks, 2);
  UserKey(VK_F1);
  EXPECT_EQ(g_clicks, 2);
  EXPECT_TRUE(IsWindow(Main()));
}

TEST_F(ProgramTest, EnterInTheAmountBoxLeavesTheWindowOpen) {
  Start();
  for (int i = 0; i < 3; ++i) UserKey(VK_TAB);
  UserKey(VK_RETURN);
  EXPECT_TRUE(IsWindow(Main()));
  EXPECT_EQ(Focused(), kAmountBox);
}

TEST_F(ProgramTest, FocusReturnsToTheLastControlOnReactivation) {
  Start();
  UserKey(VK_TAB);
  UserKey(VK_TAB);
  ASSERT_EQ(Focused(), kWeChatOption);
  ActivateOtherWindow();
  EXPECT_NE(GetActiveWindow(), Main());
  ReactivateWindow(Main());
  EXPECT_EQ(GetActiveWindow(), Main());
  EXPECT_EQ(Focused(), kWeChatOption);
}

enum class CloseBy { kEscape, kEscapeWithListDown, kAltF4, kCloseButton };

class CloseTest : public ProgramTest, public ::testing::WithParamInterface<CloseBy> {};

TEST_P(CloseTest, ClosingDestroysTheWindowAndEndsTheLoop) {
  Start(LoggingProgram());
  switch (GetParam()) {
    case CloseBy::kEscape:
      break;
    case CloseBy::kEscapeWithListDown:
      UserKey(VK_TAB);
      UserKey(VK_TAB);
      UserKey(VK_TAB);
      SendMessageA(Control(kAmountBox), CB_SHOWDROPDOWN, TRUE, 0);
      ASSERT_TRUE(SendMessageA(Control(kAmountBox), CB_GETDROPPEDSTATE, 0, 0));
      break;
    default:
      break;
  }
  g_events.clear();
  HWND main = Main();
  // Closing inside the loop, as a user would: the loop then takes its quit message and returns.
  static CloseBy how;
  static HWND target;
  how = GetParam();
  target = main;
  RtSetIdleRoutine([] {
    RtSetIdleRoutine(nullptr);
    switch (how) {
      case CloseBy::kEscape:
      case CloseBy::kEscapeWithListDown:
        UserKey(VK_ESCAPE);
        break;
      case CloseBy::kAltF4:
        UserKey(VK_F4, kAlt);
        break;
      case CloseBy::kCloseButton:
        UserCloseButton(target);
        break;
    }
  });
  RtRunMessageLoop();
  EXPECT_FALSE(IsWindow(main));
  EXPECT_FALSE(RtIsWindowLoaded(kMainWindow));
  // The close request (12, then 1) and the destruction (2), in this order.
  std::vector<std::string> window_events;
  for (const std::string& event : g_events)
    if (event.rfind("window ", 0) == 0) window_events.push_back(event);
  EXPECT_EQ(window_events, (Events{"window 12", "window 1", "window 2"}));
}

INSTANTIATE_TEST_SUITE_P(Ways, CloseTest,
                         ::testing::Values(CloseBy::kEscape, CloseBy::kEscapeWithListDown,
                                           CloseBy::kAltF4, CloseBy::kCloseButton));

void DestroyWhileCreated() {
  g_events.push_back("created");
  DestroyWindow(static_cast<HWND>(RtControlWindow(kMainWindow, 0)));
}

void LogMoved() {
  g_events.push_back("moved");
}

TEST_F(ProgramTest, AHandlerThatDestroysTheWindowDuringLoading) {
  static const RtEventBinding bindings[] = {{0, 0}, {3, 1}};
  RtWindowLayout window = kLayoutBlock.windows[0];
  window.self.events = {2, bindings};
  RtLayoutBlock block = {1, &window};
  static const RtHandler handlers[] = {DestroyWhileCreated, LogMoved};
  ProgramDescriptor program = kProgramDescriptor;
  program.layout = &block;
  program.handlers = handlers;
  program.handler_count = 2;
  Start(&program);
  EXPECT_EQ(g_events, (Events{"created"}));  // the rest of the loading is skipped
  EXPECT_FALSE(RtIsWindowLoaded(kMainWindow));
  RtRunMessageLoop();  // finds no window and returns at once
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

// The whole program: closed by the user, it ends with 0 after its exit routine ran once.
void PrintExitRoutine() {
  static int calls;
  fprintf(stderr, "exit routine %d\n", ++calls);
}

TEST_F(ProgramTest, ClosingEndsTheProcessWithZero) {
  EXPECT_EXIT(
      {
        RtSetIdleRoutine([] {
          RtSetIdleRoutine(nullptr);
          RtRegisterExitRoutine(PrintExitRoutine);
          RtRegisterExitRoutine(PrintExitRoutine);  // once only
          UserKey(VK_ESCAPE);
        });
        RtRunProgram(AppMain);
      },
      ::testing::ExitedWithCode(0), "^exit routine 1\n$");
}

struct ErrorTextCase {
  int32_t code;
  const char* message;
  const char* text;
};

TEST(FatalErrorText, PiecesDependOnCodeAndMessage) {
  const ErrorTextCase cases[] = {
      {0, "载入启动窗口失败", "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
      {6, "调用DLL命令后发现堆栈错误",
       "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n"},
      {0, "", "运行时出错!\r\n\r\n"},
      {0, nullptr, "运行时出错!\r\n\r\n"},
      {-2147483647 - 1, "", "运行时出错!\r\n\r\n错误代码：-2147483648\r\n\r\n"},
  };
  for (const ErrorTextCase& c : cases) {
    char* text = RtComposeErrorText(c.code, c.message);
    EXPECT_STREQ(text, c.text);
    RtRelease(text);
  }
}

std::string FatalBox(const char* message, int32_t code = 0) {
  char* text = RtComposeErrorText(code, message);
  std::string pattern = "^" + BoxPattern("错误", text) + "\n$";
  RtRelease(text);
  return pattern;
}

TEST_F(ProgramTest, FatalErrorByCodeShowsTheBoxAndEndsWithMinusOne) {
  EXPECT_EXIT(
      {
        ReportMessageBoxes();
        Start();
        RtRegisterExitRoutine(PrintExitRoutine);
        RtFatalErrorByCode(6);
      },
      ::testing::ExitedWithCode(FatalExitStatus()), FatalBox("调用DLL命令后发现堆栈错误", 6));
}

TEST_F(ProgramTest, UnknownWindowToLoad) {
  EXPECT_EXIT(
      {
        ReportMessageBoxes();
        RtInitialize(&kProgramDescriptor);
        RtRegisterExitRoutine(PrintExitRoutine);
        RtLoadWindow(0x52010002);
      },
      ::testing::ExitedWithCode(FatalExitStatus()), FatalBox("载入启动窗口失败"));
}

TEST_F(ProgramTest, BrokenLayout) {
  EXPECT_EXIT(
      {
        ReportMessageBoxes();
        ProgramDescriptor program = kProgramDescriptor;
        program.handler_count = 1;  // the button's handler reference now points past the table
        RtInitialize(&program);
      },
      ::testing::ExitedWithCode(FatalExitStatus()), FatalBox("载入窗口模板数据段出错!"));
}

TEST_F(ProgramTest, EventsFromUnknownSources) {
  struct Case {
    uint32_t window, control;
    const char* message;
  };
  const Case cases[] = {
      {0x52010002, 0, "未找到引发事件的窗口"},
      {kMainWindow, 0x16010099, "未找到引发事件的窗口组件"},
  };
  for (const Case& c : cases) {
    EXPECT_EXIT(
        {
          ReportMessageBoxes();
          Start();
          RtRaiseEvent(c.window, c.control, 0);
        },
        ::testing::ExitedWithCode(FatalExitStatus()), FatalBox(c.message));
  }
}

// A second window, never loaded, holds a record of a kind the run time does not know.
void RaiseFromARecordOfUnknownKind() {
  static RtRecord odd = kLayoutBlock.windows[0].controls[1];
  odd.kind = 77;
  odd.settings = nullptr;
  static RtWindowLayout windows[2] = {kLayoutBlock.windows[0], kLayoutBlock.windows[0]};
  windows[1].window_number = 0x52010002;
  windows[1].control_count = 1;
  windows[1].controls = &odd;
  static RtLayoutBlock block = {2, windows};
  static ProgramDescriptor program = kProgramDescriptor;
  program.layout = &block;
  RtInitialize(&program);
  RtRaiseEvent(0x52010002, odd.number, 0);
}

TEST_F(ProgramTest, EventFromARecordOfUnknownKind) {
  EXPECT_EXIT(
      {
        ReportMessageBoxes();
        RaiseFromARecordOfUnknownKind();
      },
      ::testing::ExitedWithCode(FatalExitStatus()), FatalBox("引发事件的窗口组件无效"));
}

}  // namespace

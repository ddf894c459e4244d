// What only the simulation can show: other screens, a window manager that resizes, the program
// file's folder, painting, OLE, and windows that cannot be created.
#include <algorithm>

#include "platform/sim/simctl.h"
#include "tests/frame/fixture.h"

namespace {

struct ScreenCase {
  int width, height;
  int left, top;
};

TEST_F(ProgramTest, CentredOnEveryScreenWithoutClamping) {
  const ScreenCase cases[] = {
      {1024, 768, 322, 259}, {1920, 1080, 770, 415},
      {1367, 769, 493, 259}, {379, 249, 0, 0},  // -1 / 2 truncates toward zero
      {300, 200, -40, -25},  {0, 0, -190, -125},
  };
  for (const ScreenCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    ResetPlatform();
    SimSetScreenSize(c.width, c.height);
    Start();
    RECT outer;
    GetWindowRect(Main(), &outer);
    EXPECT_EQ(outer.left, c.left);
    EXPECT_EQ(outer.top, c.top);
    EXPECT_EQ(outer.right - outer.left, 380);
    EXPECT_EQ(outer.bottom - outer.top, 250);
    RtShutdown();
  }
}

TEST_F(ProgramTest, OneCorrectiveMoveWhenTheSystemChangesTheSize) {
  SimSetTopLevelSizeSkew(6, 4);
  Start();
  RECT outer;
  GetWindowRect(Main(), &outer);
  EXPECT_EQ(outer.left, 322);
  EXPECT_EQ(outer.right - outer.left, 380);
  EXPECT_EQ(outer.bottom - outer.top, 250);
}

struct FolderCase {
  const char* program;
  const char* folder;
};

TEST_F(ProgramTest, CurrentDirectoryIsTheProgramsFolder) {
  const FolderCase cases[] = {
      {"C:\\Program Files\\Recharge\\recharge.exe", "C:\\Program Files\\Recharge"},
      {"C:\\乗\\recharge.exe", "C:\\乗"},  // the trail byte of 乗 is a backslash's code
      {"D:\\tools\\乗.exe", "D:\\tools"},
      {"C:\\recharge.exe", "C:\\"},  // a drive's root, not that drive's current folder
      {"E:\\乗.exe", "E:\\"},
      {"\\\\server\\share\\recharge.exe", "\\\\server\\share"},
  };
  for (const FolderCase& c : cases) {
    SCOPED_TRACE(c.program);
    ResetPlatform();
    SimSetModuleFileName(c.program);
    RtInitialize(&kProgramDescriptor);
    ASSERT_FALSE(SimSetCurrentDirectoryCalls().empty());
    EXPECT_EQ(SimSetCurrentDirectoryCalls().back(), c.folder);
    RtShutdown();
  }
}

TEST_F(ProgramTest, OleLivesFromStartToShutdown) {
  Start();
  EXPECT_TRUE(SimOleInitialized());
  RtShutdown();
  EXPECT_FALSE(SimOleInitialized());
  EXPECT_EQ(SimOleInitCalls(), 1);
}

TEST_F(ProgramTest, ShutdownLeavesNothingOnTheHeap) {
  size_t before = SimHeapOutstanding();
  Start();
  UserKey(VK_TAB);
  UserKey(VK_ESCAPE);
  RtShutdown();
  EXPECT_EQ(SimHeapOutstanding(), before);
}

TEST_F(ProgramTest, LabelsFillWithButtonFaceAndDrawTheirText) {
  Start();
  for (uint32_t label : {kAmountLabel, kUnitLabel}) {
    HWND hwnd = Control(label);
    std::vector<SimPaintOp> ops = SimPaintLog(hwnd);
    auto fill = std::find_if(ops.begin(), ops.end(),
                             [](const SimPaintOp& op) { return op.kind == SimPaintOp::kFillRect; });
    auto text = std::find_if(ops.begin(), ops.end(),
                             [](const SimPaintOp& op) { return op.kind == SimPaintOp::kDrawText; });
    ASSERT_NE(fill, ops.end());
    ASSERT_NE(text, ops.end());
    EXPECT_LT(fill - ops.begin(), text - ops.begin());
    EXPECT_EQ(fill->brush_color, GetSysColor(COLOR_BTNFACE));
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(fill->rect.right, client.right);
    EXPECT_EQ(fill->rect.bottom, client.bottom);
    EXPECT_EQ(text->text, TextOf(hwnd));
    EXPECT_EQ(text->format, UINT{DT_SINGLELINE | DT_LEFT | DT_VCENTER});
    EXPECT_EQ(text->text_color, COLORREF{0});
    EXPECT_EQ(text->bk_mode, TRANSPARENT);
    EXPECT_EQ(text->font, GetStockObject(DEFAULT_GUI_FONT));
  }
}

TEST_F(ProgramTest, WindowThatCannotBeBuilt) {
  EXPECT_EXIT(
      {
        ReportMessageBoxes();
        RtInitialize(&kProgramDescriptor);
        SimFailCreateWindowAfter(3);  // the window and two controls
        RtLoadWindow(kMainWindow);
      },
      ::testing::ExitedWithCode(FatalExitStatus()),
      "^" + BoxPattern("错误", "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n") + "\n$");
}

}  // namespace

// The simulation's own controls: what the run time's tests inject and read back through simctl.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "platform/sim/simctl.h"

namespace {

typedef HINSTANCE (*ShellExecuteProc)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

std::vector<UINT> g_msgs;
std::vector<LPARAM> g_params;

LRESULT CALLBACK Recorder(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_SIZE || msg == WM_MOVE) {
    g_msgs.push_back(msg);
    g_params.push_back(lparam);
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

// Draws like the program's labels: background by the class brush, text transparent.
LRESULT CALLBACK LabelLike(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT r;
    GetClientRect(hwnd, &r);
    DrawTextA(dc, "\xD4\xAA", -1, &r, DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

class Sim : public ::testing::Test {
 protected:
  void SetUp() override {
    SimReset();
    g_msgs.clear();
    g_params.clear();
  }
  void TearDown() override { SimReset(); }

  static void Register(const char* name, WNDPROC proc) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = name;
    ASSERT_NE(0, RegisterClassExA(&wc));
  }
  static HWND Top(const char* cls, int w = 380, int h = 250) {
    return CreateWindowExA(0, cls, "", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 10, 20, w, h,
                           nullptr, nullptr, nullptr, nullptr);
  }
};

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

TEST_F(Sim, ShellCallsAreRecordedWithNullsKept) {
  HMODULE shell = LoadLibraryA("SHELL32");
  ASSERT_NE(nullptr, shell);
  auto shell_execute = reinterpret_cast<ShellExecuteProc>(
      reinterpret_cast<void (*)(void)>(GetProcAddress(shell, "ShellExecuteA")));
  ASSERT_NE(nullptr, shell_execute);
  int hooked = 0;
  SimSetShellHook([&](const SimShellCall& call) {
    ++hooked;
    EXPECT_EQ("open", call.op.value_or("<null>"));
  });
  HWND owner = reinterpret_cast<HWND>(0x1234);
  EXPECT_EQ(42, reinterpret_cast<intptr_t>(
                    shell_execute(owner, "open", "http://x/", nullptr, "", SW_SHOWNORMAL)));
  SimSetShellResult(2);
  EXPECT_EQ(2,
            reinterpret_cast<intptr_t>(shell_execute(nullptr, "open", "b", "p", nullptr, SW_SHOW)));
  ASSERT_EQ(2u, SimShellCalls().size());
  const SimShellCall& first = SimShellCalls()[0];
  EXPECT_EQ(owner, first.owner);
  EXPECT_EQ("http://x/", first.file.value());
  EXPECT_FALSE(first.params.has_value());
  EXPECT_EQ("", first.dir.value());
  EXPECT_EQ(SW_SHOWNORMAL, first.show);
  EXPECT_FALSE(SimShellCalls()[1].dir.has_value());
  EXPECT_EQ(2, hooked);
  EXPECT_EQ(1, SimModuleRefCount("shell32.dll"));
  FreeLibrary(shell);
  EXPECT_EQ(0, SimModuleRefCount("Shell32"));
  EXPECT_EQ((std::vector<std::string>{"load SHELL32", "free Shell32.dll"}), SimModuleLog());
}

TEST_F(Sim, ModuleTableInjections) {
  SimSetModuleLoads("shell32.dll", false);
  EXPECT_EQ(nullptr, LoadLibraryA("Shell32.dll"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
  SimSetModuleLoads("Shell32", true);
  SimRemoveExport("Shell32.dll", "ShellExecuteA");
  HMODULE shell = LoadLibraryA("shell32.DLL");
  ASSERT_NE(nullptr, shell);
  EXPECT_EQ(nullptr, GetProcAddress(shell, "ShellExecuteA"));
  EXPECT_EQ(1, SimModuleRefCount("Shell32.dll"));
  EXPECT_EQ(nullptr, LoadLibraryA("Missing.dll"));
  EXPECT_EQ((std::vector<std::string>{"load-failed Shell32.dll", "load shell32.DLL",
                                      "load-failed Missing.dll"}),
            SimModuleLog());

  // A table of the test's own; the reset brings back the default one with no references.
  SimSetModules({SimModule{"Only.dll", true, {}}});
  EXPECT_EQ(nullptr, LoadLibraryA("Shell32.dll"));
  EXPECT_NE(nullptr, LoadLibraryA("only"));
  SimReset();
  EXPECT_EQ(0, SimModuleRefCount("Shell32.dll"));
  EXPECT_TRUE(SimModuleLog().empty());
  EXPECT_NE(nullptr, LoadLibraryA("Kernel32.dll"));
}

TEST_F(Sim, HeapCountsAndFailsOnRequest) {
  HANDLE heap = GetProcessHeap();
  void* a = HeapAlloc(heap, HEAP_ZERO_MEMORY, 10);
  ASSERT_NE(nullptr, a);
  EXPECT_EQ(0, memcmp(a, "\0\0\0\0\0\0\0\0\0\0", 10));
  EXPECT_EQ(10u, HeapSize(heap, 0, a));
  SimFailAllocationAfter(1);
  void* b = HeapAlloc(heap, 0, 5);
  EXPECT_NE(nullptr, b);
  EXPECT_EQ(nullptr, HeapAlloc(heap, 0, 5));
  EXPECT_EQ(nullptr, HeapAlloc(heap, 0, 5));
  EXPECT_EQ(2u, SimHeapAllocations());  // only the successful ones
  EXPECT_EQ(2u, SimHeapOutstanding());
  EXPECT_EQ(15u, SimHeapOutstandingBytes());
  SimFailAllocationAfter(-1);
  void* c = HeapAlloc(heap, 0, 1);
  EXPECT_NE(nullptr, c);
  for (void* p : {a, b, c}) EXPECT_TRUE(HeapFree(heap, 0, p));
  EXPECT_EQ(0u, SimHeapOutstanding());
  EXPECT_EQ(3u, SimHeapAllocations());
}

TEST_F(Sim, CreateWindowFailsOnRequest) {
  SimFailCreateWindowAfter(1);
  EXPECT_NE(nullptr, CreateWindowExA(0, "BUTTON", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                                     nullptr, nullptr));
  EXPECT_EQ(nullptr, CreateWindowExA(0, "BUTTON", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                                     nullptr, nullptr));
  SimFailCreateWindowAfter(-1);
  EXPECT_NE(nullptr, CreateWindowExA(0, "BUTTON", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                                     nullptr, nullptr));
}

TEST_F(Sim, TopLevelFrameSkewAndScreen) {
  Register("Rec", Recorder);
  SimSetScreenSize(800, 600);
  EXPECT_EQ(800, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(600, GetSystemMetrics(SM_CYSCREEN));
  HWND plain = Top("Rec");
  RECT r;
  GetClientRect(plain, &r);
  EXPECT_EQ(380 - 2 * 3, r.right);
  EXPECT_EQ(250 - 2 * 3 - 19, r.bottom);
  // WM_SIZE with the client size, then WM_MOVE with the client origin on the screen.
  ASSERT_EQ((std::vector<UINT>{WM_SIZE, WM_MOVE}), g_msgs);
  EXPECT_EQ(MAKELPARAM(374, 225), g_params[0]);
  EXPECT_EQ(MAKELPARAM(10 + 3, 20 + 3 + 19), g_params[1]);

  SimSetTopLevelSizeSkew(4, -2);
  HWND skewed = Top("Rec");
  GetWindowRect(skewed, &r);
  EXPECT_EQ(384, r.right - r.left);
  EXPECT_EQ(248, r.bottom - r.top);
  g_msgs.clear();
  MoveWindow(skewed, -5, -7, 380, 250, TRUE);
  GetWindowRect(skewed, &r);
  EXPECT_EQ(-5, r.left);
  EXPECT_EQ(-7, r.top);
  EXPECT_EQ(380, r.right - r.left);
  EXPECT_EQ(250, r.bottom - r.top);
  EXPECT_EQ((std::vector<UINT>{WM_SIZE, WM_MOVE}), g_msgs);
}

TEST_F(Sim, ComboRefusesItemsOnRequest) {
  HWND host =
      CreateWindowExA(0, "BUTTON", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWN, 0, 0, 100, 160, host,
                               nullptr, nullptr, nullptr);
  SimRefuseComboItems([](const std::string& text, int index) { return text == "b" || index == 2; });
  EXPECT_EQ(0, SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a")));
  EXPECT_EQ(CB_ERRSPACE, SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("b")));
  EXPECT_EQ(1, SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("c")));
  EXPECT_EQ(CB_ERRSPACE, SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("d")));
  EXPECT_EQ(2, SendMessageA(combo, CB_GETCOUNT, 0, 0));
  SimRefuseComboItems(nullptr);
  EXPECT_EQ(2, SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("d")));
}

TEST_F(Sim, MessageBoxesAreRecorded) {
  std::vector<std::string> hooked;
  SimSetMessageBoxHook([&](const SimMessageBox& box) { hooked.push_back(box.text); });
  EXPECT_EQ(IDOK, MessageBoxA(nullptr, "text", "caption", MB_OK | MB_ICONERROR));
  ASSERT_EQ(1u, SimMessageBoxes().size());
  EXPECT_EQ("caption", SimMessageBoxes()[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), SimMessageBoxes()[0].type);
  EXPECT_EQ(std::vector<std::string>{"text"}, hooked);
}

TEST_F(Sim, OleStateAndCurrentDirectory) {
  EXPECT_FALSE(SimOleInitialized());
  OleInitialize(nullptr);
  EXPECT_TRUE(SimOleInitialized());
  OleUninitialize();
  EXPECT_FALSE(SimOleInitialized());
  EXPECT_EQ(1, SimOleInitCalls());

  EXPECT_EQ("C:\\Users\\test", SimCurrentDirectory());
  // The drive alone on the current drive stays where it is; on another, goes to its root.
  SetCurrentDirectoryA("C:");
  EXPECT_EQ("C:\\Users\\test", SimCurrentDirectory());
  SetCurrentDirectoryA("D:");
  EXPECT_EQ("D:\\", SimCurrentDirectory());
  SetCurrentDirectoryA("sub\\..\\dir");
  EXPECT_EQ("D:\\dir", SimCurrentDirectory());
  EXPECT_EQ((std::vector<std::string>{"C:", "D:", "sub\\..\\dir"}), SimSetCurrentDirectoryCalls());

  SimSetModuleFileName("E:\\app.exe");
  char buf[MAX_PATH];
  EXPECT_EQ(10u, GetModuleFileNameA(nullptr, buf, MAX_PATH));
  EXPECT_STREQ("E:\\app.exe", buf);
}

TEST_F(Sim, PaintLogShowsFillAndText) {
  Register("Label", LabelLike);
  HWND top = Top("Label");
  HWND label = CreateWindowExA(0, "Label", "", WS_CHILD | WS_VISIBLE, 5, 5, 60, 20, top, nullptr,
                               nullptr, nullptr);
  ShowWindow(top, SW_SHOWNA);
  SimClearPaintLog();
  Pump();
  std::vector<SimPaintOp> ops = SimPaintLog(label);
  const SimPaintOp* fill = nullptr;
  const SimPaintOp* text = nullptr;
  for (const SimPaintOp& op : ops) {
    if (op.kind == SimPaintOp::kFillRect && !fill) fill = &op;
    if (op.kind == SimPaintOp::kDrawText) text = &op;
  }
  ASSERT_NE(nullptr, fill);
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), fill->brush_color);
  EXPECT_EQ(60, fill->rect.right);
  ASSERT_NE(nullptr, text);
  EXPECT_EQ("\xD4\xAA", text->text);
  EXPECT_EQ(static_cast<UINT>(DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX), text->format);
  EXPECT_EQ(TRANSPARENT, text->bk_mode);
  EXPECT_EQ(RGB(0, 0, 0), text->text_color);
  EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), text->font);
  // Painted once: nothing more to paint until something is invalidated.
  MSG m;
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
  InvalidateRect(label, nullptr, TRUE);
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(static_cast<UINT>(WM_PAINT), m.message);
  EXPECT_EQ(label, m.hwnd);
}

// The documented ANSI behaviour (which Wine's ANSI message loop does not carry): a double-byte
// character arrives as lead and trail WM_CHAR, or whole in one WM_IME_CHAR.
TEST_F(Sim, EditTakesDoubleByteCharacters) {
  HWND host =
      CreateWindowExA(0, "BUTTON", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  HWND edit =
      CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 50, 20, host, nullptr, nullptr, nullptr);
  SendMessageA(edit, WM_CHAR, 0xD6, 0);
  SendMessageA(edit, WM_CHAR, 0xD0, 0);
  SendMessageA(edit, WM_IME_CHAR, 0xCEC4, 0);
  SendMessageA(edit, WM_IME_CHAR, 'a', 0);
  char buf[16] = {};
  GetWindowTextA(edit, buf, sizeof buf);
  EXPECT_STREQ(
      "\xD6\xD0\xCE\xC4"
      "a",
      buf);
}

TEST_F(Sim, ResetForgetsEverything) {
  HWND w = CreateWindowExA(0, "BUTTON", "", WS_POPUP | WS_VISIBLE, 0, 0, 5, 5, nullptr, nullptr,
                           nullptr, nullptr);
  EXPECT_EQ(w, GetActiveWindow());
  PostQuitMessage(1);
  BYTE keys[256] = {};
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  SimReset();
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(nullptr, GetActiveWindow());
  EXPECT_EQ(nullptr, GetFocus());
  EXPECT_FALSE(GetKeyState(VK_SHIFT) < 0);
  MSG m;
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST(SimDeath, GetMessageWithNothingToComeAborts) {
  SimReset();
  MSG m;
  EXPECT_DEATH(GetMessageA(&m, nullptr, 0, 0), "GetMessage would wait forever");
}

TEST(SimDeath, ExitProcessMinusOneShowsAs255) {
  EXPECT_EXIT(ExitProcess(static_cast<UINT>(-1)), ::testing::ExitedWithCode(255), "");
}

}  // namespace

// Times start-up: from CreateProcess to the program's window being visible, seen by polling
// FindWindowEx + IsWindowVisible in a tight loop. The programs take turns, so that drift in the
// machine's load touches both alike; each program's first run only warms the caches.
//
//   launch RUNS PROGRAM.exe CLASS [PROGRAM.exe CLASS]...
//
// Prints every run, then per program the median, minimum and maximum in milliseconds.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

namespace {

struct Program {
  const char* path;
  const char* window_class;
  std::vector<double> times;
};

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HWND VisibleWindowOf(const char* window_class, DWORD pid) {
  for (HWND hwnd = FindWindowExA(nullptr, nullptr, window_class, nullptr); hwnd;
       hwnd = FindWindowExA(nullptr, hwnd, window_class, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == pid && IsWindowVisible(hwnd)) return hwnd;
  }
  return nullptr;
}

// One start: the time to a visible window, or a negative number when it never came.
double TimeOnce(const Program& program) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  char command[MAX_PATH + 2];
  snprintf(command, sizeof command, "\"%s\"", program.path);
  double start = Now();
  if (!CreateProcessA(program.path, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    fprintf(stderr, "launch: cannot start %s (error %lu)\n", program.path, GetLastError());
    return -1;
  }
  HWND window = nullptr;
  double elapsed = -1;
  while (Now() - start < 60000) {
    if ((window = VisibleWindowOf(program.window_class, process.dwProcessId)) != nullptr) {
      elapsed = Now() - start;
      break;
    }
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) break;
  }
  if (window) PostMessageA(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 10000);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? atoi(argv[1]) : 0;
  if (runs < 1 || argc < 4 || (argc - 2) % 2 != 0) {
    fprintf(stderr, "usage: launch RUNS PROGRAM.exe CLASS [PROGRAM.exe CLASS]...\n");
    return 2;
  }
  std::vector<Program> programs;
  for (int i = 2; i + 1 < argc; i += 2) programs.push_back(Program{argv[i], argv[i + 1], {}});
  for (int run = 0; run <= runs; ++run) {
    for (Program& program : programs) {
      double ms = TimeOnce(program);
      if (ms < 0) {
        fprintf(stderr, "launch: no visible %s window from %s\n", program.window_class,
                program.path);
        return 1;
      }
      printf("run %d %s %.1f ms%s\n", run, program.path, ms, run == 0 ? " (warm-up)" : "");
      if (run > 0) program.times.push_back(ms);
    }
  }
  for (const Program& program : programs)
    printf("median %.1f min %.1f max %.1f ms  %s\n", Median(program.times),
           *std::min_element(program.times.begin(), program.times.end()),
           *std::max_element(program.times.begin(), program.times.end()), program.path);
  return 0;
}

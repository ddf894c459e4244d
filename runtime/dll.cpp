// Binding and calling the program's external functions by name.
#include "runtime/internal.h"

namespace {

// Where a function declared without a module is looked for, in this order.
const char* const kSystemModules[] = {"Kernel32.dll", "Gdi32.dll", "User32.dll",
                                      "Advapi32.dll", "Mpr.dll",   "Shell32.dll"};

bool TryModule(RtDllEntry* entry, const char* module) {
  HMODULE handle = LoadLibraryA(module);
  if (!handle) return false;
  FARPROC address = GetProcAddress(handle, entry->name);
  if (!address) {
    FreeLibrary(handle);
    return false;
  }
  entry->address = address;
  entry->handle = handle;  // stays loaded until shutdown
  return true;
}

void Bind(RtDllEntry* entry) {
  if (entry->module[0]) {
    TryModule(entry, entry->module);
  } else {
    for (const char* module : kSystemModules)
      if (TryModule(entry, module)) break;
  }
  if (entry->address) return;
  char message[256] = "无法找到指定DLL库文件中的输出命令“";
  uint32_t at = RtTextLength(message);
  for (const char* p = entry->name; *p && at + 4 < sizeof message; ++p) message[at++] = *p;
  const char close[] = "”";
  for (uint32_t i = 0; i < sizeof close; ++i) message[at + i] = close[i];
  RtFatalError(0, message);
}

}  // namespace

intptr_t RtCallDllCommand(uint32_t entry_number, intptr_t a1, intptr_t a2, intptr_t a3, intptr_t a4,
                          intptr_t a5, intptr_t a6) {
  if (entry_number >= g_rt.dll_count) RtFatalError(0, "DLL命令不存在");
  RtDllEntry* entry = &g_rt.dll[entry_number];
  if (!entry->address) Bind(entry);
  // A pointer of exactly the called function's type: the stack is balanced by construction.
  RtDllProc6 procedure =
      reinterpret_cast<RtDllProc6>(reinterpret_cast<void (*)(void)>(entry->address));
  return procedure(a1, a2, a3, a4, a5, a6);
}

// KERNEL32 and OLE32 of the simulation: heap, modules, paths, code pages, errors, process exit.
#include <fenv.h>
#include <iconv.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <unordered_map>

#include "platform/sim/sim_internal.h"

namespace sim {

State& S() {
  static State state;
  return state;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  return Lower(a) == Lower(b);
}

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

// The module handle of the program itself, as Windows maps a 32-bit executable.
static HMODULE const kMainModule = reinterpret_cast<HMODULE>(0x00400000);
static HANDLE const kProcessHeap = reinterpret_cast<HANDLE>(0x00150000);

static HMODULE ModuleHandle(size_t index) {
  return reinterpret_cast<HMODULE>(0x10000000 + index * 0x10000);
}

static int ModuleIndex(HMODULE module) {
  uintptr_t v = reinterpret_cast<uintptr_t>(module);
  if (v < 0x10000000 || (v & 0xFFFF) != 0) return -1;
  size_t index = (v - 0x10000000) / 0x10000;
  if (index >= S().modules.size()) return -1;
  return static_cast<int>(index);
}

// "shell32", "SHELL32.DLL" and "C:\Windows\System32\shell32.dll" all name Shell32.dll.
static std::string ModuleKey(const std::string& name) {
  std::string base = name;
  size_t slash = base.find_last_of("\\/");
  if (slash != std::string::npos) base = base.substr(slash + 1);
  base = Lower(base);
  if (base.size() > 4 && base.compare(base.size() - 4, 4, ".dll") == 0) {
    base.resize(base.size() - 4);
  }
  return base;
}

static int FindModule(const std::string& name) {
  std::string key = ModuleKey(name);
  for (size_t i = 0; i < S().modules.size(); ++i) {
    if (ModuleKey(S().modules[i].name) == key) return static_cast<int>(i);
  }
  return -1;
}

void ResetKernel() {
  State& s = S();
  for (auto& block : s.heap_blocks) free(block.first);
  s.heap_blocks.clear();
  s.heap_bytes = 0;
  s.heap_allocations = 0;
  s.heap_budget = -1;
  s.last_error = 0;
  s.module_file = "C:\\Program Files\\Recharge\\recharge.exe";
  s.current_dir = "C:\\Users\\test";
  s.set_dir_calls.clear();
  s.modules = SimDefaultModules();
  s.module_refs.assign(s.modules.size(), 0);
  s.module_log.clear();
  s.ole_count = 0;
  s.ole_init_calls = 0;
  s.shell_calls.clear();
  s.shell_result = 42;
  s.shell_hook = nullptr;
  s.boxes.clear();
  s.box_hook = nullptr;
  s.refuse_items = nullptr;
}

HINSTANCE ShellExecuteA(HWND owner, LPCSTR op, LPCSTR file, LPCSTR params, LPCSTR dir, INT show) {
  auto opt = [](LPCSTR p) { return p ? std::optional<std::string>(p) : std::nullopt; };
  SimShellCall call{owner, opt(op), opt(file), opt(params), opt(dir), show};
  S().shell_calls.push_back(call);
  if (S().shell_hook) S().shell_hook(call);
  return reinterpret_cast<HINSTANCE>(S().shell_result);
}

// ---------------------------------------------------------------------------------------------
// Code page 936: tables built once from iconv's GBK, with the two single bytes Windows adds.

struct Cp936 {
  char16_t single[256];
  std::vector<char16_t> pairs;  // (lead - 0x81) * 256 + trail; 0 where the pair is not defined
  std::unordered_map<char16_t, uint16_t> reverse;  // one byte, or lead << 8 | trail
};

static char16_t IconvOne(iconv_t cd, const char* bytes, size_t n) {
  char in[2];
  memcpy(in, bytes, n);
  char out[8];
  char* inp = in;
  char* outp = out;
  size_t inleft = n;
  size_t outleft = sizeof out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &inp, &inleft, &outp, &outleft) == static_cast<size_t>(-1) || inleft != 0) return 0;
  if (sizeof out - outleft != 2) return 0;  // outside the BMP: not part of code page 936
  return static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                               (static_cast<unsigned char>(out[1]) << 8));
}

static const Cp936& Table() {
  static Cp936* table = [] {
    Cp936* t = new Cp936();
    iconv_t cd = iconv_open("UTF-16LE", "CP936");
    if (cd == reinterpret_cast<iconv_t>(-1)) Fail("iconv has no CP936");
    for (int b = 0; b < 0x80; ++b) t->single[b] = static_cast<char16_t>(b);
    for (int b = 0x80; b < 0x100; ++b) t->single[b] = 0;
    t->single[0x80] = 0x20AC;
    t->single[0xFF] = 0xF8F5;
    t->pairs.assign(0x7E * 256, 0);
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
      for (int trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail == 0x7F) continue;
        char b[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        char16_t u = IconvOne(cd, b, 2);
        t->pairs[(lead - 0x81) * 256 + trail] = u;
      }
    }
    iconv_close(cd);
    for (int lead = 0xFE; lead >= 0x81; --lead) {
      for (int trail = 0xFE; trail >= 0x40; --trail) {
        char16_t u = t->pairs[(lead - 0x81) * 256 + trail];
        if (u) t->reverse[u] = static_cast<uint16_t>(lead << 8 | trail);
      }
    }
    for (int b = 0xFF; b >= 0; --b) {
      if (b == 0 || t->single[b]) t->reverse[t->single[b]] = static_cast<uint16_t>(b);
    }
    return t;
  }();
  return *table;
}

static bool IsLead936(BYTE c) {
  return c >= 0x81 && c <= 0xFE;
}

// What a byte sequence decodes to; `invalid` tells whether anything had no mapping.
static std::u16string Decode936(const unsigned char* p, size_t n, bool* invalid) {
  const Cp936& t = Table();
  std::u16string out;
  for (size_t i = 0; i < n;) {
    unsigned char c = p[i];
    if (IsLead936(c)) {
      if (i + 1 < n && p[i + 1] != 0) {
        // A lead byte takes the next byte with it, valid pair or not: an undefined pair is
        // one default character. A NUL is never a trail byte.
        char16_t u = t.pairs[(c - 0x81) * 256 + p[i + 1]];
        if (!u) *invalid = true;
        out.push_back(u ? u : u'?');
        i += 2;
        continue;
      }
      // A lead byte at the very end, or before the terminator: the default character.
      *invalid = true;
      out.push_back(u'?');
      i += 1;
      continue;
    }
    out.push_back(t.single[c] ? t.single[c] : static_cast<char16_t>(c ? u'?' : 0));
    if (c && !t.single[c]) *invalid = true;
    ++i;
  }
  return out;
}

static std::u16string DecodeUtf8(const unsigned char* p, size_t n, bool* invalid) {
  std::u16string out;
  for (size_t i = 0; i < n;) {
    unsigned char c = p[i];
    uint32_t cp = 0;
    size_t len = 0;
    uint32_t min = 0;
    if (c < 0x80) {
      out.push_back(c);
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      cp = c & 0x1F, len = 2, min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
      cp = c & 0x0F, len = 3, min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
      cp = c & 0x07, len = 4, min = 0x10000;
    }
    bool ok = len != 0 && i + len <= n;
    for (size_t k = 1; ok && k < len; ++k) {
      if ((p[i + k] & 0xC0) != 0x80) ok = false;
      cp = cp << 6 | (p[i + k] & 0x3F);
    }
    if (ok && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
    if (!ok) {
      *invalid = true;
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

static std::string Encode936(const char16_t* p, size_t n, char default_char, bool* used_default) {
  const Cp936& t = Table();
  std::string out;
  for (size_t i = 0; i < n; ++i) {
    auto it = t.reverse.find(p[i]);
    if (it == t.reverse.end()) {
      *used_default = true;
      out.push_back(default_char);
      continue;
    }
    uint16_t v = it->second;
    if (v > 0xFF) out.push_back(static_cast<char>(v >> 8));
    out.push_back(static_cast<char>(v & 0xFF));
  }
  return out;
}

static std::string EncodeUtf8(const char16_t* p, size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i) {
    uint32_t cp = p[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && p[i + 1] >= 0xDC00 && p[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (p[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | cp >> 6));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | cp >> 12));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | cp >> 18));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// Current directory model: "X:\..." absolute, "X:" and "X:rel" relative to drive X's current
// folder (the current directory on the current drive, the root on any other: the process sets
// no per-drive folders), "\..." from the current drive's root, anything else from the current
// directory.

static char DriveOf(const std::string& path) {
  char c = path.empty() ? 'C' : path[0];
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

static std::string DriveFolder(char drive) {
  if (DriveOf(S().current_dir) == drive) return S().current_dir;
  return std::string(1, drive) + ":\\";
}

static std::string Normalize(const std::string& drive_root, const std::string& rest) {
  std::vector<std::string> parts;
  std::string part;
  auto flush = [&] {
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    part.clear();
  };
  for (char c : rest) {
    if (c == '\\' || c == '/') {
      flush();
    } else {
      part.push_back(c);
    }
  }
  flush();
  std::string out = drive_root;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out += "\\";
    out += parts[i];
  }
  return out;
}

static bool IsDriveLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

static std::string FullPath(const std::string& path) {
  if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') {
    char drive = DriveOf(path);
    std::string root = std::string(1, drive) + ":\\";
    std::string rest = path.substr(2);
    if (!rest.empty() && (rest[0] == '\\' || rest[0] == '/')) return Normalize(root, rest);
    return Normalize(root, DriveFolder(drive).substr(3) + "\\" + rest);
  }
  std::string root = std::string(1, DriveOf(S().current_dir)) + ":\\";
  if (!path.empty() && (path[0] == '\\' || path[0] == '/')) return Normalize(root, path);
  return Normalize(root, S().current_dir.substr(3) + "\\" + path);
}

}  // namespace sim

using namespace sim;

// ---------------------------------------------------------------------------------------------
// simctl: kernel side.

std::vector<SimModule> SimDefaultModules() {
  std::vector<SimModule> modules;
  for (const char* name :
       {"Kernel32.dll", "Gdi32.dll", "User32.dll", "Advapi32.dll", "Mpr.dll", "Shell32.dll"}) {
    modules.push_back(SimModule{name, true, {}});
  }
  modules.back().exports["ShellExecuteA"] =
      reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&sim::ShellExecuteA));
  return modules;
}

void SimSetModules(const std::vector<SimModule>& modules) {
  S().modules = modules;
  S().module_refs.assign(modules.size(), 0);
}

void SimSetModuleLoads(const std::string& module, bool loads) {
  int i = FindModule(module);
  if (i < 0) Fail("SimSetModuleLoads: no such module in the table");
  S().modules[i].loads = loads;
}

void SimRemoveExport(const std::string& module, const std::string& export_name) {
  int i = FindModule(module);
  if (i < 0) Fail("SimRemoveExport: no such module in the table");
  S().modules[i].exports.erase(export_name);
}

const std::vector<std::string>& SimModuleLog() {
  return S().module_log;
}

int SimModuleRefCount(const std::string& module) {
  int i = FindModule(module);
  return i < 0 ? 0 : S().module_refs[i];
}

void SimSetModuleFileName(const std::string& path) {
  S().module_file = path;
}
std::string SimCurrentDirectory() {
  return S().current_dir;
}
const std::vector<std::string>& SimSetCurrentDirectoryCalls() {
  return S().set_dir_calls;
}

size_t SimHeapOutstanding() {
  return S().heap_blocks.size();
}
size_t SimHeapOutstandingBytes() {
  return S().heap_bytes;
}
size_t SimHeapAllocations() {
  return S().heap_allocations;
}
void SimFailAllocationAfter(int n) {
  S().heap_budget = n;
}

const std::vector<SimShellCall>& SimShellCalls() {
  return S().shell_calls;
}
void SimSetShellResult(intptr_t result) {
  S().shell_result = result;
}
void SimSetShellHook(std::function<void(const SimShellCall&)> hook) {
  S().shell_hook = std::move(hook);
}

bool SimOleInitialized() {
  return S().ole_count > 0;
}
int SimOleInitCalls() {
  return S().ole_init_calls;
}

// ---------------------------------------------------------------------------------------------
// Heap.

HANDLE WINAPI GetProcessHeap(void) {
  return kProcessHeap;
}

LPVOID WINAPI HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  if (heap != kProcessHeap) Fail("HeapAlloc on a heap other than the process heap");
  State& s = S();
  if (s.heap_budget == 0) return nullptr;
  void* p = (flags & HEAP_ZERO_MEMORY) ? calloc(1, bytes ? bytes : 1) : malloc(bytes ? bytes : 1);
  if (!p) return nullptr;
  if (s.heap_budget > 0) --s.heap_budget;
  s.heap_blocks[p] = bytes;
  s.heap_bytes += bytes;
  ++s.heap_allocations;
  return p;
}

LPVOID WINAPI HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes) {
  auto it = S().heap_blocks.find(block);
  if (heap != kProcessHeap || it == S().heap_blocks.end()) Fail("HeapReAlloc of a foreign block");
  size_t old = it->second;
  void* p = HeapAlloc(heap, flags, bytes);
  if (!p) return nullptr;
  memcpy(p, block, old < bytes ? old : bytes);
  HeapFree(heap, 0, block);
  return p;
}

BOOL WINAPI HeapFree(HANDLE heap, DWORD, LPVOID block) {
  if (heap != kProcessHeap) Fail("HeapFree on a heap other than the process heap");
  if (!block) return TRUE;
  auto it = S().heap_blocks.find(block);
  if (it == S().heap_blocks.end()) Fail("HeapFree of a block that HeapAlloc did not return");
  S().heap_bytes -= it->second;
  S().heap_blocks.erase(it);
  free(block);
  return TRUE;
}

SIZE_T WINAPI HeapSize(HANDLE heap, DWORD, LPCVOID block) {
  auto it = S().heap_blocks.find(const_cast<void*>(block));
  if (heap != kProcessHeap || it == S().heap_blocks.end()) return static_cast<SIZE_T>(-1);
  return it->second;
}

// ---------------------------------------------------------------------------------------------
// Modules and paths.

HMODULE WINAPI GetModuleHandleA(LPCSTR module_name) {
  if (!module_name) return kMainModule;
  int i = FindModule(module_name);
  if (i < 0 || !S().modules[i].loads) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return ModuleHandle(i);
}

DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR file_name, DWORD size) {
  std::string name;
  if (!module || module == kMainModule) {
    name = S().module_file;
  } else {
    int i = ModuleIndex(module);
    if (i < 0) {
      SetLastError(ERROR_MOD_NOT_FOUND);
      return 0;
    }
    name = "C:\\Windows\\system32\\" + S().modules[i].name;
  }
  // Truncation copies nSize characters without a terminator, as Wine (and Windows XP) do.
  if (name.size() >= size) {
    memcpy(file_name, name.data(), size);
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  memcpy(file_name, name.c_str(), name.size() + 1);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(name.size());
}

BOOL WINAPI SetCurrentDirectoryA(LPCSTR path) {
  S().set_dir_calls.push_back(path ? path : "");
  if (!path || !*path) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string full = FullPath(path);
  S().current_dir = full;
  return TRUE;
}

DWORD WINAPI GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
  const std::string& dir = S().current_dir;
  if (!buffer || dir.size() >= size) return static_cast<DWORD>(dir.size() + 1);
  memcpy(buffer, dir.c_str(), dir.size() + 1);
  return static_cast<DWORD>(dir.size());
}

HMODULE WINAPI LoadLibraryA(LPCSTR file_name) {
  std::string name = file_name ? file_name : "";
  int i = FindModule(name);
  if (i < 0 || !S().modules[i].loads) {
    S().module_log.push_back("load-failed " + name);
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  S().module_log.push_back("load " + name);
  ++S().module_refs[i];
  return ModuleHandle(i);
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR proc_name) {
  int i = ModuleIndex(module);
  if (i < 0) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  if (!proc_name || IS_INTRESOURCE(proc_name)) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  // Export names are case-sensitive.
  auto it = S().modules[i].exports.find(proc_name);
  if (it == S().modules[i].exports.end()) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return it->second;
}

BOOL WINAPI FreeLibrary(HMODULE module) {
  int i = ModuleIndex(module);
  if (i < 0 || S().module_refs[i] == 0) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return FALSE;
  }
  --S().module_refs[i];
  S().module_log.push_back("free " + S().modules[i].name);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Code pages and DBCS helpers.

BOOL WINAPI IsDBCSLeadByte(BYTE c) {
  return IsLead936(c);
}

BOOL WINAPI IsDBCSLeadByteEx(UINT code_page, BYTE c) {
  if (code_page == CP_ACP || code_page == 936) return IsLead936(c);
  return FALSE;
}

LPSTR WINAPI CharNextA(LPCSTR p) {
  if (!*p) return const_cast<LPSTR>(p);
  if (IsLead936(static_cast<BYTE>(*p)) && p[1]) return const_cast<LPSTR>(p + 2);
  return const_cast<LPSTR>(p + 1);
}

LPSTR WINAPI CharPrevA(LPCSTR start, LPCSTR p) {
  if (p <= start) return const_cast<LPSTR>(start);
  LPCSTR q = start;
  for (;;) {
    LPCSTR next = CharNextA(q);
    if (next >= p || next == q) return const_cast<LPSTR>(q);
    q = next;
  }
}

static bool KnownCodePage(UINT cp) {
  return cp == CP_ACP || cp == 936 || cp == CP_UTF8;
}

int WINAPI MultiByteToWideChar(UINT code_page, DWORD flags, LPCSTR src, int src_bytes, LPWSTR dst,
                               int dst_chars) {
  if (!KnownCodePage(code_page) || !src || src_bytes == 0 || dst_chars < 0 ||
      (dst_chars > 0 && !dst)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t n = src_bytes < 0 ? strlen(src) + 1 : static_cast<size_t>(src_bytes);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(src);
  bool invalid = false;
  std::u16string out =
      code_page == CP_UTF8 ? DecodeUtf8(p, n, &invalid) : Decode936(p, n, &invalid);
  if (invalid && (flags & MB_ERR_INVALID_CHARS)) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return 0;
  }
  if (dst_chars == 0) return static_cast<int>(out.size());
  if (out.size() > static_cast<size_t>(dst_chars)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  memcpy(dst, out.data(), out.size() * sizeof(WCHAR));
  return static_cast<int>(out.size());
}

int WINAPI WideCharToMultiByte(UINT code_page, DWORD, LPCWSTR src, int src_chars, LPSTR dst,
                               int dst_bytes, LPCSTR default_char, LPBOOL used_default) {
  if (!KnownCodePage(code_page) || !src || src_chars == 0 || dst_bytes < 0 ||
      (dst_bytes > 0 && !dst) || (code_page == CP_UTF8 && (default_char || used_default))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t n = 0;
  if (src_chars < 0) {
    while (src[n]) ++n;
    ++n;
  } else {
    n = static_cast<size_t>(src_chars);
  }
  std::string out;
  if (code_page == CP_UTF8) {
    out = EncodeUtf8(src, n);
  } else {
    bool used = false;
    out = Encode936(src, n, default_char ? *default_char : '?', &used);
    if (used_default) *used_default = used;
  }
  if (dst_bytes == 0) return static_cast<int>(out.size());
  if (out.size() > static_cast<size_t>(dst_bytes)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  memcpy(dst, out.data(), out.size());
  return static_cast<int>(out.size());
}

// ---------------------------------------------------------------------------------------------
// Threads, errors, exit, OLE, floating point.

DWORD WINAPI GetCurrentThreadId(void) {
  return 1;
}
DWORD WINAPI GetLastError(void) {
  return S().last_error;
}
void WINAPI SetLastError(DWORD error) {
  S().last_error = error;
}

void WINAPI ExitProcess(UINT exit_code) {
  fflush(nullptr);
  _exit(static_cast<int>(exit_code));
}

HRESULT WINAPI OleInitialize(LPVOID) {
  ++S().ole_init_calls;
  return S().ole_count++ == 0 ? S_OK : S_FALSE;
}

void WINAPI OleUninitialize(void) {
  if (S().ole_count > 0) --S().ole_count;
}

void _fpreset(void) {
  fesetenv(FE_DFL_ENV);
}

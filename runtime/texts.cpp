// Text allocation and release, and the conversions the program asks for.
#include "runtime/internal.h"

static HANDLE Heap(void) {
  if (!g_rt.heap) g_rt.heap = GetProcessHeap();
  return g_rt.heap;
}

void* RtAllocate(uint32_t bytes) {
  void* memory = HeapAlloc(Heap(), 0, bytes);
  if (!memory) {
    // Built on the stack: the heap has just said no.
    char message[64] = "分配 ";
    uint32_t at = RtTextLength(message);
    at += RtFormatInt(message + at, static_cast<int32_t>(bytes));
    const char tail[] = " 字节内存失败!";
    for (uint32_t i = 0; i < sizeof tail; ++i) message[at + i] = tail[i];
    RtFatalError(0, message);
  }
  return memory;
}

void RtRelease(const void* text) {
  if (!text) return;
  const char* p = static_cast<const char*>(text);
  if (p >= g_rt.constants_begin && p < g_rt.constants_end) return;
  HeapFree(Heap(), 0, const_cast<void*>(text));
}

uint32_t RtTextLength(const char* text) {
  uint32_t n = 0;
  if (text)
    while (text[n]) ++n;
  return n;
}

char* RtCopyText(const char* text) {
  uint32_t n = RtTextLength(text);
  char* copy = static_cast<char*>(RtAllocate(n + 1));
  for (uint32_t i = 0; i < n; ++i) copy[i] = text[i];
  copy[n] = 0;
  return copy;
}

char* RtIntToText(int32_t value) {
  char digits[12];
  RtFormatInt(digits, value);
  return RtCopyText(digits);
}

// The program's texts are code page 936 whatever the system's own code page is.
static const UINT kProgramCodePage = 936;

char* RtAnsiToUtf8(const char* text) {
  if (!text || !*text) return RtCopyText("");
  int wide_count = MultiByteToWideChar(kProgramCodePage, 0, text, -1, nullptr, 0);
  if (wide_count <= 0) return RtCopyText("");
  WCHAR* wide = static_cast<WCHAR*>(RtAllocate(static_cast<uint32_t>(wide_count) * sizeof(WCHAR)));
  MultiByteToWideChar(kProgramCodePage, 0, text, -1, wide, wide_count);
  int utf8_count = WideCharToMultiByte(CP_UTF8, 0, wide, wide_count, nullptr, 0, nullptr, nullptr);
  char* utf8;
  if (utf8_count <= 0) {
    utf8 = RtCopyText("");
  } else {
    utf8 = static_cast<char*>(RtAllocate(static_cast<uint32_t>(utf8_count)));
    WideCharToMultiByte(CP_UTF8, 0, wide, wide_count, utf8, utf8_count, nullptr, nullptr);
    utf8[utf8_count - 1] = 0;
  }
  RtRelease(wide);
  return utf8;
}

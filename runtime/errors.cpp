// The fatal run-time error: the box, then the shutdown, then an immediate end with -1.
#include "runtime/internal.h"

uint32_t RtFormatInt(char* out, int32_t value) {
  char reversed[11];
  uint32_t count = 0;
  // Work in unsigned so that the most negative value needs no special case.
  uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  do {
    reversed[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  uint32_t at = 0;
  if (value < 0) out[at++] = '-';
  while (count) out[at++] = reversed[--count];
  out[at] = 0;
  return at;
}

namespace {

// Appends within a fixed buffer, cutting what does not fit.
struct TextBuilder {
  char* out;
  uint32_t capacity;
  uint32_t length;
  void Add(const char* text) {
    for (; text && *text && length + 1 < capacity; ++text) out[length++] = *text;
    out[length] = 0;
  }
};

const char* MessageOfCode(int32_t code) {
  return code == 6 ? "调用DLL命令后发现堆栈错误" : "";
}

uint32_t ComposeErrorText(char* out, uint32_t capacity, int32_t code, const char* message) {
  TextBuilder text{out, capacity, 0};
  out[0] = 0;
  text.Add("运行时出错!\r\n\r\n");
  if (code != 0) {
    char digits[12];
    RtFormatInt(digits, code);
    text.Add("错误代码：");
    text.Add(digits);
    text.Add("\r\n\r\n");
  }
  if (message && *message) {
    text.Add("错误信息：");
    text.Add(message);
    text.Add("\r\n");
  }
  return text.length;
}

const uint32_t kErrorTextCapacity = 1024;

}  // namespace

char* RtComposeErrorText(int32_t code, const char* message) {
  char text[kErrorTextCapacity];
  ComposeErrorText(text, sizeof text, code, message);
  return RtCopyText(text);
}

void RtFatalError(int32_t code, const char* message) {
  ++g_rt.hold;
  if (!g_rt.failing) {
    g_rt.failing = true;
    // Composed without the heap, since running out of it is one of the errors.
    char text[kErrorTextCapacity];
    ComposeErrorText(text, sizeof text, code, message);
    MessageBoxA(nullptr, text, "错误", MB_ICONERROR | MB_OK);
    g_rt.exit_routine_count = 0;
    RtShutdown();
  }
  ExitProcess(static_cast<UINT>(-1));
  __builtin_unreachable();
}

void RtFatalErrorByCode(int32_t code) {
  RtFatalError(code, MessageOfCode(code));
}

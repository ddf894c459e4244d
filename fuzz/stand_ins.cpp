// The few run-time services the recharge code calls, standing in for the run time so that the
// fuzz target needs neither Windows nor the simulation. They count what is outstanding so that
// the target can see a leak or a double release at once.
#include "fuzz/stand_ins.h"

#include <errno.h>
#include <iconv.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "recharge/recharge.h"
#include "runtime/rt.h"

namespace {

long g_outstanding = 0;

bool IsConstantText(const void* text) {
  const char* p = static_cast<const char*>(text);
  return p >= kConstantTexts && p < kConstantTexts + kConstantTextsLength;
}

}  // namespace

long StandInOutstanding() {
  return g_outstanding;
}

void* RtAllocate(uint32_t bytes) {
  void* memory = malloc(bytes == 0 ? 1 : bytes);
  if (!memory) abort();
  ++g_outstanding;
  return memory;
}

void RtRelease(const void* text) {
  if (!text || IsConstantText(text)) return;
  --g_outstanding;
  free(const_cast<void*>(text));
}

// Code page 936 to UTF-8 through iconv. A byte that starts no valid character becomes U+FFFD and
// the conversion goes on after it, so that the conversion never fails.
char* RtAnsiToUtf8(const char* text) {
  static iconv_t converter = iconv_open("UTF-8", "CP936");
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    fprintf(stderr, "iconv has no CP936\n");
    abort();
  }
  if (!text) text = "";
  size_t in_left = strlen(text);
  // A character of at most two bytes gives at most three, and so does a replaced byte.
  const size_t capacity = 3 * in_left + 1;
  char* result = static_cast<char*>(RtAllocate(static_cast<uint32_t>(capacity)));
  char* in = const_cast<char*>(text);
  char* out = result;
  size_t out_left = capacity - 1;
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  while (in_left > 0) {
    if (iconv(converter, &in, &in_left, &out, &out_left) != static_cast<size_t>(-1)) break;
    if (errno != EILSEQ && errno != EINVAL) {
      fprintf(stderr, "iconv failed: %s\n", strerror(errno));
      abort();
    }
    if (out_left < 3) abort();
    memcpy(out, "\xEF\xBF\xBD", 3);
    out += 3;
    out_left -= 3;
    ++in;
    --in_left;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
  }
  *out = '\0';
  return result;
}

intptr_t RtCallDllCommand(uint32_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t) {
  return 42;  // what ShellExecuteA gives on success: more than 32
}

void RtFatalError(int32_t code, const char* message) {
  fprintf(stderr, "fatal run-time error %d: %s\n", code, message ? message : "");
  abort();
}

void RtFatalErrorByCode(int32_t code) {
  RtFatalError(code, nullptr);
}

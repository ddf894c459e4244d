// Joining texts, encoding the amount for the query and composing and opening the address.
#include "recharge/recharge.h"

#include <stddef.h>
#include <string.h>

#include "runtime/rt.h"

namespace {

// ShellExecuteA's show command: SW_SHOWNORMAL.
constexpr intptr_t kShowNormal = 1;

// The run time's allocator takes a 32-bit size; a larger text cannot exist.
[[noreturn]] void TextTooLong() {
  RtFatalError(0, "text too long");
}

uint32_t AllocationSize(uint64_t bytes) {
  if (bytes > UINT32_MAX) TextTooLong();
  return static_cast<uint32_t>(bytes);
}

// RFC 3986 unreserved characters, the only ones a query value may carry as they are.
bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

bool HasNonAscii(const char* text) {
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
    if (*p >= 0x80) return true;
  }
  return false;
}

char* PercentEncode(const unsigned char* bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  uint64_t size = 1;
  for (const unsigned char* p = bytes; *p != 0; ++p) size += IsUnreserved(*p) ? 1 : 3;
  char* result = static_cast<char*>(RtAllocate(AllocationSize(size)));
  char* out = result;
  for (const unsigned char* p = bytes; *p != 0; ++p) {
    if (IsUnreserved(*p)) {
      *out++ = static_cast<char>(*p);
    } else {
      *out++ = '%';
      *out++ = kHex[*p >> 4];
      *out++ = kHex[*p & 0x0F];
    }
  }
  *out = '\0';
  return result;
}

}  // namespace

char* JoinTexts(int32_t count, const char* const* texts) {
  if (count < 0 || count > kJoinTextsMax) RtFatalError(0, "JoinTexts: text count out of range");
  size_t lengths[kJoinTextsMax];
  uint64_t total = 1;  // the terminating zero
  for (int32_t i = 0; i < count; ++i) {
    lengths[i] = texts[i] == nullptr ? 0 : strlen(texts[i]);
    total += lengths[i];
  }
  char* result = static_cast<char*>(RtAllocate(AllocationSize(total)));
  char* out = result;
  for (int32_t i = 0; i < count; ++i) {
    if (lengths[i] != 0) memcpy(out, texts[i], lengths[i]);
    out += lengths[i];
  }
  *out = '\0';
  return result;
}

char* EncodeQueryValue(const char* text) {
  if (text == nullptr) text = EmptyText();
  // ASCII is the same in code page 936 and UTF-8: only other text needs the conversion.
  if (!HasNonAscii(text)) return PercentEncode(reinterpret_cast<const unsigned char*>(text));
  char* utf8 = RtAnsiToUtf8(text);
  char* result = PercentEncode(reinterpret_cast<const unsigned char*>(utf8));
  RtRelease(utf8);
  return result;
}

char* BuildPaymentUrl(PaymentMethod method, const char* amount) {
  char* price = EncodeQueryValue(amount);
  const char* const parts[] = {PaymentUrlPrefix(), price, SignSuffix(method)};
  char* url = JoinTexts(3, parts);
  RtRelease(price);
  return url;
}

void OpenUrl(const char* url) {
  RtCallDllCommand(kShellExecuteCommand, 0, reinterpret_cast<intptr_t>(OpenVerb()),
                   reinterpret_cast<intptr_t>(url), reinterpret_cast<intptr_t>(EmptyText()),
                   reinterpret_cast<intptr_t>(EmptyText()), kShowNormal);
}

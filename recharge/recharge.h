// The window-free half of a recharge: payment methods and their sign codes, the program's
// constant texts, joining texts, composing the payment address and handing it to the shell.
// Every text returned here is new and belongs to the caller, who releases it with RtRelease.
#pragma once

#include <stdint.h>

#ifndef RECHARGE_PAYMENT_SERVER_HOST
#error "RECHARGE_PAYMENT_SERVER_HOST must name the payment server as a quoted dotted IPv4 address"
#endif

// The fixed order is also the order in which a click handles the methods.
enum PaymentMethod : int32_t { Alipay = 1, QQWallet = 2, WeChat = 3 };

// All constant texts lie in this one area, which the program hands to the run time so that
// releasing any of them does nothing. The length counts every byte, terminators included.
// Its length is known here, so that the program's description of itself is constant data.
constexpr uint32_t kConstantTextsLength =
    sizeof("http://" RECHARGE_PAYMENT_SERVER_HOST ":999/pay.jsp?uid=test&price=") +
    3 * sizeof("&sign=158029473650284") + sizeof("open") + 1;
extern const char kConstantTexts[kConstantTextsLength];

// "http://<host>:999/pay.jsp?uid=test&price=": the price value follows directly.
const char* PaymentUrlPrefix();
// "&sign=" and the method's sign code, stored whole; the empty text for an unknown method.
const char* SignSuffix(PaymentMethod method);
// The method's 15-digit sign code (the tail of its SignSuffix); empty for an unknown method.
const char* SignCode(PaymentMethod method);
// The shell verb "open".
const char* OpenVerb();
// The empty text, for the shell call's parameters and working directory.
const char* EmptyText();

// The program's one external function, entry 0 of its table: ShellExecuteA, looked up in the
// system modules (empty module name). The arrays are what the program descriptor points at.
constexpr uint32_t kShellExecuteCommand = 0;
constexpr uint32_t kDllCommandCount = 1;
extern const char* const kDllCommandModules[];
extern const char* const kDllCommandNames[];

// The most texts one JoinTexts call takes: their lengths are noted on the stack.
constexpr int32_t kJoinTextsMax = 16;

// A new text holding the `count` texts one after another; a null text counts as empty. Each
// text is measured once and the result allocated once, at its final size. Never null. A count
// below 0 or above kJoinTextsMax is a fault of the caller and ends the process.
char* JoinTexts(int32_t count, const char* const* texts);

// The text as the value of a query key: RFC 3986 unreserved bytes stay, every other byte is
// written as %XX (uppercase hex). Text holding a byte >= 0x80 is taken as code page 936 and
// converted to UTF-8 first. Null counts as empty. Never null; the result is pure ASCII.
char* EncodeQueryValue(const char* text);

// The method's payment address: PaymentUrlPrefix, the encoded amount text, SignSuffix.
char* BuildPaymentUrl(PaymentMethod method, const char* amount);

// Has the shell open the address with the "open" verb. Borrows `url`; the result is ignored.
void OpenUrl(const char* url);

#include "tests/frame/fixture.h"

#include <stdio.h>

#include <array>
#include <utility>

#include "recharge/recharge.h"

std::vector<std::string> g_events;

uint32_t ProgramTest::Focused() {
  HWND focus = GetFocus();
  const uint32_t all[] = {kRechargeButton, kUnitLabel,      kAmountBox,    kAmountLabel,
                          kWeChatOption,   kQQWalletOption, kAlipayOption, kMainWindowRecord};
  for (uint32_t number : all) {
    HWND control = Control(number);
    if (control && (focus == control || GetParent(focus) == control)) return number;
  }
  return 0;
}

namespace {

// Every event number the run time raises, and then some.
const int32_t kEventNumbers[] = {-8, -7, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
constexpr uint32_t kEventCount = sizeof kEventNumbers / sizeof kEventNumbers[0];
constexpr uint32_t kRecordCount = 8;

const uint32_t kRecordNumbers[kRecordCount] = {kMainWindowRecord, kRechargeButton, kUnitLabel,
                                               kAmountBox,        kAmountLabel,    kWeChatOption,
                                               kQQWalletOption,   kAlipayOption};

std::string Name(uint32_t record) {
  if (record == kMainWindowRecord) return "window";
  char text[16];
  snprintf(text, sizeof text, "%X", record);
  return text;
}

template <uint32_t Record, uint32_t Event>
void Log() {
  uint32_t number = kRecordNumbers[Record];
  int32_t event = kEventNumbers[Event];
  g_events.push_back(Name(number) + " " + std::to_string(event));
  if (number == kMainWindowRecord && event == 0) OnMainWindowCreated();
}

template <uint32_t Record, uint32_t... Events>
constexpr std::array<RtHandler, sizeof...(Events)> RecordHandlers(
    std::integer_sequence<uint32_t, Events...>) {
  return {Log<Record, Events>...};
}

template <uint32_t... Records>
constexpr std::array<std::array<RtHandler, kEventCount>, kRecordCount> AllHandlers(
    std::integer_sequence<uint32_t, Records...>) {
  return {RecordHandlers<Records>(std::make_integer_sequence<uint32_t, kEventCount>())...};
}

const auto kHandlers = AllHandlers(std::make_integer_sequence<uint32_t, kRecordCount>());

struct LoggingLayout {
  RtEventBinding bindings[kRecordCount][kEventCount];
  RtRecord controls[kRecordCount - 1];
  RtWindowLayout window;
  RtLayoutBlock block;
  ProgramDescriptor program;

  LoggingLayout() {
    const RtWindowLayout& real = kLayoutBlock.windows[0];
    window = real;
    for (uint32_t c = 0; c < real.control_count; ++c) controls[c] = real.controls[c];
    window.controls = controls;
    for (uint32_t r = 0; r < kRecordCount; ++r) {
      RtRecord* record = r == 0 ? &window.self : nullptr;
      for (uint32_t c = 0; c < real.control_count; ++c)
        if (controls[c].number == kRecordNumbers[r]) record = &controls[c];
      for (uint32_t e = 0; e < kEventCount; ++e)
        bindings[r][e] = {kEventNumbers[e], static_cast<int32_t>(r * kEventCount + e)};
      record->events = {kEventCount, bindings[r]};
    }
    block = {1, &window};
    program = kProgramDescriptor;
    program.layout = &block;
    program.handlers = &kHandlers[0][0];
    program.handler_count = kRecordCount * kEventCount;
  }
};

}  // namespace

const ProgramDescriptor* LoggingProgram() {
  static const LoggingLayout layout;
  return &layout.program;
}

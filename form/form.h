// The recharge form: its window, its controls and its two event handlers.
#pragma once

#include <stdint.h>

#include "runtime/layout.h"

constexpr uint32_t kMainWindow = 0x52010001;
constexpr uint32_t kMainWindowRecord = 0x06010000;
constexpr uint32_t kRechargeButton = 0x1601000B;
constexpr uint32_t kUnitLabel = 0x16010007;
constexpr uint32_t kAmountBox = 0x16010006;
constexpr uint32_t kAmountLabel = 0x16010005;
constexpr uint32_t kWeChatOption = 0x16010004;
constexpr uint32_t kQQWalletOption = 0x16010003;
constexpr uint32_t kAlipayOption = 0x16010002;

// Property numbers the handlers use.
constexpr uint32_t kComboTextProperty = 9;
constexpr uint32_t kComboSelectionProperty = 19;
constexpr uint32_t kRadioCheckedProperty = 18;

extern const RtLayoutBlock kLayoutBlock;
// The handler table that the layout's handler references index.
constexpr uint32_t kFormHandlerCount = 2;
extern const RtHandler kFormHandlers[kFormHandlerCount];

void OnMainWindowCreated(void);
void OnRechargeButtonClicked(void);

// The stored layout of the main window: the window and its seven controls, in stored order (the
// first on top). The window and the amount box store nothing of their kind.
#include "form/form.h"

constexpr RtHandler kFormHandlers[kFormHandlerCount] = {OnMainWindowCreated,
                                                        OnRechargeButtonClicked};

namespace {

enum : int32_t { kNoHandler = -1, kCreatedHandler = 0, kClickedHandler = 1 };

constexpr RtEventBinding kWindowEvents[] = {{0, kCreatedHandler}};
constexpr RtEventBinding kButtonEvents[] = {{0, kClickedHandler}};
constexpr RtEventTable kNoEvents = {0, nullptr};

constexpr uint32_t kGrey = 0x808080, kWhite = 0xFFFFFF, kBlack = 0x000000;

constexpr RtLabelSettings Label(const char* text) {
  return {text,
          0,
          0,
          8,
          {kGrey, kWhite, kGrey},
          nullptr,
          kBlack,
          kRtSystemButtonFace,
          nullptr,
          1,
          0,
          {kGrey, kWhite, kGrey},
          0,
          0,
          1,
          {"", ""}};
}

constexpr RtRadioSettings Radio(const char* text, int32_t checked) {
  return {nullptr, 0, 0, text, 0, 0, 1, kBlack, kRtSystemButtonFace, nullptr, checked};
}

constexpr RtLabelSettings kAmountLabelSettings = Label("充值金额");
constexpr RtLabelSettings kUnitLabelSettings = Label("元");
constexpr RtButtonSettings kRechargeButtonSettings = {nullptr, 0, "在线充值", 1, 1, nullptr};
constexpr RtRadioSettings kWeChatSettings = Radio("微信", 0);
constexpr RtRadioSettings kQQWalletSettings = Radio("QQ钱包", 0);
constexpr RtRadioSettings kAlipaySettings = Radio("支付宝", 1);

constexpr uint32_t kControlFlags = kRtVisible;
constexpr uint32_t kTabControlFlags = kRtVisible | kRtTabStop;

constexpr RtRecord kControls[] = {
    {kRechargeButton,
     kRtKindButton,
     "按钮1",
     120,
     152,
     128,
     32,
     kTabControlFlags,
     0,
     "",
     0,
     {1, kButtonEvents},
     &kRechargeButtonSettings},
    {kUnitLabel, kRtKindLabel, "标签2", 263, 40, 40, 24, kControlFlags, 0, "", 0, kNoEvents,
     &kUnitLabelSettings},
    {kAmountBox, kRtKindCombo, "组合框1", 126, 44, 128, 20, kTabControlFlags, 0, "", 0, kNoEvents,
     nullptr},
    {kAmountLabel, kRtKindLabel, "标签1", 46, 40, 72, 24, kControlFlags, 0, "", 0, kNoEvents,
     &kAmountLabelSettings},
    {kWeChatOption, kRtKindRadio, "单选框3", 272, 96, 88, 24, kTabControlFlags, 0, "", 0, kNoEvents,
     &kWeChatSettings},
    {kQQWalletOption, kRtKindRadio, "单选框2", 156, 96, 88, 24, kTabControlFlags, 0, "", 0,
     kNoEvents, &kQQWalletSettings},
    {kAlipayOption, kRtKindRadio, "单选框1", 40, 96, 88, 24, kTabControlFlags, 0, "", 0, kNoEvents,
     &kAlipaySettings},
};

constexpr RtWindowLayout kWindows[] = {
    {kMainWindow,
     {kMainWindowRecord,
      kRtKindWindow,
      "",
      50,
      50,
      380,
      250,
      kRtVisible,
      0,
      "",
      0,
      {1, kWindowEvents},
      nullptr},
     sizeof kControls / sizeof kControls[0],
     kControls},
};

}  // namespace

constexpr RtLayoutBlock kLayoutBlock = {1, kWindows};

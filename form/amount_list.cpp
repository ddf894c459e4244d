// The created event of the main window fills the amount box with 1 to 100 and selects the first.
#include "form/form.h"
#include "runtime/rt.h"

void OnMainWindowCreated(void) {
  for (int32_t amount = 1; amount <= 100; ++amount) {
    char* text = RtIntToText(amount);
    RtComboAddItem(kMainWindow, kAmountBox, text ? text : "", nullptr);
    RtRelease(text);
  }
  RtWriteIntProperty(kMainWindow, kAmountBox, kComboSelectionProperty, -1, 0);
}

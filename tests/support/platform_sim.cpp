// The test support on the simulation.
#include <stdio.h>

#include "platform/sim/simctl.h"
#include "tests/support/support.h"

std::string BoxLine(const char* caption, const char* text);

void ResetPlatform() {
  SimReset();
}

int FatalExitStatus() {
  return 255;
}

void ReportMessageBoxes() {
  SimSetMessageBoxHook([](const SimMessageBox& box) {
    fprintf(stderr, "%s\n", BoxLine(box.caption.c_str(), box.text.c_str()).c_str());
    fflush(stderr);
  });
}

std::vector<std::string> OpenedAddresses(size_t) {
  std::vector<std::string> addresses;
  for (const SimShellCall& call : SimShellCalls())
    addresses.push_back(call.file.value_or("<null>"));
  return addresses;
}

// The simulation's record starts empty with every test.
void ForgetOpenedAddresses() {}

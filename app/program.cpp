// The life of the program: start the run time, show the main window, run until it is closed.
#include "app/program.h"

#include "form/form.h"
#include "recharge/recharge.h"
#include "runtime/rt.h"

namespace {

constexpr const char* kLibraries[] = {"runtime"};

int32_t StartupContinuation(void) {
  return 0;
}

}  // namespace

// Constant data through and through: the program starts without the C runtime's initialisation.
constexpr ProgramDescriptor kProgramDescriptor = {
    3, kFormHandlers, kFormHandlerCount, kConstantTexts,     kConstantTextsLength, &kLayoutBlock,
    1, kLibraries,    kDllCommandCount,  kDllCommandModules, kDllCommandNames,
};

void ProgramInit(void) {}

void ProgramExit(void) {}

int32_t StartupRoutine(void) {
  StartupContinuation();
  return 0;
}

int32_t AppMain(void) {
  RtInitialize(&kProgramDescriptor);
  RtResetFloatingPoint();
  ProgramInit();
  RtRegisterExitRoutine(ProgramExit);
  StartupRoutine();
  RtLoadWindow(kMainWindow);
  RtRunMessageLoop();
  return 0;
}

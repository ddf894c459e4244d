// The process entry. The C runtime's start-up is left out: the program's data is constant (its
// description of itself is checked to be so at compile time), it reads no command line, and it
// ends through the run time, so there is nothing for that start-up to do.
#include "app/program.h"
#include "runtime/rt.h"

extern "C" void WinMainCRTStartup(void) {
  RtRunProgram(AppMain);
}

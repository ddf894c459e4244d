// The process entry: the run time starts the program and ends the process when it is done.
#include "app/program.h"
#include "runtime/rt.h"

int main() {
  RtRunProgram(AppMain);
}

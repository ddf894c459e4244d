// The program's own routines around the window run time.
#pragma once

#include <stdint.h>

#include "runtime/layout.h"

extern const ProgramDescriptor kProgramDescriptor;

int32_t AppMain(void);
void ProgramInit(void);
void ProgramExit(void);
int32_t StartupRoutine(void);

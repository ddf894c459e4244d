// The one door to the operating system for the run time: the real Windows headers when building
// for Windows, our simulation of the same subset everywhere else.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <ole2.h>
#include <float.h>  // _fpreset
#else
#include "platform/sim/windows.h"
#endif

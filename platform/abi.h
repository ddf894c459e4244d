// Calling convention of the system's exported functions, for code that must not see windows.h.
#pragma once

#ifdef _WIN32
#define RT_STDCALL __stdcall
#else
#define RT_STDCALL
#endif

// The window run time's operations, as the program's code calls them. Windows and controls are
// named by window number and control number. No operation returns an error: what goes wrong ends
// the process through the fatal run-time error.
#pragma once

#include <stdint.h>

#include "platform/abi.h"
#include "runtime/layout.h"

typedef void (*RtRoutine)(void);

// Start-up and shutdown.
void RtInitialize(const ProgramDescriptor* program);
void RtRegisterExitRoutine(RtRoutine routine);
// All floating-point exceptions masked, rounding to nearest, extended precision.
void RtResetFloatingPoint(void);
void RtLoadWindow(uint32_t window_number);
void RtRunMessageLoop(void);
// Calls app_main once, runs the shutdown and ends the process with the loop's quit code.
[[noreturn]] void RtRunProgram(int32_t (*app_main)(void));
// Shutdown steps up to, and including, uninitialising OLE. Leaves the run time as before
// RtInitialize, so that it can be initialised again.
void RtShutdown(void);

// Dispatches every waiting message as the message loop would, and returns when none is left.
void RtDoEvents(void);
// The routine the message loop calls whenever it finds no message waiting; null for none.
void RtSetIdleRoutine(RtRoutine routine);

// Raises an event of a record: control 0 or the window's own record number names the window.
void RtRaiseEvent(uint32_t window_number, uint32_t control_number, int32_t event);

// The fatal run-time error.
[[noreturn]] void RtFatalError(int32_t code, const char* message);
[[noreturn]] void RtFatalErrorByCode(int32_t code);
// The text the fatal error shows; a new text, for the box and for tests.
char* RtComposeErrorText(int32_t code, const char* message);

// Texts. The allocator never returns null; releasing null or a constant text does nothing.
void* RtAllocate(uint32_t bytes);
void RtRelease(const void* text);
char* RtIntToText(int32_t value);
// The code page 936 text converted to UTF-8; a new text (never null; null gives the empty text).
char* RtAnsiToUtf8(const char* text);

// Properties, as whole values: sub_item is -1.
int32_t RtReadIntProperty(uint32_t window_number, uint32_t control_number, uint32_t property,
                          int32_t sub_item);
char* RtReadTextProperty(uint32_t window_number, uint32_t control_number, uint32_t property,
                         int32_t sub_item);
void RtWriteIntProperty(uint32_t window_number, uint32_t control_number, uint32_t property,
                        int32_t sub_item, int32_t value);

// Commands. The item value is optional: null gives 0.
int32_t RtComboAddItem(uint32_t window_number, uint32_t control_number, const char* text,
                       const int32_t* value);

// External functions: the DllCommand entry is bound by name on first use.
typedef intptr_t(RT_STDCALL* RtDllProc6)(intptr_t, intptr_t, intptr_t, intptr_t, intptr_t,
                                         intptr_t);
intptr_t RtCallDllCommand(uint32_t entry, intptr_t a1, intptr_t a2, intptr_t a3, intptr_t a4,
                          intptr_t a5, intptr_t a6);

// Where the run time's state can be seen by tests.
void* RtControlWindow(uint32_t window_number, uint32_t control_number);  // the HWND, or null
bool RtIsWindowLoaded(uint32_t window_number);
int32_t RtEventHoldCount(void);

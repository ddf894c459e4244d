// What the tests share: acting as a user through ordinary Win32 input messages (so the same
// test runs against the simulation and against real USER32), seeing the fatal error's box from
// a death test, and a fresh platform for every test.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "platform/win32.h"

// A fresh platform for the next test (the simulation's reset; nothing on Windows).
void ResetPlatform();

// The status a death test sees after the run time ends the process with -1.
int FatalExitStatus();

// From now on every message box is written to stderr as one line, "BOX <caption> <text>" in
// hexadecimal bytes, and answered with OK: a death test can match it with BoxPattern.
void ReportMessageBoxes();
std::string BoxPattern(const char* caption, const char* text);

enum Modifier : unsigned { kNoModifier = 0, kShift = 1, kControl = 2, kAlt = 4 };

// Each of these posts what the user's action produces, then lets the run time dispatch it.
void UserKey(UINT key, unsigned modifiers = kNoModifier);
void UserClick(HWND control);
void UserType(const char* text);           // into the focused edit field; code page 936 text
void UserClearField();                     // select all of the focused edit field, then Delete
void UserPickItem(HWND combo, int index);  // from the keyboard, the list closed
void UserCloseButton(HWND window);         // what a click on the caption's close button sends

// Another top-level window of the test's own takes the activation, and gives it back.
void ActivateOtherWindow();
void ReactivateWindow(HWND window);

// The addresses the shell was asked to open since the last ForgetOpenedAddresses, in order.
// Where the shell hands them on to another process, waits (boundedly) until `expected` of them
// have arrived, then a little longer to see that no more come.
std::vector<std::string> OpenedAddresses(size_t expected);
void ForgetOpenedAddresses();

// The window text, as a std::string.
std::string TextOf(HWND hwnd);

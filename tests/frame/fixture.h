// A program under test: the real layout, with handlers of the test's own where it needs them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program.h"
#include "form/form.h"
#include "runtime/rt.h"
#include "tests/support/support.h"

// What the test's handlers saw, in order.
extern std::vector<std::string> g_events;

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPlatform();
    g_events.clear();
  }
  void TearDown() override { RtShutdown(); }

  // Starts the real program up to the message loop.
  void Start(const ProgramDescriptor* program = &kProgramDescriptor) {
    RtInitialize(program);
    RtLoadWindow(kMainWindow);
    RtDoEvents();
  }

  // The real program, with the test's own handlers in place of the form's two.
  void StartWith(RtHandler created, RtHandler clicked) {
    handlers_[0] = created;
    handlers_[1] = clicked;
    program_ = kProgramDescriptor;
    program_.handlers = handlers_;
    Start(&program_);
  }

  static HWND Main() { return Control(kMainWindowRecord); }
  static HWND Control(uint32_t number) {
    return static_cast<HWND>(RtControlWindow(kMainWindow, number));
  }
  // The control that has the focus; the amount box's edit field counts as the box.
  static uint32_t Focused();
  static bool Checked(uint32_t option) {
    return SendMessageA(Control(option), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }

 private:
  RtHandler handlers_[kFormHandlerCount];
  ProgramDescriptor program_;
};

// The real layout with every event of every record bound to a handler that logs it, as
// "<record> <event>" (the record by its control number in hex, "window" for the window).
// The window's created event also fills the amount box as the program does.
const ProgramDescriptor* LoggingProgram();

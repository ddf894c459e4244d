// Reading the stored layout into the window table. The layout is checked as it is read, so that
// nothing later has to distrust it; every handler reference is resolved here, once.
#include "runtime/internal.h"

bool RtIsKnownKind(uint32_t kind) {
  return kind >= kRtKindWindow && kind <= kRtKindCombo;
}

namespace {

bool CheckRecord(const RtRecord& record, bool is_window, const ProgramDescriptor* program) {
  if (record.width < 0 || record.height < 0) return false;
  if (is_window != (record.kind == kRtKindWindow)) return false;
  // Labels, buttons and radio buttons store every setting of their kind; windows and combo
  // boxes store none and run on the defaults.
  bool stores_settings =
      record.kind == kRtKindLabel || record.kind == kRtKindButton || record.kind == kRtKindRadio;
  if (RtIsKnownKind(record.kind) && stores_settings != (record.settings != nullptr)) return false;
  if (record.events.count > 0 && !record.events.bindings) return false;
  for (uint32_t i = 0; i < record.events.count; ++i) {
    int32_t handler = record.events.bindings[i].handler;
    if (handler == -1) continue;
    if (handler < 0 || static_cast<uint32_t>(handler) >= program->handler_count) return false;
    if (!program->handlers[handler]) return false;
  }
  return true;
}

bool CheckWindow(const RtWindowLayout& window, const ProgramDescriptor* program) {
  if (!CheckRecord(window.self, true, program)) return false;
  if (window.control_count > kRtMaxControls) return false;
  if (window.control_count > 0 && !window.controls) return false;
  for (uint32_t i = 0; i < window.control_count; ++i) {
    const RtRecord& control = window.controls[i];
    if (control.number == 0 || control.number == window.self.number) return false;
    if (!CheckRecord(control, false, program)) return false;
    for (uint32_t j = 0; j < i; ++j)
      if (window.controls[j].number == control.number) return false;
  }
  return true;
}

bool CheckLayout(const ProgramDescriptor* program) {
  const RtLayoutBlock* layout = program->layout;
  if (!layout || layout->window_count == 0 || !layout->windows) return false;
  if (program->handler_count > 0 && !program->handlers) return false;
  for (uint32_t i = 0; i < layout->window_count; ++i) {
    if (!CheckWindow(layout->windows[i], program)) return false;
    for (uint32_t j = 0; j < i; ++j)
      if (layout->windows[j].window_number == layout->windows[i].window_number) return false;
  }
  return true;
}

void Resolve(RtRecordState* state, const RtRecord* record, const ProgramDescriptor* program) {
  state->record = record;
  state->hwnd = nullptr;
  state->binding_count = record->events.count;
  state->bindings = nullptr;
  if (!state->binding_count) return;
  state->bindings = static_cast<RtBinding*>(RtAllocate(state->binding_count * sizeof(RtBinding)));
  for (uint32_t i = 0; i < state->binding_count; ++i) {
    const RtEventBinding& stored = record->events.bindings[i];
    state->bindings[i].event = stored.event;
    state->bindings[i].handler = stored.handler == -1 ? nullptr : program->handlers[stored.handler];
  }
}

}  // namespace

bool RtReadLayout(const ProgramDescriptor* program) {
  if (!CheckLayout(program)) return false;
  const RtLayoutBlock* layout = program->layout;
  g_rt.window_count = layout->window_count;
  g_rt.windows =
      static_cast<RtWindowState*>(RtAllocate(layout->window_count * sizeof(RtWindowState)));
  for (uint32_t i = 0; i < layout->window_count; ++i) {
    const RtWindowLayout& stored = layout->windows[i];
    RtWindowState& window = g_rt.windows[i];
    window = RtWindowState{};
    window.number = stored.window_number;
    window.layout = &stored;
    Resolve(&window.self, &stored.self, program);
    window.control_count = stored.control_count;
    if (stored.control_count) {
      window.controls =
          static_cast<RtRecordState*>(RtAllocate(stored.control_count * sizeof(RtRecordState)));
      for (uint32_t c = 0; c < stored.control_count; ++c)
        Resolve(&window.controls[c], &stored.controls[c], program);
    }
  }
  return true;
}

void RtReleaseWindowTable(void) {
  for (uint32_t i = 0; i < g_rt.window_count; ++i) {
    RtWindowState& window = g_rt.windows[i];
    RtRelease(window.self.bindings);
    for (uint32_t c = 0; c < window.control_count; ++c) RtRelease(window.controls[c].bindings);
    RtRelease(window.controls);
  }
  RtRelease(g_rt.windows);
  g_rt.windows = nullptr;
  g_rt.window_count = 0;
}

RtWindowState* RtFindWindow(uint32_t number) {
  for (uint32_t i = 0; i < g_rt.window_count; ++i)
    if (g_rt.windows[i].number == number) return &g_rt.windows[i];
  return nullptr;
}

RtRecordState* RtFindRecord(RtWindowState* window, uint32_t control_number) {
  if (control_number == 0 || control_number == window->self.record->number) return &window->self;
  for (uint32_t c = 0; c < window->control_count; ++c)
    if (window->controls[c].record->number == control_number) return &window->controls[c];
  return nullptr;
}

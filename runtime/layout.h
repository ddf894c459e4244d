// The stored description of the program's windows and of the program itself, as the run time
// reads it. Constant data; the run time validates it once, when it initialises.
#pragma once

#include <stdint.h>

// Kinds of record known to the run time.
enum RtKind : uint32_t {
  kRtKindWindow = 1,
  kRtKindLabel = 2,
  kRtKindButton = 3,
  kRtKindRadio = 4,
  kRtKindCombo = 5,
};

// Record flags.
enum : uint32_t {
  kRtVisible = 1u << 0,
  kRtDisabled = 1u << 1,
  kRtTabStop = 1u << 2,
};

// The colour that stands for the system's button-face colour.
constexpr uint32_t kRtSystemButtonFace = 0xFF000000u;

typedef void (*RtHandler)(void);

// One binding of an event: a handler reference is an index into the program's handler table,
// -1 for no handler.
struct RtEventBinding {
  int32_t event;
  int32_t handler;
};

struct RtEventTable {
  uint32_t count;
  const RtEventBinding* bindings;
};

struct RtLabelSettings {
  const char* text;                    // 8
  int32_t text_effect;                 // 9
  int32_t border;                      // 10
  int32_t gradient_border_width;       // 11
  uint32_t gradient_border_colors[3];  // 12..14
  const char* font;                    // 15, null: the default GUI font
  uint32_t text_color;                 // 16
  uint32_t back_color;                 // 17
  const char* picture;                 // 18
  int32_t picture_layout;              // 19
  int32_t gradient_back;               // 20
  uint32_t gradient_back_colors[3];    // 21..23
  int32_t horizontal_alignment;        // 24
  int32_t word_wrap;                   // 25
  int32_t vertical_alignment;          // 26
  const char* binding_names[2];        // 27, 28
};

struct RtButtonSettings {
  const char* picture;           // 8
  int32_t button_type;           // 9: 0 push button, 1 default push button
  const char* text;              // 10
  int32_t horizontal_alignment;  // 11
  int32_t vertical_alignment;    // 12
  const char* font;              // 13
};

struct RtRadioSettings {
  const char* picture;           // 8
  int32_t push_look;             // 9
  int32_t flat_look;             // 10
  const char* text;              // 11
  int32_t text_left;             // 12
  int32_t horizontal_alignment;  // 13
  int32_t vertical_alignment;    // 14
  uint32_t text_color;           // 15
  uint32_t back_color;           // 16
  const char* font;              // 17
  int32_t checked;               // 18
};

// A window's own record or a control's record. `settings` points at the settings of its kind
// (RtLabelSettings, RtButtonSettings, RtRadioSettings), or is null when nothing of the kind is
// stored and every setting takes the kind's default.
struct RtRecord {
  uint32_t number;
  uint32_t kind;
  const char* name;
  int32_t left, top, width, height;
  uint32_t flags;
  int32_t tab_order;
  const char* tag;
  int32_t mouse_pointer;
  RtEventTable events;
  const void* settings;
};

struct RtWindowLayout {
  uint32_t window_number;
  RtRecord self;
  uint32_t control_count;
  const RtRecord* controls;  // in stored order, the first on top
};

struct RtLayoutBlock {
  uint32_t window_count;
  const RtWindowLayout* windows;
};

// The program's description of itself.
struct ProgramDescriptor {
  uint32_t mode;
  // Code base: the table the handler references index.
  const RtHandler* handlers;
  uint32_t handler_count;
  const char* constant_texts;
  uint32_t constant_texts_length;
  const RtLayoutBlock* layout;
  uint32_t library_count;
  const char* const* libraries;
  uint32_t dll_command_count;
  const char* const* dll_modules;  // module file name of each command; empty: the system list
  const char* const* dll_names;    // exported name of each command
};

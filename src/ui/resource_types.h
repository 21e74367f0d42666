// Kinds and states of the widgets. The numbers are fixed: hit testing and the
// views' mouse handling decide by them.
#pragma once

#include <cstdint>

enum class ResourceType : int32_t {
  Image = 0,     // a background or picture
  Icon = 1,      // a logo or dialog icon: hit like any widget, reacts to nothing
  Button = 2,
  Checkbox = 3,
  Movie = 4,     // the animated banner
  Text = 5,
  Edit = 6,
  Progress = 7,
  Layout = 9,    // sizing only, never hit
  Spacer = 10,
};

// Selects the style a widget draws with and, for buttons, the picture.
enum class ResourceState : int32_t {
  Normal = 0,
  Hover = 1,
  Pressed = 2,
  Disabled = 3,
};

constexpr int RESOURCE_STATE_COUNT = 4;

enum LayoutOrientation : int32_t {
  LayoutVertical = 1,    // children top to bottom
  LayoutHorizontal = 2,  // children left to right
};

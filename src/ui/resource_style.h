// The look of a widget in one state, and the four-state set every drawn
// widget carries. Colours are ARGB (0xAARRGGBB); alpha 0 draws nothing.
// Sizes are design pixels, multiplied by GlobalSettings::windowScale when
// drawn.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ui/resource_types.h"

// String-format alignments of hAlign and vAlign; other values leave the
// format's default.
enum TextAlign : int32_t {
  TextAlignNear = 0,
  TextAlignCenter = 1,
  TextAlignFar = 2,
};

// iconSide: where a button's icon or a checkbox's box sits.
enum IconSide : int32_t {
  IconSideLeft = 0,
  IconSideRight = 1,  // any value other than 1 means left
};

struct ResourceStyle {
  uint32_t textColor = 0xFF000000;  // text; the bar of a progress widget
  uint32_t fillColor = 0x00FFFFFF;  // background of the widget rectangle
  uint32_t borderWidth = 0;         // 0: no border
  uint32_t cornerRadius = 0;        // 0: square corners
  uint32_t borderColor = 0xFFC0C0C0;
  uint32_t fontSize = 16;
  std::wstring fontName;            // MakeDefaultStyle fills the system's default
  uint8_t underline = 0;            // ignored when bold is set
  uint8_t bold = 0;
  int32_t hAlign = TextAlignNear;
  int32_t vAlign = TextAlignCenter;
  int32_t iconSide = IconSideLeft;
};

struct ResourceStyleSet {
  std::array<ResourceStyle, RESOURCE_STATE_COUNT> styles;

  ResourceStyle& operator[](ResourceState state) { return styles[static_cast<size_t>(state)]; }
  const ResourceStyle& operator[](ResourceState state) const {
    return styles[static_cast<size_t>(state)];
  }
};

// The default font family: "Microsoft Yahei", or "SimHei" on Windows XP.
std::wstring DefaultFontName();

ResourceStyle MakeDefaultStyle();
ResourceStyleSet MakeDefaultStyleSet();

// The style a widget in `state` draws with; a state outside Normal..Disabled
// gets the default style.
const ResourceStyle& StyleForState(const ResourceStyleSet& styles, ResourceState state);

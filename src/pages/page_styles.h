// The looks the pages and dialogs share. Every widget of the wizard is built
// from a full style set made here, so the kind defaults of the widget
// constructors never apply; fields not set keep the toolkit's defaults.
#pragma once

#include <cstdint>
#include <memory>

#include "ui/button_resource.h"
#include "ui/image_resource.h"
#include "ui/resource_mgr.h"
#include "ui/resource_style.h"

// Colours of the wizard (ARGB).
constexpr uint32_t COLOR_CLEAR = 0x00FFFFFF;
constexpr uint32_t COLOR_WHITE = 0xFFFFFFFF;
constexpr uint32_t COLOR_FRAME = 0xFFC0C0C0;
constexpr uint32_t COLOR_TITLE = 0xFF1A1A1A;
constexpr uint32_t COLOR_BODY = 0xFF4D4D4D;
constexpr uint32_t COLOR_MUTED = 0xFF666666;
constexpr uint32_t COLOR_WARNING = 0xFFFF4D4F;
constexpr uint32_t COLOR_LINK_HOVER = 0xFF44A7FF;
constexpr uint32_t COLOR_LINK_PRESSED = 0xFF1F87E3;
constexpr uint32_t COLOR_PRIMARY = 0xFFFF6B55;
constexpr uint32_t COLOR_PRIMARY_HOVER = 0xFFF1472E;
constexpr uint32_t COLOR_PRIMARY_PRESSED = 0xFFE13920;
constexpr uint32_t COLOR_PRIMARY_DISABLED = 0xFFC1C1C1;

// The default set with the Normal style's fill, border and corner changed.
ResourceStyleSet PanelStyles(uint32_t fill, uint32_t borderWidth, uint32_t borderColor,
                             uint32_t cornerRadius = 0);

// The default set with the Normal style's text colour, alignment and size.
ResourceStyleSet TextStyles(uint32_t textColor, int32_t hAlign, uint32_t fontSize);

// Normal, Hover and Pressed: no fill, no border colour (the close buttons,
// the check boxes).
ResourceStyleSet ClearStyles();

// The grey-blue text colours of links and check boxes in Normal, Hover and
// Pressed over ClearStyles, at `fontSize`.
ResourceStyleSet LinkStyles(uint32_t fontSize);

// The large orange button ("立即安装", "立即体验"): white centred 16-pixel text
// and radius 2 in every state, grey when disabled.
ResourceStyleSet PrimaryButtonStyles();

// The page background "main_bg.png" on white inside a 1-pixel grey frame (id 0).
std::unique_ptr<CImageResource> MakePageBackground(IResourceMgr* skin);

// The picture-only close button: square, "global_btn_close_normal.png" at
// rest and "global_btn_close_hover.png" under the mouse and pressed.
std::unique_ptr<CButtonResource> MakeCloseButton(int32_t id, IResourceMgr* skin);

// A picture from the skin, null without a manager.
Gdiplus::Image* SkinImage(IResourceMgr* skin, const wchar_t* fileName);

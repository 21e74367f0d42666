// CImageResource: a panel with an optional picture, fill and border, and the
// common part of every drawn widget (button, checkbox, text, progress, edit,
// movie).
#pragma once

#include "ui/base_resource.h"
#include "ui/gdiplus_include.h"
#include "ui/resource_style.h"

class CImageResource : public IBaseResource {
 public:
  // `styles` is copied; null gives the default styles. `kind` is Image or Icon.
  CImageResource(int32_t widgetId, const ResourceStyleSet* styleSet,
                 ResourceType kind = ResourceType::Image);

  bool Draw(HDC hdc) override;
  // Inflates the rectangle, fits it to aspectRatio, then fits the picture.
  bool SetRect(int left, int top, int right, int bottom) override;

  // Shows `picture` (owned by the skin manager; may be null) and fits it.
  void SetImage(Gdiplus::Image* picture);
  // Fits `image` into `rect`, centred, aspect kept; nothing without a picture.
  void UpdateImageRect();

  ResourceStyleSet styles;
  int32_t inflateX = 0;     // design pixels added left and right by SetRect
  int32_t inflateY = 0;     // design pixels added top and bottom
  double aspectRatio = 0;   // width/height the rectangle is fitted to; 0: none
  Gdiplus::Image* image = nullptr;
  RECT imageRect{};

 protected:
  // Builds the image part of a derived widget with the kind's `type`.
  CImageResource(int32_t widgetId, const ResourceStyleSet& styleSet, ResourceType kind);

  const ResourceStyle& CurrentStyle() const { return StyleForState(styles, state); }
  // The common drawing: fill, picture, border, each with the scaled metrics of
  // the current state's style.
  void DrawCommon(Gdiplus::Graphics& graphics) const;
};

// An anti-aliased GDI+ surface on a widget's HDC.
void PrepareWidgetGraphics(Gdiplus::Graphics& graphics);

// A picture's size in pixels; 0 × 0 for null or a picture that did not decode.
void PictureSize(Gdiplus::Image* picture, double& width, double& height);

// Draws `picture` into `target`; nothing for null.
void DrawPicture(Gdiplus::Graphics& graphics, Gdiplus::Image* picture, const RECT& target);

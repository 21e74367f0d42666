#include "ui/window_scale.h"

#include "app/global_settings.h"

double CurrentWindowScale() {
  const GlobalSettings* settings = GetGlobalSettings();
  return settings != nullptr ? settings->windowScale : 1.0;
}

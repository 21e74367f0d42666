#include "ui/resource_style.h"

#include "sys/os_version.h"

std::wstring DefaultFontName() {
  return GetOsVersionCode() == OS_WINDOWS_XP ? L"SimHei" : L"Microsoft Yahei";
}

ResourceStyle MakeDefaultStyle() {
  ResourceStyle style;
  style.fontName = DefaultFontName();
  return style;
}

ResourceStyleSet MakeDefaultStyleSet() {
  ResourceStyleSet set;
  set.styles.fill(MakeDefaultStyle());
  return set;
}

const ResourceStyle& StyleForState(const ResourceStyleSet& styles, ResourceState state) {
  const auto index = static_cast<int32_t>(state);
  if (index >= 0 && index < RESOURCE_STATE_COUNT) return styles[state];
  static const ResourceStyle fallback = MakeDefaultStyle();
  return fallback;
}

// The closer of UniqueBstr, kept apart so that only COM code links OLE Automation.
#include <windows.h>

#include <oleauto.h>

#include "sys/unique_handle.h"

void BstrTraits::Close(Type h) noexcept { ::SysFreeString(h); }

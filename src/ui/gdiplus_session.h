// Starting and stopping GDI+. Whoever starts it keeps the token in an object
// that is destroyed after every GDI+ object of its users.
#pragma once

#include "sys/unique_handle.h"

// Starts GDI+ (version 1, no debug callback, with its background thread and
// external codecs); an empty token when it cannot be started.
UniqueGdiplusToken StartGdiplus();

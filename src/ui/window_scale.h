// The toolkit's scale factor, GlobalSettings::windowScale; 1.0 while there is
// no GlobalSettings. Read on the UI thread.
#pragma once

double CurrentWindowScale();

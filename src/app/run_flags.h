// The process-wide facts of the run that pages and the finished-page work read.
#pragma once

struct RunFlags {
  bool isFirstInstall = true;  // false when the product's uninstall key existed at startup
  bool isReinstall = false;    // the installed version is not older than the newest one
};

RunFlags& GetRunFlags();

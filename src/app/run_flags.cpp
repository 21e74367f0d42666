#include "app/run_flags.h"

RunFlags& GetRunFlags() {
  static RunFlags flags;
  return flags;
}

// The installer's entry point: single-instance guard, the startup sequence,
// the message loop and the end of the run.
#include <windows.h>

#include "app/dll_hardening.h"
#include "app/global_settings.h"
#include "app/single_instance.h"
#include "app/startup_sequence.h"
#include "sys/work_folder.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  HardenLibraryLoading();
  PrepareWorkFolder();

  UniqueKernelHandle instanceMutex = GuardSingleInstance();
  CreateGlobalSettings();
  RunInstallerSession(instance);
  EndRun();
  DeleteGlobalSettings();
  instanceMutex.reset();
  return 0;
}

// CNQReportThread: tells the maker's install-report service, once per run,
// that the product was installed, for channels that ask for it. One form
// POST, up to three attempts; the answer only has to be JSON. Nothing is
// published: the thread's exit code is 0 after a JSON answer, 1 otherwise.
//
// Destroying the object stops it promptly: the request it waits on is
// aborted and its pauses end, then the thread is joined.
#pragma once

#include <windows.h>

#include "download/client_slot.h"
#include "sys/worker_thread.h"
#include "telemetry/report/report_form.h"

class HttpForm;

class CNQReportThread final : public COrvaneBasedThread {
 public:
  // The report of the installer's own run to the deployment's report host.
  explicit CNQReportThread(HWND mainWindow);
  CNQReportThread(HWND mainWindow, ReportEnvironment environment);
  ~CNQReportThread() override;

 protected:
  int Run() override;
  void OnStopRequested() noexcept override { slot_.Abort(); }

 private:
  // One attempt; the reply body, empty on any failure.
  std::string PostOnce(HttpForm& form);

  const HWND mainWindow_;
  const ReportEnvironment environment_;
  ClientSlot slot_;
};

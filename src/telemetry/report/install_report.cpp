#include "telemetry/report/install_report.h"

#include <stdexcept>
#include <utility>

#include "api/gateway.h"
#include "net/codec/http_form.h"
#include "net/tcp_http.h"

namespace {

constexpr int32_t REPORT_ATTEMPTS = 3;
constexpr DWORD REPORT_PAUSE_MS = 300;
constexpr int32_t REPORT_TIMEOUT_MS = 5000;
constexpr char REPORT_PATH[] = "/v1/install/nequil";

}  // namespace

CNQReportThread::CNQReportThread(HWND mainWindow) : CNQReportThread(mainWindow, DefaultReportEnvironment()) {}

CNQReportThread::CNQReportThread(HWND mainWindow, ReportEnvironment environment)
    : mainWindow_(mainWindow), environment_(std::move(environment)) {
  ReleaseThread();
}

CNQReportThread::~CNQReportThread() { StopWorkerThread(); }

int CNQReportThread::Run() {
  try {
    HttpForm form;
    if (!FillReportForm(form, environment_)) throw std::runtime_error("get uid or product_name failed");
    std::string body;
    for (int32_t attempt = 1; attempt <= REPORT_ATTEMPTS && body.empty(); ++attempt) {
      if (attempt > 1 && !SleepUnlessStopped(REPORT_PAUSE_MS)) throw std::runtime_error("user cancel");
      body = PostOnce(form);
      if (body.empty() && IsStopRequested()) throw std::runtime_error("user cancel");
    }
    // Only the form of the answer counts; after three empty attempts this fails.
    ParseReply(body);
    return 0;
  } catch (...) {
    return 1;
  }
}

std::string CNQReportThread::PostOnce(HttpForm& form) {
  try {
    CTCPHttp client(environment_.host, environment_.port);
    AttachedClient attached(slot_, client);
    client.SetRecvTimeout(REPORT_TIMEOUT_MS);
    client.SetSendTimeout(REPORT_TIMEOUT_MS);
    return client.PostForm(environment_.host, REPORT_PATH, form);
  } catch (...) {
    return std::string();
  }
}

// IDownloader: what the progress page holds to get the package onto disk.
// It starts the download, polls its state from a timer thread and finally
// reads the package's path; the slot order of the operations is fixed.
#pragma once

#include <cstdint>
#include <string>

enum DownloadState : int32_t {
  DownloadIdle = 0,      // created, not started
  DownloadRunning = 1,   // URL query or workers running
  DownloadShutDown = 3,  // set by the destructor
  DownloadReady = 4,     // GetFilePath names a verified package
  DownloadFailed = 5,    // the last run failed; Start may be called again
};

class IDownloader {
 public:
  // True when a download (or the URL query) is running, or the package is
  // already ready. UI thread.
  virtual bool Start() = 0;
  // Three operations nothing calls; always false.
  virtual bool Unused1() = 0;
  virtual bool Unused2() = 0;
  virtual bool Unused3() = 0;
  // Percentage 0..100 of the bytes received. Any thread.
  virtual int32_t GetProgress() = 0;
  // Advances the state and returns it (a DownloadState). Timer thread.
  virtual int32_t Poll() = 0;
  // Destroys the object, stopping and joining every thread it started.
  virtual void Release() = 0;
  // The package's local path; final once Poll reported DownloadReady.
  virtual std::wstring GetFilePath() = 0;
  // The address to offer for a manual download.
  virtual std::string GetPackageUrl() = 0;

 protected:
  ~IDownloader() = default;
};

// A downloader for the installer's package in the installer's environment;
// null when it could not be created. The caller owns it (Release).
IDownloader* CreateDownloader();

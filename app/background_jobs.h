#pragma once
// Runs jobs one after another on a thread of its own, so that slow disk work (the recovery
// copy's write and sync) never holds up the window. The destructor waits for every job given.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace obrel {

class BackgroundJobs {
 public:
  BackgroundJobs();
  ~BackgroundJobs();
  BackgroundJobs(const BackgroundJobs&) = delete;
  BackgroundJobs& operator=(const BackgroundJobs&) = delete;

  // Runs job after every job posted before it. A job's exceptions are its own to catch.
  void post(std::function<void()> job);

 private:
  void work();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  bool stopping_ = false;
  std::thread thread_;  // last, so that it starts once the rest is made
};

}  // namespace obrel

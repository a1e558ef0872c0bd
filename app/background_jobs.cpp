#include "app/background_jobs.h"

#include <cstdio>
#include <exception>
#include <utility>

namespace obrel {

BackgroundJobs::BackgroundJobs() : thread_([this] { work(); }) {}

BackgroundJobs::~BackgroundJobs() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void BackgroundJobs::post(std::function<void()> job) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  wake_.notify_one();
}

void BackgroundJobs::work() {
  for (;;) {
    std::function<void()> job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (jobs_.empty()) return;  // stopping, with every job done
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    try {
      job();
    } catch (const std::exception& e) {
      // Nothing on this thread can tell the user; the window goes on.
      std::fprintf(stderr, "Obrel Dizivud: a background job failed: %s\n", e.what());
    }
  }
}

}  // namespace obrel

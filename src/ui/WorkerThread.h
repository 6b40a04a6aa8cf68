// A worker thread started through the window system: joined when the handle
// is destroyed, so no thread outlives the object that started it.
#pragma once

#include <thread>
#include <utility>

namespace hw::ui {

class WorkerThread {
  public:
    // No thread (also what a backend returns when it ran the body inline).
    WorkerThread() = default;
    explicit WorkerThread(std::thread thread) : thread_(std::move(thread)) {}
    WorkerThread(WorkerThread&&) noexcept = default;
    WorkerThread& operator=(WorkerThread&& other) noexcept {
        Join();
        thread_ = std::move(other.thread_);
        return *this;
    }
    ~WorkerThread() { Join(); }

    // True while a started thread has not been joined.
    bool Joinable() const { return thread_.joinable(); }

    // Waits for the thread's end; does nothing when there is none.
    void Join() {
        if (thread_.joinable()) thread_.join();
    }

  private:
    std::thread thread_;
};

}  // namespace hw::ui

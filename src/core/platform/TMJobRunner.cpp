// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMJobRunner.h"

#include <atomic>
#include <system_error>

namespace tilemora {

namespace {

std::atomic<int> jobsInProcess{0};

}  // namespace

// What a job holds of its runner: the queue to post to, and the runner
// while it lives (read and cleared on the main thread only).
struct TMJobRunner::Job::Link {
  std::shared_ptr<TMMainQueue> queue;
  TMJobRunner* runner = nullptr;
};

void TMJobRunner::Job::post(std::function<void()> deliver) const {
  link_->queue->post([link = link_, token = token_, deliver = std::move(deliver)] {
    if (link->runner != nullptr && !token.stop_requested()) deliver();
  });
}

TMJobRunner::TMJobRunner(std::shared_ptr<TMMainQueue> mainQueue)
    : mainQueue_(std::move(mainQueue)), link_(std::make_shared<Job::Link>()) {
  link_->queue = mainQueue_;
  link_->runner = this;
}

TMJobRunner::~TMJobRunner() {
  link_->runner = nullptr;  // late deliveries and end notices are dropped
  for (auto& [number, entry] : jobs_) entry.thread.request_stop();
  jobs_.clear();  // each thread is joined as its entry goes
  // What is still queued holds the link: it no longer holds the queue.
  link_->queue.reset();
}

uint64_t TMJobRunner::start(std::string name, Reads reads, Work work, std::function<void(bool stopped)> ended) {
  const uint64_t number = ++lastJob_;
  jobsInProcess.fetch_add(1);
  try {
    std::jthread thread([work = std::move(work), link = link_, number](std::stop_token token) {
      work(Job(std::move(token), link));
      link->queue->post([link, number] {
        if (link->runner != nullptr) link->runner->ended(number);
      });
      jobsInProcess.fetch_sub(1);
    });
    jobs_.emplace(number, Entry{std::move(name), reads, std::move(ended), std::move(thread)});
  } catch (const std::system_error&) {
    jobsInProcess.fetch_sub(1);
    return 0;
  }
  return number;
}

void TMJobRunner::stop(uint64_t job) {
  if (auto found = jobs_.find(job); found != jobs_.end()) found->second.thread.request_stop();
}

bool TMJobRunner::treeIsRead() const {
  for (const auto& [number, entry] : jobs_) {
    if (entry.reads == Reads::kTheTree) return true;
  }
  return false;
}

std::string TMJobRunner::treeReaderName() const {
  for (const auto& [number, entry] : jobs_) {
    if (entry.reads == Reads::kTheTree) return entry.name;
  }
  return {};
}

void TMJobRunner::afterTreeReaders(std::function<void()> then) {
  bool reading = false;
  for (auto& [number, entry] : jobs_) {
    if (entry.reads != Reads::kTheTree) continue;
    entry.thread.request_stop();
    reading = true;
  }
  if (!reading) {
    then();
    return;
  }
  treeWaiters_.push_back(std::move(then));
}

void TMJobRunner::ended(uint64_t job) {
  auto found = jobs_.find(job);
  if (found == jobs_.end()) return;
  // The work has returned; the thread ends in a moment.
  const bool stopped = found->second.thread.get_stop_token().stop_requested();
  std::function<void(bool)> then = std::move(found->second.ended);
  found->second.thread.join();
  jobs_.erase(found);
  if (then) then(stopped);
  runWaitersIfFree();
}

void TMJobRunner::runWaitersIfFree() {
  if (treeWaiters_.empty() || treeIsRead()) return;
  // What runs now may start other jobs, or wait for readers again.
  std::vector<std::function<void()>> waiters = std::move(treeWaiters_);
  treeWaiters_.clear();
  for (auto& waiter : waiters) waiter();
}

int TMJobRunner::runningInProcess() { return jobsInProcess.load(); }

}  // namespace tilemora

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Work off the main thread. Each piece is a job: a thread of its own
// (std::jthread) with a stop token, owned by the runner, which its owner
// keeps; nothing is detached, and nothing falls back to the main thread.
// A job's results reach the main thread only through the main queue, and
// only while the job was not asked to stop: a job stopped mid-way answers
// nothing.
//
// Jobs that read the shown tree say so; before the tree changes (a
// deletion, a new tree), afterTreeReaders asks them to stop and runs what
// follows once they have all ended — from the main queue, so that the main
// thread never waits for a job while the window is open. Only the runner's
// destruction waits (for jobs asked to stop, milliseconds).
//
// The runner itself is used from the main thread only.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "TMMainQueue.h"

namespace tilemora {

class TMJobRunner {
 public:
  // What a job's work is given.
  class Job {
   public:
    const std::stop_token& stopToken() const { return token_; }
    bool stopRequested() const { return token_.stop_requested(); }
    // Runs `deliver` on the main thread, unless the job has been asked to
    // stop by then, or its runner is gone: then never.
    void post(std::function<void()> deliver) const;

   private:
    friend class TMJobRunner;
    struct Link;
    Job(std::stop_token token, std::shared_ptr<Link> link) : token_(std::move(token)), link_(std::move(link)) {}
    std::stop_token token_;
    std::shared_ptr<Link> link_;
  };
  using Work = std::function<void(const Job& job)>;

  // Whether a job reads the tree the window shows, which must not change
  // under it.
  enum class Reads { kNothingShared, kTheTree };

  explicit TMJobRunner(std::shared_ptr<TMMainQueue> mainQueue);
  // Asks every job to stop and waits for each to end.
  ~TMJobRunner();
  TMJobRunner(const TMJobRunner&) = delete;
  TMJobRunner& operator=(const TMJobRunner&) = delete;

  // Starts `work` on a thread of its own; `name` says what it does ("saving
  // the scan"). `ended` runs on the main thread once the job has ended,
  // after anything it delivered, telling whether it was asked to stop.
  // Answers the job's number, or 0 when no thread could be started (`work`
  // has then not run, and `ended` never runs).
  uint64_t start(std::string name, Reads reads, Work work, std::function<void(bool stopped)> ended = {});
  // Asks a job to stop (a job that has ended is no more).
  void stop(uint64_t job);
  bool isRunning(uint64_t job) const { return jobs_.count(job) != 0; }
  // How many jobs run; whether one of them reads the tree, and what the
  // first such does (empty when none does).
  size_t runningCount() const { return jobs_.size(); }
  bool treeIsRead() const;
  std::string treeReaderName() const;

  // Asks every job that reads the tree to stop, and runs `then` on the main
  // queue once none runs any more: at once, from the queue, when none does.
  void afterTreeReaders(std::function<void()> then);

  // Jobs running in the whole process, in every runner (for a clean exit,
  // and for tests that wait for work to settle).
  static int runningInProcess();

 private:
  struct Entry {
    std::string name;
    Reads reads;
    std::function<void(bool stopped)> ended;
    std::jthread thread;
  };
  // A job's thread has ended its work: it is joined, and what waited for
  // the tree's readers may go on.
  void ended(uint64_t job);
  void runWaitersIfFree();

  std::shared_ptr<TMMainQueue> mainQueue_;
  // What jobs hold of their runner: cleared when the runner goes, so that
  // a late delivery is dropped.
  std::shared_ptr<Job::Link> link_;
  std::map<uint64_t, Entry> jobs_;
  std::vector<std::function<void()>> treeWaiters_;
  uint64_t lastJob_ = 0;
};

}  // namespace tilemora

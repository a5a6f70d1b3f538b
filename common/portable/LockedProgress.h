// A Progress several threads report to at once: each call reaches the one behind it whole, one
// call at a time. Nothing is reported when there is nothing behind it.
#pragma once

#include <mutex>
#include <string>

#include "common/portable/Progress.h"

namespace pub {

class LockedProgress : public Progress {
 public:
  explicit LockedProgress(Progress* inner) : inner_(inner) {}
  // What the callers hand on: null when there is nothing to report to, as they expect.
  Progress* Get() { return inner_ ? this : nullptr; }

  void Step(const std::string& title) override { Pass([&] { inner_->Step(title); }); }
  void Range(int total) override { Pass([&] { inner_->Range(total); }); }
  void Advance() override { Pass([&] { inner_->Advance(); }); }
  void Complete() override { Pass([&] { inner_->Complete(); }); }
  void Status(const std::string& text) override { Pass([&] { inner_->Status(text); }); }
  void Line(const std::string& text) override { Pass([&] { inner_->Line(text); }); }
  void Note(const std::string& text) override { Pass([&] { inner_->Note(text); }); }
  void Failure(const std::string& what, const std::string& reason) override {
    Pass([&] { inner_->Failure(what, reason); });
  }
  void Outcome(RunStep step, bool succeeded, const std::string& reason) override {
    Pass([&] { inner_->Outcome(step, succeeded, reason); });
  }
  void Flush() override { Pass([&] { inner_->Flush(); }); }

 private:
  template <typename Call>
  void Pass(const Call& call) {
    if (!inner_) return;
    std::lock_guard<std::mutex> hold(lock_);
    call();
  }

  Progress* inner_;
  std::mutex lock_;
};

}  // namespace pub

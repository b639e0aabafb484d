#include "HashPool.h"

#include <sodium.h>

#include <stdexcept>

namespace zavuv::server {

HashPool::HashPool(int workers, std::size_t maxQueued) : maxQueued_(maxQueued) {
  if (workers < 1) workers = 1;
  for (int i = 0; i < workers; ++i) threads_.emplace_back([this] { Run(); });
}

HashPool::~HashPool() { Stop(); }

bool HashPool::Submit(std::function<void()> job) {
  {
    std::lock_guard lock(mutex_);
    if (stopping_ || jobs_.size() >= maxQueued_) return false;
    jobs_.push_back(std::move(job));
  }
  wake_.notify_one();
  return true;
}

std::size_t HashPool::Queued() {
  std::lock_guard lock(mutex_);
  return jobs_.size();
}

void HashPool::WaitIdle() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return running_ == 0 && (jobs_.empty() || threads_.empty()); });
}

void HashPool::Stop() {
  {
    std::lock_guard lock(mutex_);
    if (stopping_ && threads_.empty()) return;
    stopping_ = true;
    jobs_.clear();
  }
  wake_.notify_all();
  for (auto& t : threads_) t.join();
  threads_.clear();
}

void HashPool::Run() {
  for (;;) {
    std::function<void()> job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
      if (jobs_.empty()) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
      ++running_;
    }
    job();
    job = nullptr;
    std::lock_guard lock(mutex_);
    if (--running_ == 0 && jobs_.empty()) idle_.notify_all();
  }
}

std::string HashPassword(const std::string& password, const PasswordCost& cost) {
  char out[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(out, password.data(), password.size(), cost.opsLimit, cost.memLimitBytes) != 0)
    throw std::runtime_error("password hashing ran out of memory");
  return out;
}

bool VerifyPassword(const std::string& hash, const std::string& password) {
  if (hash.empty() || hash.size() >= crypto_pwhash_STRBYTES) return false;
  return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

std::string RandomText(std::size_t length, std::string_view alphabet) {
  std::string out(length, ' ');
  for (char& c : out) c = alphabet[randombytes_uniform(static_cast<std::uint32_t>(alphabet.size()))];
  return out;
}

}  // namespace zavuv::server

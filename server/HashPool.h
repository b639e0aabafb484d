// A small pool of worker threads for the slow, blocking work that must stay off the
// event loop: Argon2id password hashing and verification, and piping mail to a
// sendmail program. The queue is bounded: a job beyond it is refused at once, so a
// burst of logins gets a clear answer instead of a reply that arrives too late.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zavuv::server {

class HashPool {
 public:
  HashPool(int workers, std::size_t maxQueued);
  ~HashPool();
  HashPool(const HashPool&) = delete;
  HashPool& operator=(const HashPool&) = delete;

  // Queues the job; false (and the job dropped) when the queue is full or stopping.
  bool Submit(std::function<void()> job);
  // Finishes the jobs already running, drops the queued ones, joins the workers.
  void Stop();
  std::size_t Queued();
  // Returns once no job is queued or running.
  void WaitIdle();

 private:
  void Run();
  std::mutex mutex_;
  std::condition_variable wake_, idle_;
  std::size_t running_ = 0;
  std::deque<std::function<void()>> jobs_;
  std::size_t maxQueued_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

// Argon2id through libsodium's crypto_pwhash_str with the given cost.
struct PasswordCost {
  unsigned long long opsLimit = 2;
  std::size_t memLimitBytes = 19u << 20;
};
std::string HashPassword(const std::string& password, const PasswordCost& cost);
bool VerifyPassword(const std::string& hash, const std::string& password);

// Uniformly random text from the alphabet (randombytes_uniform).
std::string RandomText(std::size_t length, std::string_view alphabet);

}  // namespace zavuv::server

#include "verdict/Verdict.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

#include "stats/Format.h"
#include "strategy/MultiStrategyAnalysis.h"
#include "strategy/Strategy.h"
#include "verdict/Random.h"

namespace zavuv {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The q-quantile of sorted values, interpolated between neighbours.
double Quantile(const std::vector<double>& sorted, double q) {
  const double h = (static_cast<double>(sorted.size()) - 1) * q;
  const auto i = static_cast<std::size_t>(std::floor(h));
  if (i + 1 >= sorted.size()) return sorted.back();
  return sorted[i] + (h - static_cast<double>(i)) * (sorted[i + 1] - sorted[i]);
}

}  // namespace

const char* VerdictWords(VerdictKind kind) {
  switch (kind) {
    case VerdictKind::NoBets: return "沒有投注";
    case VerdictKind::TooFew: return "樣本不足";
    case VerdictKind::NoDifference: return "與莊家優勢無顯著差異";
    case VerdictKind::Worse: return "顯著差於莊家優勢";
    case VerdictKind::Better: return "顯著優於莊家優勢";
  }
  return "";
}

std::string Verdict::Text() const {
  std::string text = VerdictWords(Kind);
  if (HasInterval)
    text += "（95% 信賴區間 " + FormatRatio(CiLow * 100) + " 至 " + FormatRatio(CiHigh * 100) + "）";
  return text;
}

std::int64_t BlockLength(std::int64_t shoes) {
  return std::max<std::int64_t>(1, std::llround(std::cbrt(static_cast<double>(std::max<std::int64_t>(shoes, 0)))));
}

Verdict Judge(const ShoeSums& sums, bool acrossShoes, const VerdictOptions& options) {
  Verdict v;
  v.Shoes = sums.Shoes();
  v.ShoesWithBet = sums.ShoesWithBet();
  v.Bets = sums.Bets();
  v.Staked = sums.Staked();
  v.Profit = sums.Profit();
  if (v.Bets == 0 || !(v.Staked > 0)) {
    v.Kind = VerdictKind::NoBets;
    return v;
  }
  v.ReturnPerUnit = v.Profit / v.Staked;
  v.HouseEdge = (sums.StakedBanker() * kBankerEdge + sums.StakedPlayer() * kPlayerEdge + sums.StakedTie() * kTieEdge) / v.Staked;
  const bool tooFew = v.ShoesWithBet < kMinShoesWithBet || v.Bets < kMinBets;
  // Without an interval there is nothing to judge by: too few, whatever the counts.
  v.Kind = VerdictKind::TooFew;

  // Resampling units: shoes, or runs of consecutive shoes once the collector merged
  // them. Blocks of `block` units are drawn with a uniform start, wrapping around
  // the end (a circular block bootstrap), until as many units as the run has.
  const std::vector<ShoeSums::Unit>& units = sums.Units();
  const auto m = static_cast<std::int64_t>(units.size());
  const std::int64_t perUnit = sums.ShoesPerUnit();
  const std::int64_t shoesPerBlock = acrossShoes ? BlockLength(v.Shoes) : 1;
  const std::int64_t block = std::clamp<std::int64_t>((shoesPerBlock + perUnit - 1) / perUnit, 1, std::max<std::int64_t>(m, 1));
  v.BlockShoes = block * perUnit;
  const auto staked = std::count_if(units.begin(), units.end(), [](const ShoeSums::Unit& u) { return u.staked > 0; });
  if (staked < 2 || options.Resamples < 1 || m > std::numeric_limits<std::uint32_t>::max()) return v;

  // Sums over any run of units from prefix sums over the units laid twice end to end.
  std::vector<double> stakes(static_cast<std::size_t>(2 * m + 1)), profits(stakes.size());
  for (std::int64_t i = 0; i < 2 * m; ++i) {
    const ShoeSums::Unit& u = units[static_cast<std::size_t>(i % m)];
    stakes[static_cast<std::size_t>(i + 1)] = stakes[static_cast<std::size_t>(i)] + u.staked;
    profits[static_cast<std::size_t>(i + 1)] = profits[static_cast<std::size_t>(i)] + u.profit;
  }
  const std::int64_t blocks = (m + block - 1) / block;
  const std::int64_t lastBlock = m - (blocks - 1) * block;
  Random random(options.Seed);
  std::vector<double> ratios;
  ratios.reserve(static_cast<std::size_t>(options.Resamples));
  for (int r = 0; r < options.Resamples; ++r) {
    double s = 0, p = 0;
    if (block == 1) {
      for (std::int64_t b = 0; b < m; ++b) {
        const ShoeSums::Unit& u = units[random.Below(static_cast<std::uint32_t>(m))];
        s += u.staked;
        p += u.profit;
      }
    } else {
      for (std::int64_t b = 0; b < blocks; ++b) {
        const std::size_t start = random.Below(static_cast<std::uint32_t>(m));
        const std::size_t end = start + static_cast<std::size_t>(b + 1 == blocks ? lastBlock : block);
        s += stakes[end] - stakes[start];
        p += profits[end] - profits[start];
      }
    }
    // A resample that happened to draw no stake has no return; it is left out.
    if (s > 0) ratios.push_back(p / s);
  }
  if (ratios.size() < 2) return v;
  std::sort(ratios.begin(), ratios.end());
  const double n = static_cast<double>(ratios.size());
  v.Resamples = static_cast<int>(ratios.size());
  v.HasInterval = true;
  v.CiLow = Quantile(ratios, 0.025);
  v.CiHigh = Quantile(ratios, 0.975);
  // p-values from where a value falls in the resampled returns, each count given one
  // more so that no p-value is 0 with finitely many resamples.
  auto atOrBelow = [&](double x) {
    return static_cast<double>(std::upper_bound(ratios.begin(), ratios.end(), x) - ratios.begin());
  };
  auto atOrAbove = [&](double x) {
    return n - static_cast<double>(std::lower_bound(ratios.begin(), ratios.end(), x) - ratios.begin());
  };
  const double below = atOrBelow(v.HouseEdge), above = atOrAbove(v.HouseEdge);
  v.PVsHouseEdge = std::min(1.0, 2 * (std::min(below, above) + 1) / (n + 1));
  v.PAboveHouseEdge = (below + 1) / (n + 1);
  v.PVsBreakEven = (atOrBelow(0) + 1) / (n + 1);
  if (!tooFew)
    v.Kind = v.CiHigh < v.HouseEdge  ? VerdictKind::Worse
             : v.CiLow > v.HouseEdge ? VerdictKind::Better
                                     : VerdictKind::NoDifference;
  return v;
}

std::vector<double> HolmAdjust(const std::vector<double>& p) {
  const std::size_t k = p.size();
  std::vector<std::size_t> order(k);
  for (std::size_t i = 0; i < k; ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return p[a] < p[b]; });
  std::vector<double> adjusted(k);
  double running = 0;
  for (std::size_t j = 0; j < k; ++j) {
    running = std::max(running, std::min(1.0, static_cast<double>(k - j) * p[order[j]]));
    adjusted[order[j]] = running;
  }
  return adjusted;
}

PagesVerdict JudgePages(const std::vector<Verdict>& pages, const std::vector<bool>& inUse) {
  PagesVerdict out;
  out.HolmP.assign(pages.size(), kNaN);
  std::vector<std::size_t> family;
  for (std::size_t i = 0; i < pages.size(); ++i)
    if ((i >= inUse.size() || inUse[i]) && pages[i].HasInterval && pages[i].Kind != VerdictKind::TooFew &&
        pages[i].Kind != VerdictKind::NoBets)
      family.push_back(i);
  out.Count = static_cast<int>(family.size());
  if (family.empty()) {
    out.BestOfKChance = kNaN;
    return out;
  }
  std::vector<double> p;
  for (std::size_t i : family) p.push_back(pages[i].PVsHouseEdge);
  std::vector<double> holm = HolmAdjust(p);
  double best = 2;
  for (std::size_t j = 0; j < family.size(); ++j) {
    out.HolmP[family[j]] = holm[j];
    if (pages[family[j]].PAboveHouseEdge < best) {
      best = pages[family[j]].PAboveHouseEdge;
      out.Best = static_cast<int>(family[j]);
    }
  }
  // 1 - (1 - best)^K, written so that a small best keeps its digits.
  out.BestOfKChance = -std::expm1(static_cast<double>(out.Count) * std::log1p(-std::min(best, 1.0)));
  return out;
}

std::string PagesVerdict::Text() const {
  if (Count == 0) return {};
  return "若 " + std::to_string(Count) + " 個策略都沒有優勢，其中最好的一個看來至少這麼好的機會：" +
         FormatRatio(BestOfKChance * 100);
}

VerdictReport JudgeRun(const std::vector<Strategy*>& strategies, const MultiStrategyAnalysis& combined,
                       const VerdictOptions& options) {
  VerdictReport report;
  std::vector<bool> inUse, carries;
  bool acrossShoes = false;
  // Reading the sums settles their open shoe: done here, before the threads read them.
  combined.Sums.Units();
  for (const Strategy* s : strategies) {
    s->Sums.Units();
    carries.push_back(s->KeepsStateAcrossShoes());
    inUse.push_back(s->Use);
    if (s->Use && carries.back()) acrossShoes = true;
  }
  // The pages are judged side by side, one per core; each resamples on its own.
  const std::size_t pages = strategies.size();
  report.Strategies.resize(pages);
  auto judge = [&](std::size_t i) {
    if (i < pages) report.Strategies[i] = Judge(strategies[i]->Sums, carries[i], options);
    else report.Combined = Judge(combined.Sums, acrossShoes, options);
  };
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    for (std::size_t i; (i = next.fetch_add(1)) <= pages;) judge(i);
  };
  const std::size_t threads = std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), pages + 1);
  std::vector<std::thread> workers;
  for (std::size_t t = 1; t < threads; ++t) workers.emplace_back(work);
  work();
  for (std::thread& w : workers) w.join();
  report.Pages = JudgePages(report.Strategies, inUse);
  return report;
}

}  // namespace zavuv

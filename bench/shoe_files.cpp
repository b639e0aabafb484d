// Saving and reading shoe data files: ten thousand shoes of 80 games each, through
// the record table and the table container.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "shoes/ShoesData.h"
#include "table/TableFile.h"

using namespace zavuv;

namespace {

void Fill(ShoesData& shoes, int count) {
  shoes.ShoesLoading = true;
  const char letters[] = "BPBBPT";
  for (int i = 0; i < count; ++i) {
    std::string result;
    for (int g = 0; g < 80; ++g) result += letters[(i * 7 + g * 13) % 6];
    shoes.AppendShoe({"Shoe " + std::to_string(i), result, i % 10 ? "" : "note"});
  }
  shoes.ShoesLoading = false;
}

std::string TempFile() {
  return (std::filesystem::temp_directory_path() / ("zavuv-bench-" + std::to_string(::getpid()) + ".DAT")).string();
}

void BM_SaveData(benchmark::State& state) {
  ShoesData shoes;
  Fill(shoes, static_cast<int>(state.range(0)));
  const std::string path = TempFile();
  for (auto _ : state) shoes.SaveData(path);
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::filesystem::remove(path);
}

void BM_ReadData(benchmark::State& state) {
  ShoesData shoes;
  Fill(shoes, static_cast<int>(state.range(0)));
  const std::string path = TempFile();
  shoes.SaveData(path);
  for (auto _ : state) shoes.ReadData(path);
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::filesystem::remove(path);
}

void BM_ExportText(benchmark::State& state) {
  ShoesData shoes;
  Fill(shoes, static_cast<int>(state.range(0)));
  const std::string path = TempFile();
  for (auto _ : state) shoes.ExportText(path, ExportOptions{});
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::filesystem::remove(path);
}

}  // namespace

BENCHMARK(BM_SaveData)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadData)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportText)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

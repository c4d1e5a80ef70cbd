// A page change re-applies the whole skin; with the picture cache warm it must stay under one
// frame (16 ms). The cold start-up is measured beside it for scale.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "../bench_main.h"
#include "app/executable_path.h"
#include "app/frmmain.h"
#include "app/program_windows.h"
#include "ui/headless/headless_backend.h"
#include "ui/picture_cache.h"

namespace {

std::unique_ptr<ui::Application> StartWizard() {
  app::SetExecutablePathForTests(std::string(QUILLON_BENCH_CD_DIR) + "/quillon");
  auto application = ui::headless::MakeHeadlessApplication();
  app::windows().CreateAll(*application);
  return application;
}

void BM_ApplySkinWarmCache(benchmark::State& state) {
  auto application = StartWizard();
  auto& form = *app::windows().mainForm;
  for (auto _ : state) form.applySkin();
  app::windows().DestroyAll();
}
BENCHMARK(BM_ApplySkinWarmCache)->Unit(benchmark::kMillisecond);

void BM_StartUpColdCache(benchmark::State& state) {
  for (auto _ : state) {
    ui::PictureCache::Instance().Clear();
    auto application = StartWizard();
    app::windows().DestroyAll();
  }
}
BENCHMARK(BM_StartUpColdCache)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("XDG_RUNTIME_DIR", "/tmp", 0);
  bench::RunBenchmarks(argc, argv);
  return 0;
}

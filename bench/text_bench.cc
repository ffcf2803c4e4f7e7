// Throughput of the text helpers, the code page conversions, the regular-expression object and
// the JSON object over page-sized inputs. Run: build/bench/text_bench
#include <benchmark/benchmark.h>

#include <string>

#include "script/json_object.h"
#include "script/regex_object.h"
#include "search/site_search_pattern.h"
#include "text/code_page.h"
#include "text/text_slicing.h"

namespace qf {
namespace {

constexpr size_t kPageBytes = 200 * 1024;

// A search-result page in code page 936: Chinese and markup mixed, `anchors` movie anchors spread
// evenly, and a closing marker at the very end so that searches cross the whole page.
Text MakePage(int anchors) {
  const Text filler = FromUtf8(
      "<div class=\"row\"><span>高清电影 在线观看 最新上映</span> <em>评分 8.5</em></div>\n");
  Text page;
  int written = 0;
  const size_t every = kPageBytes / static_cast<size_t>(anchors + 1);
  while (page.size() < kPageBytes) {
    page += filler;
    if (anchors > 0 && page.size() >= every * static_cast<size_t>(written + 1) &&
        written < anchors) {
      page += FromUtf8("<a href=\"http://v.site.test/paly/" + std::to_string(1000 + written) +
                       "/1-1.html\" target=\"_blank\"><b>流浪地球</b> 第" +
                       std::to_string(written) + "部</a>\n");
      ++written;
    }
  }
  return page + "<end>tail</end>";
}

void BM_TextBetween(benchmark::State& state) {
  const Text page = MakePage(0);
  for (auto _ : state) benchmark::DoNotOptimize(TextBetween(page, "<end>", "</end>"));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_TextBetween);

// The reference for the text search: a plain byte search that ignores character boundaries.
void BM_StringViewFind(benchmark::State& state) {
  const Text page = MakePage(0);
  const std::string_view view(page);
  for (auto _ : state) benchmark::DoNotOptimize(view.find("<end>"));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_StringViewFind);

void BM_ReplaceMany(benchmark::State& state) {
  const Text page = MakePage(50);
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReplaceMany(page, {{"<b>", ""}, {"</b>", ""}, {"</span>", ""}}));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_ReplaceMany);

void BM_Gbk936ToUtf8(benchmark::State& state) {
  const Text page = MakePage(50);
  for (auto _ : state) benchmark::DoNotOptimize(ToUtf8(page));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_Gbk936ToUtf8);

void BM_Utf8ToGbk936(benchmark::State& state) {
  const Text utf8 = ToUtf8(MakePage(50));
  for (auto _ : state) benchmark::DoNotOptimize(FromUtf8(utf8));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * utf8.size()));
}
BENCHMARK(BM_Utf8ToGbk936);

void BM_MatchSiteAnchors(benchmark::State& state) {
  const Text page = MakePage(50);
  for (auto _ : state) {
    RegexObject re;
    re.Match(kSiteAnchorPattern, page);
    if (re.MatchCount() != 50) state.SkipWithError("wrong anchor count");
    benchmark::DoNotOptimize(re.GroupText(50, 2));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_MatchSiteAnchors);

// A catalogue-style answer of about 20 KB.
Text MakeJsonAnswer() {
  std::string json = "{\"code\":1,\"msg\":\"ok\",\"page\":1,\"list\":[";
  for (int i = 0; json.size() < 20 * 1024; ++i) {
    if (i > 0) json += ",";
    json += "{\"vod_id\":" + std::to_string(5000 + i) + ",\"vod_name\":\"流浪地球" +
            std::to_string(i) + "\",\"vod_play_url\":\"第1集$https://v.site.test/play/" +
            std::to_string(i) + "/index.m3u8\",\"vod_score\":8.5,\"vod_year\":2023}";
  }
  json += "]}";
  return FromUtf8(json);
}

void BM_JsonParseAndRead(benchmark::State& state) {
  const Text answer = MakeJsonAnswer();
  for (auto _ : state) {
    JsonObject json;
    json.Parse(answer);
    for (int i = 0; i < 10; ++i) {
      benchmark::DoNotOptimize(json.GetText("list[" + std::to_string(i) + "].vod_name"));
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * answer.size()));
}
BENCHMARK(BM_JsonParseAndRead);

}  // namespace
}  // namespace qf

BENCHMARK_MAIN();

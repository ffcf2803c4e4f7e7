// 1,000 sequential GETs to a loopback stand-in through each requester, and through plain libcurl
// with the same handle options: the requesters' own cost over the library's.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include "fakes/fake_http_server.h"
#include "net/requesters.h"

namespace qf {
namespace {

constexpr int kRequests = 1000;

testing::FakeHttpServer& Server() {
  static testing::FakeHttpServer* server = [] {
    auto* s = new testing::FakeHttpServer();
    s->On("/page", testing::HttpResponse("HTTP/1.1 200 OK", {"Set-Cookie: sid=1; path=/"},
                                         std::string(2048, 'x')));
    return s;
  }();
  return *server;
}

size_t Append(char* data, size_t size, size_t count, void* out) {
  static_cast<std::string*>(out)->append(data, size * count);
  return size * count;
}

// What the object requester asks of libcurl, done by hand.
void BM_PlainLibcurl(benchmark::State& state) {
  const std::string url = Server().Url("/page");
  curl_global_init(CURL_GLOBAL_DEFAULT);
  for (auto _ : state) {
    CURL* curl = curl_easy_init();
    std::string body;
    std::string head;
    curl_slist* lines = nullptr;
    for (const char* line :
         {"Accept: */*", "Accept-Language: zh-cn",
          "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)", "Expect:"}) {
      lines = curl_slist_append(lines, line);
    }
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, lines);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, 15000L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 15L);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Append);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, Append);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &head);
    curl_easy_perform(curl);
    curl_slist_free_all(lines);
    curl_easy_cleanup(curl);
    benchmark::DoNotOptimize(body);
  }
}
BENCHMARK(BM_PlainLibcurl)->Iterations(kRequests)->Unit(benchmark::kMicrosecond);

void BM_SendObjectRequest(benchmark::State& state) {
  const std::string url = Server().Url("/page");
  for (auto _ : state) {
    Text headersOut;
    Text cookies = "a=1";
    Text cookiesOut;
    int status = 0;
    RequestOptions options;
    options.headersOut = &headersOut;
    options.cookies = &cookies;
    options.cookiesOut = &cookiesOut;
    options.statusOut = &status;
    benchmark::DoNotOptimize(SendObjectRequest(url, options));
  }
}
BENCHMARK(BM_SendObjectRequest)->Iterations(kRequests)->Unit(benchmark::kMicrosecond);

void BM_SendSessionRequest(benchmark::State& state) {
  const std::string url = Server().Url("/page");
  for (auto _ : state) {
    Text headersOut;
    RequestOptions options;
    options.headersOut = &headersOut;
    benchmark::DoNotOptimize(SendSessionRequest(url, options));
  }
}
BENCHMARK(BM_SendSessionRequest)->Iterations(kRequests)->Unit(benchmark::kMicrosecond);

void BM_SendNativeRequest(benchmark::State& state) {
  const std::string url = Server().Url("/page");
  for (auto _ : state) {
    Text status;
    RequestOptions options;
    options.statusText = &status;
    benchmark::DoNotOptimize(SendNativeRequest(url, options));
  }
}
BENCHMARK(BM_SendNativeRequest)->Iterations(kRequests)->Unit(benchmark::kMicrosecond);

void BM_ReadUrl(benchmark::State& state) {
  const std::string url = Server().Url("/page");
  for (auto _ : state) benchmark::DoNotOptimize(ReadUrl(url));
}
BENCHMARK(BM_ReadUrl)->Iterations(kRequests)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qf

BENCHMARK_MAIN();

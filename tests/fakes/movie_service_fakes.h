// Stand-ins for the movie search's outside services: the video site's search page, the link
// shortener (which hands out "http://s.example/1", "/2", ... in request order) and the catalogue
// API. The short-address host is only written into links, never asked.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "fakes/fake_http_server.h"
#include "search/movie_services.h"

namespace qf::testing {

struct SiteMovie {
  std::string id;     // the identifier in the play path
  std::string title;  // the anchor text, UTF-8
};

class MovieServiceFakes {
 public:
  static constexpr const char* kShortHost = "http://short.example";
  static constexpr const char* kUid = "417";
  static constexpr const char* kAccount = "ab12";

  MovieServiceFakes() {
    shortener.OnOther([this](const std::string&) {
      return HttpResponse("HTTP/1.1 200 OK", {}, "http://s.example/" + std::to_string(++issued_));
    });
  }

  MovieServices Services() const {
    return MovieServices{site.Url(""),      kShortHost, shortener.Url(""),
                         catalogue.Url(""), kUid,       kAccount};
  }

  // The search-result page for `encodedTitle` (as it appears in the address), listing `movies`.
  void ServeSitePage(const std::string& encodedTitle, const std::vector<SiteMovie>& movies) {
    std::string page = "<html><head><meta charset=\"utf-8\"></head><body><ul>\n";
    for (const SiteMovie& movie : movies) {
      page += "<li><a href=\"http://v.example/paly/" + movie.id + "/1-1.html\" target=\"_blank\">" +
              movie.title + "</a></li>\n";
    }
    page += "</ul></body></html>";
    site.On("/so.php?s=vod-search-wd-" + encodedTitle, HttpResponse("HTTP/1.1 200 OK", {}, page));
  }

  // The addresses the shortener was asked to shorten, decoded, in order.
  std::vector<std::string> ShortenedLinks() const {
    std::vector<std::string> links;
    for (const std::string& request : shortener.Requests()) {
      const size_t at = request.find("url=") + 4;
      const std::string encoded = request.substr(at, request.find(' ', at) - at);
      std::string decoded;
      for (size_t i = 0; i + 2 < encoded.size(); i += 3) {  // every byte is "%hh"
        decoded += static_cast<char>(std::stoi(encoded.substr(i + 1, 2), nullptr, 16));
      }
      links.push_back(decoded);
    }
    return links;
  }

  FakeHttpServer site;
  FakeHttpServer shortener;
  FakeHttpServer catalogue;

 private:
  std::atomic<int> issued_{0};
};

}  // namespace qf::testing

// The address of an item page on one of the four item hosts, carrying an "id=" parameter.
#pragma once

#include <array>
#include <string>

namespace qf {

// `hosts`: the marketplace item host, its mobile item host, the Tmall detail host and its mobile
// detail host. Their dots stay unescaped (they match any character), and any "id=" after the
// item path qualifies, with or without a backslash before it.
inline std::string ItemPagePattern(const std::array<std::string, 4>& hosts) {
  std::string pattern = "^((https://|http://))?(";
  for (size_t i = 0; i < hosts.size(); ++i) {
    if (i > 0) pattern += "|";
    pattern += hosts[i] + "/item.htm";
  }
  return pattern + "){1}.*(\\\\?id=|&id=){1}.*";
}

}  // namespace qf

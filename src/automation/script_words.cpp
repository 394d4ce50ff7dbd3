#include "automation/script_words.h"

#include <sstream>

namespace velmora::script {

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::string RestAfter(const std::string& line, int count) {
  std::size_t at = 0;
  for (int i = 0; i < count; ++i) {
    at = line.find_first_not_of(" \t", at);
    at = line.find_first_of(" \t", at);
    if (at == std::string::npos) return "";
  }
  return line.substr(at + 1);
}

std::optional<long long> WholeNumber(const std::string& word) {
  if (word.empty()) return std::nullopt;
  std::size_t used = 0;
  try {
    const long long value = std::stoll(word, &used);
    if (used == word.size()) return value;
  } catch (const std::exception&) {
  }
  return std::nullopt;
}

std::vector<int> Lines(const std::vector<std::string>& words, std::size_t from) {
  std::vector<int> lines;
  for (std::size_t i = from; i < words.size(); ++i) {
    const auto n = WholeNumber(words[i]);
    if (!n || *n < 0 || *n > 100000) return {};
    lines.push_back(static_cast<int>(*n));
  }
  return lines;
}

}  // namespace velmora::script

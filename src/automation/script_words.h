#pragma once

#include <optional>
#include <string>
#include <vector>

// How a script line is read: its words, the text after some of them, and numbers.
namespace velmora::script {

std::vector<std::string> Words(const std::string& line);

// The text after the first `count` words and the one blank that ends the last of them.
std::string RestAfter(const std::string& line, int count);

// A number of the whole word, or nothing.
std::optional<long long> WholeNumber(const std::string& word);

// "Name(i)" stays one word; line numbers are 0-based.
std::vector<int> Lines(const std::vector<std::string>& words, std::size_t from);

}  // namespace velmora::script

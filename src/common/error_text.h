#pragma once

#include <exception>
#include <string>

namespace velmora {

// What the user is told about a failure, in Japanese: what went wrong and what to do. A text
// the program already wrote in Japanese is shown as it is; the engine's and the library's
// English texts are replaced by one for their kind of failure.
std::string UserErrorText(std::exception_ptr failure);

// The failure's own text (what()), for standard error; empty when it has none.
std::string TechnicalErrorText(std::exception_ptr failure);

// True when `text` holds hiragana: the program's own messages all do, while engine texts, file
// paths and codes (which may carry kanji or katakana) do not make a sentence of it.
bool IsJapaneseSentence(const std::string& text);

}  // namespace velmora

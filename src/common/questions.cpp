#include "common/questions.h"

#include <iostream>

namespace velmora {
namespace {

void Print(std::string_view title, std::string_view text) {
  if (!title.empty()) std::cerr << title << ": ";
  std::cerr << text << std::endl;
}

}  // namespace

void ConsoleQuestions::Tell(const Message& message) {
  Print(message.title, message.text);
}

Answer ConsoleQuestions::Ask(const Question& question) {
  Print(question.title, question.text);
  return question.byDefault;
}

}  // namespace velmora

#include "common/error_text.h"

#include <filesystem>
#include <new>
#include <stdexcept>

#include "common/errors.h"

namespace velmora {

bool IsJapaneseSentence(const std::string& text) {
  // Hiragana is U+3041..U+309F: E3 81 81..E3 82 9F in UTF-8.
  for (std::size_t i = 0; i + 2 < text.size(); ++i) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    const auto b1 = static_cast<unsigned char>(text[i + 1]);
    const auto b2 = static_cast<unsigned char>(text[i + 2]);
    if (b0 != 0xE3) continue;
    if ((b1 == 0x81 && b2 >= 0x81 && b2 <= 0xBF) || (b1 == 0x82 && b2 >= 0x80 && b2 <= 0x9F)) {
      return true;
    }
  }
  return false;
}

std::string UserErrorText(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::bad_alloc&) {
    return "メモリが不足しています。ほかのアプリケーションを終了するか、期間を短くしてやり直して"
           "ください。";
  } catch (const std::exception& e) {
    if (IsJapaneseSentence(e.what())) return e.what();
    if (dynamic_cast<const DatabaseError*>(&e)) {
      return "データベースの処理に失敗しました。データベースのファイルと設定ファイルを確認して"
             "ください。";
    }
    if (dynamic_cast<const ConversionError*>(&e)) {
      return "データの値を読み取れませんでした。計画の日付や数値が正しいか確認してください。";
    }
    if (dynamic_cast<const std::filesystem::filesystem_error*>(&e)) {
      return "ファイルを読み書きできませんでした。保存先のフォルダ、書き込み権限と空き容量を"
             "確認してください。";
    }
  } catch (...) {
  }
  return "予期しないエラーが発生しました。もう一度やり直し、繰り返す場合は管理者に連絡してくだ"
         "さい。";
}

std::string TechnicalErrorText(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
  }
  return "";
}

}  // namespace velmora

#include "common/error_text.h"

#include <filesystem>
#include <new>
#include <stdexcept>

#include "common/errors.h"
#include "common/utf8.h"

namespace velmora {

bool IsJapaneseSentence(const std::string& text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t c = DecodeUtf8(text, pos);
    if (c >= 0x3041 && c <= 0x309F) return true;  // hiragana
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

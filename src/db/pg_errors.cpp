#include "db/pg_errors.h"

#include <libpq-fe.h>

#include <iostream>
#include <new>

namespace velmora::db {

const std::string kPgBusy =
    "データベースは他のプログラムで使用中です。しばらくしてから、もう一度やり直してください。";
const std::string kPgLost =
    "データベースサーバーとの接続が切れました。書きかけの内容は保存されていません。"
    "接続を確認して、もう一度やり直してください。";

namespace {

std::string Trimmed(const char* text) {
  std::string s = text ? text : "";
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return s;
}

bool Contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

// The n-th name in double quotes in a server or libpq message ("" when there is none).
std::string Quoted(const std::string& text, int n = 0) {
  std::size_t open = std::string::npos;
  std::size_t from = 0;
  for (int k = 0; k <= n; ++k) {
    open = text.find('"', from);
    if (open == std::string::npos) return "";
    const std::size_t close = text.find('"', open + 1);
    if (close == std::string::npos) return "";
    if (k == n) return text.substr(open + 1, close - open - 1);
    from = close + 1;
  }
  return "";
}

// What libpq found malformed in an address, as the user would look for it.
std::string MalformedPart(const std::string& detail) {
  if (Contains(detail, "percent-encoded")) return "「%」で始まる文字「" + Quoted(detail) + "」";
  if (Contains(detail, "unexpected spaces")) return "空白（%20 と書きます）";
  if (Contains(detail, "IPv6")) return "IPv6 アドレスを閉じる「]」";
  if (Contains(detail, "unexpected character")) return "文字「" + Quoted(detail) + "」";
  if (Contains(detail, "missing \"=\"")) return "「" + Quoted(detail, 1) + "」の後の「=」";
  if (Contains(detail, "unterminated quoted string")) return "閉じていない引用符";
  if (Contains(detail, "port")) return "ポート番号";
  return "書き方";
}

}  // namespace

void CheckPgAddress(const std::string& address, const std::string& shown) {
  char* error = nullptr;
  if (PQconninfoOption* options = PQconninfoParse(address.c_str(), &error)) {
    PQconninfoFree(options);
    return;
  }
  if (error == nullptr) throw std::bad_alloc();
  const std::string detail = Trimmed(error);
  PQfreemem(error);
  std::cerr << "velmora: " << shown << ": " << detail << std::endl;
  if (Contains(detail, "invalid URI query parameter") ||
      Contains(detail, "invalid connection option")) {
    throw DatabaseError(
        "設定ファイルのデータベースのアドレスに、使えないオプション「" + Quoted(detail) +
        "」があります。アドレスを確認してください。\nアドレス: " + shown + "\n(" + detail + ")");
  }
  throw DatabaseError(
      "設定ファイルのデータベースのアドレスが正しくありません（" + MalformedPart(detail) +
      "）。アドレスを確認してください。\nアドレス: " + shown + "\n(" + detail + ")");
}

DatabaseError PgConnectError(PGconn* conn, const std::string& shown) {
  const std::string detail = Trimmed(PQerrorMessage(conn));
  const std::string user = PQuser(conn) ? PQuser(conn) : "";
  if (PQconnectionNeedsPassword(conn) || Contains(detail, "authentication failed") ||
      Contains(detail, "no pg_hba.conf entry") ||
      (Contains(detail, "role \"") && Contains(detail, "does not exist"))) {
    return DatabaseError(
        "データベースサーバーへのログインが拒否されました。ユーザー名とパスワード"
        "（~/.pgpass または PGPASSWORD）を確認してください。\nユーザー: " +
        user + "\n(" + detail + ")");
  }
  if (Contains(detail, "database \"") && Contains(detail, "does not exist")) {
    const char* db = PQdb(conn);
    return DatabaseError("データベース「" + std::string(db ? db : "") +
                         "」がサーバーにありません。設定ファイルのデータベース名を確認してください"
                         "。\n(" +
                         detail + ")");
  }
  if (Contains(detail, "invalid port number") ||
      (Contains(detail, "invalid integer value") && Contains(detail, "\"port\""))) {
    return DatabaseError("設定ファイルのデータベースのアドレスが正しくありません（ポート番号「" +
                         Quoted(detail) + "」）。アドレスを確認してください。\nアドレス: " + shown +
                         "\n(" + detail + ")");
  }
  const char* host = PQhost(conn);
  const char* port = PQport(conn);
  return DatabaseError(
      "データベースサーバーに接続できません。サーバーが動いているか、ネットワークと設定ファイルの"
      "アドレスを確認してください。\nホスト: " +
      std::string(host && *host ? host : "localhost") +
      "  ポート: " + std::string(port && *port ? port : "5432") + "\n(" + detail + ")");
}

bool PgConnectionLost(PGconn* conn, const PGresult* result) {
  if (PQstatus(conn) != CONNECTION_OK) return true;
  const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  const std::string code = state ? state : "";
  // libpq's own errors have no code; 08 is a connection failure, 57P the server ending the
  // session (shut down, or by an administrator).
  return code.empty() || code.starts_with("08") || code.starts_with("57P");
}

void ThrowPgFailure(PGconn* conn, const PGresult* result, std::string_view what,
                    const std::string& name) {
  const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  const std::string code = state ? state : "";
  const std::string detail = Trimmed(result ? PQresultErrorMessage(result) : PQerrorMessage(conn));
  const char* primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
  const std::string message = primary ? primary : detail;
  const std::string technical = std::string(what) + ": " + detail;
  const std::string tail = "\n" + name + "\n(" + technical + ")";
  if (PgConnectionLost(conn, result)) throw DatabaseError(kPgLost + "\n(" + technical + ")");
  if (code == "40001" || code == "40P01") throw TransactionConflict(technical);
  if (code == "55P03") throw DatabaseError(kPgBusy + "\n(" + technical + ")");
  if (code == "25006") {
    throw DatabaseError("データベースは読み取り専用で開かれているため、書き込めません。" + tail);
  }
  if (code == "42501") {
    // "permission denied for table X": the name follows the kind of object.
    std::string object = message;
    for (const char* kind : {"for table ", "for relation ", "for sequence ", "for schema "}) {
      if (const std::size_t at = message.find(kind); at != std::string::npos) {
        object = message.substr(at + std::string_view(kind).size());
      }
    }
    const char* user = PQuser(conn);
    throw DatabaseError("データベースの「" + object +
                        "」を使う権限がありません。管理者に、このユーザーの権限を確認してもらって"
                        "ください。\nユーザー: " +
                        std::string(user ? user : "") + tail);
  }
  if (code == "42P01") {
    throw DatabaseError(
        "データベースに必要なテーブルがありません（「" + Quoted(message) +
        "」）。管理者に velmora-demo --empty でテーブルを作成してもらってください。" + tail);
  }
  if (code == "42703") {
    // 'column "x" of relation "t" does not exist', or 'column t.x does not exist' unquoted.
    std::string column = Quoted(message);
    std::string table = Quoted(message, 1);
    if (column.empty() && message.starts_with("column ")) {
      column = message.substr(7, message.find(" does not exist") - 7);
      if (const std::size_t dot = column.find('.'); dot != std::string::npos) {
        table = column.substr(0, dot);
        column.erase(0, dot + 1);
      }
    }
    throw DatabaseError(
        "データベースのテーブル" + (table.empty() ? "" : "「" + table + "」") + "に必要な列「" +
        column + "」がありません。管理者にテーブルの定義を確認してもらってください。" + tail);
  }
  throw DatabaseError(technical);
}

}  // namespace velmora::db

#include "roundtrip/row_rewriter.h"

#include <random>

#include "support/pg_test_server.h"

namespace velmora::test {

RowRewriter::RowRewriter(const std::string& uri, std::vector<std::int32_t> numbers,
                         std::uint64_t seed) {
  thread_ = std::thread([this, uri, numbers, seed] {
    PgConnectionPtr connection = ConnectPg(uri);
    std::mt19937_64 random(seed);
    while (!stop_) {
      const std::string sql = numbers.empty() || random() % 8 == 0
                                  ? "UPDATE 番号管理マスタ SET 現在番号=現在番号"
                                  : "UPDATE 手配情報 SET 手配数=手配数 WHERE 手配番号=" +
                                        std::to_string(numbers[random() % numbers.size()]);
      // A row the save holds makes this wait for its commit, as any other program would.
      try {
        ExecPg(connection.get(), sql);
        ++rewritten_;
      } catch (const std::exception&) {
        // Its own failures (its connection ended with the test) are not the save's business.
      }
    }
  });
}

RowRewriter::~RowRewriter() {
  stop_ = true;
  thread_.join();
}

}  // namespace velmora::test

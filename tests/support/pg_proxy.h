#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A go-between for one test: clients connect to it over TCP on 127.0.0.1, and it passes the
// PostgreSQL protocol on to the test server's socket and back. On the way it lets the test act
// between two of a client's requests, cut a connection right after the server answered a
// statement (the answer never arrives), or cut every connection at once.
namespace velmora::test {

class PgProxy {
 public:
  // Passes on to the server of `databaseUri` (a socket address of the test server).
  explicit PgProxy(const std::string& databaseUri);
  ~PgProxy();
  PgProxy(const PgProxy&) = delete;
  PgProxy& operator=(const PgProxy&) = delete;

  // The same database, reached through the proxy.
  const std::string& Uri() const { return uri_; }

  // Runs on the proxy's thread before each request goes on to the server (a simple query, or the
  // messages up to a Sync), with the request's number among all requests since the hook was set
  // and the SQL texts it carries, one per line. The client waits meanwhile.
  using Hook = std::function<void(int request, const std::string& sql)>;
  void OnRequest(Hook hook);
  // The next request whose SQL contains `text` goes to the server; once the server has answered
  // all of it, its connection is cut and the client never reads the answer.
  void CutAfterAnswerTo(const std::string& text);
  // Cuts every open connection, as a server gone away without a word.
  void CutAll();
  // While on, new connections are closed at once, as by a server that cannot be reached.
  void Refuse(bool refuse) { refusing_ = refuse; }
  // Requests passed on since the hook was last set.
  int Requests() const { return requests_; }

 private:
  struct Link;
  void Run();
  void Accept();
  // False when the link is to be closed.
  bool FromClient(Link& link);
  bool FromServer(Link& link);
  void Close(Link& link);

  std::string socketPath_;
  std::string uri_;
  int listener_ = -1;
  int wake_[2] = {-1, -1};
  std::atomic<bool> stop_{false};
  std::atomic<bool> cutAll_{false};
  std::atomic<bool> refusing_{false};
  std::atomic<int> requests_{0};
  std::mutex mutex_;
  Hook hook_;
  std::string cutAfter_;
  std::vector<std::unique_ptr<Link>> links_;
  std::thread thread_;
};

}  // namespace velmora::test

#include "support/pg_proxy.h"

#include <arpa/inet.h>
#include <libpq-fe.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace velmora::test {
namespace {

// Messages a client sends before its startup message has no type byte; these codes stand where
// the protocol version would.
constexpr std::uint32_t kSslRequest = 80877103, kGssRequest = 80877104;

std::uint32_t BigEndian32(const char* at) {
  std::uint32_t v;
  std::memcpy(&v, at, 4);
  return ntohl(v);
}

bool SendAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<std::size_t>(sent);
  }
  return true;
}

std::string Option(PQconninfoOption* options, const char* keyword) {
  for (PQconninfoOption* o = options; o->keyword != nullptr; ++o) {
    if (std::strcmp(o->keyword, keyword) == 0 && o->val != nullptr) return o->val;
  }
  return "";
}

}  // namespace

struct PgProxy::Link {
  int client = -1;
  int server = -1;
  bool started = false;      // the startup message went by: typed messages follow
  std::string fromClient;    // bytes not yet cut into messages
  std::string request;       // whole messages of the request under way
  std::string sql;           // its SQL texts
  bool cutOnAnswer = false;  // the request to cut after went by
  std::string fromServer;    // of a link to cut: answer bytes not yet cut into messages
};

PgProxy::PgProxy(const std::string& databaseUri) {
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(databaseUri.c_str(), &error);
  if (options == nullptr) {
    const std::string why = error ? error : "out of memory";
    PQfreemem(error);
    throw std::runtime_error("not a server address: " + databaseUri + ": " + why);
  }
  const std::string port = Option(options, "port").empty() ? "5432" : Option(options, "port");
  socketPath_ = Option(options, "host") + "/.s.PGSQL." + port;
  const std::string user = Option(options, "user");
  const std::string database = Option(options, "dbname");
  PQconninfoFree(options);

  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::listen(listener_, 16) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
      ::pipe(wake_) != 0) {
    throw std::runtime_error("the proxy cannot listen on 127.0.0.1");
  }
  uri_ = "postgresql://" + user + "@127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/" +
         database + "?sslmode=disable&gssencmode=disable";
  thread_ = std::thread([this] { Run(); });
}

PgProxy::~PgProxy() {
  stop_ = true;
  const char byte = 0;
  (void)::write(wake_[1], &byte, 1);
  thread_.join();
  for (auto& link : links_) Close(*link);
  ::close(listener_);
  ::close(wake_[0]);
  ::close(wake_[1]);
}

void PgProxy::OnRequest(Hook hook) {
  std::lock_guard lock(mutex_);
  hook_ = std::move(hook);
  requests_ = 0;
}

void PgProxy::CutAfterAnswerTo(const std::string& text) {
  std::lock_guard lock(mutex_);
  cutAfter_ = text;
}

void PgProxy::CutAll() {
  cutAll_ = true;
  const char byte = 0;
  (void)::write(wake_[1], &byte, 1);
  while (cutAll_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void PgProxy::Close(Link& link) {
  if (link.client >= 0) ::close(link.client);
  if (link.server >= 0) ::close(link.server);
  link.client = link.server = -1;
}

void PgProxy::Run() {
  while (!stop_) {
    std::vector<pollfd> watched{{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    for (const auto& link : links_) {
      watched.push_back({link->client, POLLIN, 0});
      watched.push_back({link->server, POLLIN, 0});
    }
    if (::poll(watched.data(), watched.size(), 1000) < 0) continue;
    if (watched[1].revents != 0) {
      char bytes[16];
      (void)::read(wake_[0], bytes, sizeof bytes);
    }
    if (cutAll_) {
      for (auto& link : links_) Close(*link);
      links_.clear();
      cutAll_ = false;
      continue;
    }
    for (std::size_t k = 0; k < links_.size(); ++k) {
      Link& link = *links_[k];
      const bool client = watched[2 + 2 * k].revents != 0;
      const bool server = watched[3 + 2 * k].revents != 0;
      if ((client && !FromClient(link)) || (server && link.server >= 0 && !FromServer(link))) {
        Close(link);
      }
    }
    std::erase_if(links_, [](const auto& link) { return link->client < 0; });
    if (watched[0].revents != 0) Accept();
  }
}

void PgProxy::Accept() {
  const int client = ::accept(listener_, nullptr, nullptr);
  if (client < 0) return;
  if (refusing_) {
    ::close(client);
    return;
  }
  const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socketPath_.c_str(), sizeof address.sun_path - 1);
  if (server < 0 || ::connect(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(client);
    if (server >= 0) ::close(server);
    return;
  }
  auto link = std::make_unique<Link>();
  link->client = client;
  link->server = server;
  links_.push_back(std::move(link));
}

bool PgProxy::FromClient(Link& link) {
  char buffer[65536];
  const ssize_t got = ::recv(link.client, buffer, sizeof buffer, 0);
  if (got <= 0) return false;
  link.fromClient.append(buffer, static_cast<std::size_t>(got));
  std::string& in = link.fromClient;
  while (true) {
    if (!link.started) {
      if (in.size() < 8) return true;
      const std::uint32_t length = BigEndian32(in.data());
      if (in.size() < length) return true;
      const std::uint32_t code = BigEndian32(in.data() + 4);
      if (!SendAll(link.server, in.data(), length)) return false;
      if (code != kSslRequest && code != kGssRequest) link.started = true;
      in.erase(0, length);
      continue;
    }
    if (in.size() < 5) return true;
    const std::size_t length = 1 + BigEndian32(in.data() + 1);
    if (in.size() < length) return true;
    const char type = in[0];
    const std::string message = in.substr(0, length);
    in.erase(0, length);
    link.request += message;
    if (type == 'Q') link.sql += std::string(message.c_str() + 5) + "\n";
    if (type == 'P') {
      const char* name = message.c_str() + 5;
      link.sql += std::string(name + std::strlen(name) + 1) + "\n";
    }
    // A request ends with a simple query or a Sync; anything else (authentication, the end of
    // the session) goes on at once.
    const bool ends = type == 'Q' || type == 'S';
    const bool plain = type == 'p' || type == 'X';
    if (!ends && !plain) continue;
    if (ends) {
      Hook hook;
      {
        std::lock_guard lock(mutex_);
        hook = hook_;
        if (!cutAfter_.empty() && link.sql.find(cutAfter_) != std::string::npos) {
          link.cutOnAnswer = true;
          cutAfter_.clear();
        }
      }
      if (hook) hook(requests_, link.sql);
      ++requests_;
    }
    if (!SendAll(link.server, link.request.data(), link.request.size())) return false;
    link.request.clear();
    link.sql.clear();
  }
}

bool PgProxy::FromServer(Link& link) {
  char buffer[65536];
  const ssize_t got = ::recv(link.server, buffer, sizeof buffer, 0);
  if (got <= 0) return false;
  if (!link.cutOnAnswer) return SendAll(link.client, buffer, static_cast<std::size_t>(got));
  // The answer is read to its end (ReadyForQuery) and dropped with the connection.
  link.fromServer.append(buffer, static_cast<std::size_t>(got));
  std::string& in = link.fromServer;
  while (in.size() >= 5) {
    const std::size_t length = 1 + BigEndian32(in.data() + 1);
    if (in.size() < length) break;
    if (in[0] == 'Z') return false;
    in.erase(0, length);
  }
  return true;
}

}  // namespace velmora::test

#include "db/connection_text.h"

#include <gtest/gtest.h>

#include "common/errors.h"

namespace velmora::db {
namespace {

TEST(ConnectionText, AnyPathSurvivesTheRoundTrip) {
  for (const std::string path :
       {"/data/plan.db", "/data/a;b.db", " /data/lead.db", "/data/trail.db ", "/data/\"q\".db",
        "'single'.db", "/data/it's.db", "/data/a=b.db", "/データ/計画.db"}) {
    EXPECT_EQ(path, DataSource(MakeConnectionString(path))) << MakeConnectionString(path);
  }
  // Plain paths keep the plain form other programs read.
  EXPECT_EQ("Data Source=/tmp/a b.db;", MakeConnectionString("/tmp/a b.db"));
}

TEST(ConnectionText, ReadsTheDataSourceAmongOtherParts) {
  const struct {
    const char* text;
    const char* path;
  } cases[] = {
      {"Data Source=/x/a.db;", "/x/a.db"},
      {"Provider=p; Data Source = /x/a.db ;User ID=u", "/x/a.db"},
      {"junk;Data Source=/x/a.db", "/x/a.db"},
      {"Data Source=\"/x/a;b.db \";Password=p", "/x/a;b.db "},
      {"Data Source='/x/it''s.db'", "/x/it's.db"},
      {"Password=\"a;Data Source=/wrong\";Data Source=/x/a.db", "/x/a.db"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.path, DataSource(c.text)) << c.text;
}

TEST(ConnectionText, TextWithoutAUsableDataSourceIsAnError) {
  for (const char* text : {"", "Provider=x;", "Data Source=\"/x/open.db"}) {
    EXPECT_THROW(DataSource(text), DatabaseError) << text;
  }
}

// Messages show a server address; its password never.
TEST(ConnectionText, ServerAddressesLoseTheirPasswordOnly) {
  const struct {
    const char* address;
    const char* shown;
  } cases[] = {
      {"postgresql://planner@db:5432/plant", "postgresql://planner@db:5432/plant"},
      {"postgresql://planner:s3cr:et@db/plant", "postgresql://planner@db/plant"},
      {"postgres://planner:pw@/plant?host=/tmp/s", "postgres://planner@/plant?host=/tmp/s"},
      {"postgresql://db/plant?password=pw&sslmode=off", "postgresql://db/plant?sslmode=off"},
      {"postgresql://db/plant?sslmode=off&password=pw", "postgresql://db/plant?sslmode=off"},
      {"postgresql://db/plant?password=pw", "postgresql://db/plant"},
      {"/srv/plan/factory.db", "/srv/plan/factory.db"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.shown, AddressWithoutPassword(c.address)) << c.address;
}

}  // namespace
}  // namespace velmora::db

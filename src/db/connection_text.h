#pragma once

#include <string>
#include <string_view>

namespace velmora::db {

// "Data Source=<path>;": the form of the connection text built at start-up. A path that the
// plain form would not carry intact (a ';', a quote, blanks at either end) is written in double
// quotes with inner quotes doubled, so that DataSource gives back exactly the path.
std::string MakeConnectionString(std::string_view databasePath);

// The "Data Source" value of a connection text: an unquoted value ends at ';' and loses its
// surrounding blanks; a value in double or single quotes is taken as written (a doubled quote
// stands for one). DatabaseError when there is none.
std::string DataSource(std::string_view connectionString);

// A server address as messages may show it: the password, if the address holds one, left out.
std::string AddressWithoutPassword(std::string_view address);

}  // namespace velmora::db

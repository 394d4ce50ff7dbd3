#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::db {
class Connection;
class Recordset;
}  // namespace velmora::db

namespace velmora::lotdetail {

// The query of the sales orders and requirement plans arrangement `orderNo` serves, with the
// customers and items of both joined in.
std::string OrderRelationsSql(std::int32_t orderNo);

// The list line of the current relation row: kind, number and the joined columns, the due date
// as "mm/dd" and the open quantity right-aligned; a missing joined column adds nothing.
std::string RelationLine(db::Recordset& rs);

// Every relation line of the arrangement, in the order the query returns them.
std::vector<std::string> ReadOrderRelations(db::Connection& connection, std::int32_t orderNo);

}  // namespace velmora::lotdetail

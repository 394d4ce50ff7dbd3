#include "lotdetail/order_relations.h"

#include "common/date_text.h"
#include "common/text.h"
#include "db/recordset.h"

namespace velmora::lotdetail {
namespace {

// Null gives nothing, as the concatenation of a missing column does.
std::string TextOrNothing(db::Recordset& rs, const char* field) {
  db::Field f = rs.Fields(field);
  return f.IsNull() ? "" : f.Text();
}

std::string DueText(db::Recordset& rs, const char* field) {
  db::Field f = rs.Fields(field);
  if (f.IsNull()) return "";
  return StoredMonthDay(f.Text());
}

}  // namespace

std::string OrderRelationsSql(std::int32_t orderNo) {
  return std::string(
             "SELECT 手配受注関係情報.*,受注得意先.得意先略名 AS "
             "受注得意先名,所要得意先.得意先略名 "
             "AS 所要得意先名 ") +
         ",納期別受注情報.得意先コード AS 受注得意先コード,納期別所要計画情報.得意先コード AS "
         "所要得意先コード " +
         ",納期別受注情報.品名コード AS 受注品名コード,納期別所要計画情報.品名コード AS "
         "所要品名コード " +
         ",受注品目.品名略称 AS 受注品名,所要品目.品名略称 AS 所要品名 " +
         ",納期別受注情報.納期 AS 受注納期,納期別所要計画情報.納期 AS 所要納期 " +
         ",納期別受注情報.受注数量,納期別受注情報.出荷数量,納期別所要計画情報.所要計画数量 " +
         " FROM (((((手配受注関係情報 LEFT JOIN 納期別受注情報 ON 手配受注関係情報.番号 = "
         "納期別受注情報.受注番号 ) " +
         " LEFT JOIN 納期別所要計画情報 ON 手配受注関係情報.番号 = "
         "納期別所要計画情報.所要計画No) " +
         " LEFT JOIN 得意先マスタ AS 受注得意先 ON "
         "受注得意先.得意先コード=納期別受注情報.得意先コード) " +
         " LEFT JOIN 得意先マスタ AS 所要得意先 ON "
         "所要得意先.得意先コード=納期別所要計画情報.得意先コード) " +
         " LEFT JOIN 品目マスタ AS 受注品目 ON 受注品目.品名コード=納期別受注情報.品名コード) " +
         " LEFT JOIN 品目マスタ AS 所要品目 ON 所要品目.品名コード=納期別所要計画情報.品名コード " +
         " WHERE 手配番号=" + std::to_string(orderNo);
}

std::string RelationLine(db::Recordset& rs) {
  const std::string num = AlignRight(TextOrNothing(rs, "番号"), 8);
  if (TextOrNothing(rs, "受注データ区分") == "2") {
    db::Field ordered = rs.Fields("受注数量");
    db::Field shipped = rs.Fields("出荷数量");
    const std::string open =
        ordered.IsNull() || shipped.IsNull()
            ? ""
            : std::to_string(static_cast<long long>(ordered.Number() - shipped.Number()));
    return "受注     " + num + " " + TextOrNothing(rs, "受注品名コード") +
           TextOrNothing(rs, "受注品名") + TextOrNothing(rs, "受注得意先コード") +
           TextOrNothing(rs, "受注得意先名") + DueText(rs, "受注納期") + AlignRight(open, 8);
  }
  return "所要計画 " + num + " " + TextOrNothing(rs, "所要品名コード") +
         TextOrNothing(rs, "所要品名") + TextOrNothing(rs, "所要得意先コード") +
         TextOrNothing(rs, "所要得意先名") + DueText(rs, "所要納期") +
         AlignRight(TextOrNothing(rs, "所要計画数量"), 8);
}

std::vector<std::string> ReadOrderRelations(db::Connection& connection, std::int32_t orderNo) {
  std::vector<std::string> lines;
  db::Recordset rs;
  rs.Open(OrderRelationsSql(orderNo), connection);
  for (; !rs.Eof(); rs.MoveNext()) lines.push_back(RelationLine(rs));
  rs.Close();
  return lines;
}

}  // namespace velmora::lotdetail

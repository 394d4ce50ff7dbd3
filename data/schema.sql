-- Velmora production-planning database.
-- Stored forms: dates "yyyymmdd" ("00000000" = none), times "hhnnss", flags "0"/"1",
-- one-character class codes, two-digit category codes. Codes are TEXT, numbers INTEGER/DOUBLE PRECISION.
-- Every column has a default, so a row can be inserted naming only the columns it needs.

-- Arrangements: one row per process step of a production lot (the bars of the chart).
CREATE TABLE 手配情報 (
  手配番号 INTEGER PRIMARY KEY,
  上位手配番号 INTEGER NOT NULL DEFAULT 0,
  生産計画番号 INTEGER DEFAULT 0,
  品名コード TEXT NOT NULL DEFAULT '',
  順序 INTEGER NOT NULL DEFAULT 0,
  生産工場コード INTEGER NOT NULL DEFAULT 0,
  工程内容コード TEXT NOT NULL DEFAULT '',
  機械コード TEXT NOT NULL DEFAULT '        ',
  指示先コード TEXT NOT NULL DEFAULT '',
  ラインコード TEXT NOT NULL DEFAULT '',
  開始日 TEXT NOT NULL DEFAULT '00000000',
  納期 TEXT NOT NULL DEFAULT '00000000',
  GNT開始時刻 TEXT NOT NULL DEFAULT '000000',
  GNT終了時刻 TEXT NOT NULL DEFAULT '000000',
  GNT初期納期 TEXT DEFAULT '00000000',
  GNT所要時間（分） INTEGER DEFAULT 0,
  段取時間 INTEGER NOT NULL DEFAULT 0,
  手配数 INTEGER NOT NULL DEFAULT 0,
  受入実績数 INTEGER NOT NULL DEFAULT 0,
  最終実績日 TEXT DEFAULT '00000000',
  指示書発行日 TEXT NOT NULL DEFAULT '00000000',
  必要人員 INTEGER NOT NULL DEFAULT 0,
  実績時間 INTEGER NOT NULL DEFAULT 0,
  金型番号 TEXT DEFAULT NULL,
  手配確定区分 TEXT NOT NULL DEFAULT '1',
  完納区分 TEXT NOT NULL DEFAULT '0',
  スケジューラ固定区分 TEXT NOT NULL DEFAULT '0',
  手配区分 TEXT NOT NULL DEFAULT '3',
  社内社外区分 TEXT NOT NULL DEFAULT '1',
  仕入区分 TEXT NOT NULL DEFAULT ' ',
  単価 DOUBLE PRECISION NOT NULL DEFAULT 0,
  単価区分 TEXT NOT NULL DEFAULT '0',
  金額 DOUBLE PRECISION NOT NULL DEFAULT 0,
  消費税額 DOUBLE PRECISION NOT NULL DEFAULT 0,
  合計金額 DOUBLE PRECISION NOT NULL DEFAULT 0,
  削除フラグ TEXT NOT NULL DEFAULT '0',
  更新日 TEXT NOT NULL DEFAULT '00000000',
  更新時刻 TEXT NOT NULL DEFAULT '000000',
  更新プログラム TEXT NOT NULL DEFAULT '',
  更新端末番号 INTEGER NOT NULL DEFAULT 0,
  -- Columns the editor never names; the save copies them with the rest of a row.
  ロット番号 TEXT NOT NULL DEFAULT '',
  登録日 TEXT NOT NULL DEFAULT '00000000',
  登録担当者 TEXT NOT NULL DEFAULT '',
  備考 TEXT NOT NULL DEFAULT ''
);
CREATE INDEX 手配情報_納期 ON 手配情報 (納期);
CREATE INDEX 手配情報_上位手配番号 ON 手配情報 (上位手配番号);
CREATE INDEX 手配情報_生産計画番号 ON 手配情報 (生産計画番号);
CREATE INDEX 手配情報_品名順序 ON 手配情報 (品名コード, 順序);

CREATE TABLE 生産計画情報 (
  生産計画番号 INTEGER PRIMARY KEY,
  計画数 INTEGER NOT NULL DEFAULT 0,
  品名コード TEXT NOT NULL DEFAULT ''
);

CREATE TABLE 品目マスタ (
  品名コード TEXT PRIMARY KEY NOT NULL DEFAULT '',
  品名＿品名仕様 TEXT NOT NULL DEFAULT '',
  型番名 TEXT NOT NULL DEFAULT '',
  型番名仕様ＡＮＫ TEXT NOT NULL DEFAULT '',
  包装単位数量 INTEGER NOT NULL DEFAULT 0,
  品名略称 TEXT NOT NULL DEFAULT ''
);

CREATE TABLE 工程手順マスタ (
  品名コード TEXT NOT NULL DEFAULT '',
  順序 INTEGER NOT NULL DEFAULT 0,
  生産工場コード INTEGER NOT NULL DEFAULT 0,
  工程内容コード TEXT NOT NULL DEFAULT '',
  標準生産性＿機械 DOUBLE PRECISION NOT NULL DEFAULT 0,
  削除フラグ TEXT NOT NULL DEFAULT '0',
  PRIMARY KEY (品名コード, 順序, 生産工場コード)
);
-- The plan load reaches a category's arrangements through its process contents and routes.
CREATE INDEX 工程手順マスタ_工程内容 ON 工程手順マスタ (工程内容コード);

CREATE TABLE 工程内容マスタ (
  工程内容コード TEXT PRIMARY KEY NOT NULL DEFAULT '',
  工程内容名 TEXT NOT NULL DEFAULT '',
  工程分類コード TEXT NOT NULL DEFAULT ''
);
CREATE INDEX 工程内容マスタ_工程分類 ON 工程内容マスタ (工程分類コード);

CREATE TABLE 成形品マスタ (
  品名コード TEXT NOT NULL DEFAULT '',
  順序 INTEGER NOT NULL DEFAULT 0,
  部コード INTEGER NOT NULL DEFAULT 0,
  リサイクル DOUBLE PRECISION NOT NULL DEFAULT 0,
  取数 INTEGER NOT NULL DEFAULT 0,
  ショット重量 DOUBLE PRECISION NOT NULL DEFAULT 0,
  前段取時間 INTEGER DEFAULT 0,
  後段取時間 INTEGER DEFAULT 0,
  PRIMARY KEY (品名コード, 順序, 部コード)
);

CREATE TABLE 品目別機械別ｻｲｸﾙﾏｽﾀ (
  品名コード TEXT NOT NULL DEFAULT '',
  順序 INTEGER NOT NULL DEFAULT 0,
  機械コード TEXT NOT NULL DEFAULT '',
  サイクル DOUBLE PRECISION NOT NULL DEFAULT 0,
  削除フラグ TEXT NOT NULL DEFAULT '0',
  PRIMARY KEY (品名コード, 順序, 機械コード)
);

CREATE TABLE 機械マスタ (
  機械コード TEXT PRIMARY KEY NOT NULL DEFAULT '',
  機械名 TEXT NOT NULL DEFAULT '',
  生産工場コード INTEGER NOT NULL DEFAULT 0,
  工程分類コード TEXT NOT NULL DEFAULT '',
  指示先コード TEXT DEFAULT '',
  削除フラグ TEXT NOT NULL DEFAULT '0'
);
CREATE INDEX 機械マスタ_工場分類 ON 機械マスタ (生産工場コード, 工程分類コード);

-- Several rows may exist for one machine and day; they are read in start-time order.
CREATE TABLE 機械別勤務体系マスタ (
  機械コード TEXT NOT NULL DEFAULT '',
  年月日 TEXT NOT NULL DEFAULT '00000000',
  勤務時間 INTEGER NOT NULL DEFAULT 0,
  開始時刻１ TEXT NOT NULL DEFAULT '000000',
  終了時刻１ TEXT NOT NULL DEFAULT '000000',
  開始時刻２ TEXT NOT NULL DEFAULT '000000',
  終了時刻２ TEXT NOT NULL DEFAULT '000000'
);
CREATE INDEX 機械別勤務体系マスタ_機械日 ON 機械別勤務体系マスタ (機械コード, 年月日, 開始時刻１);

CREATE TABLE 部課マスタ (
  部コード INTEGER NOT NULL DEFAULT 0,
  課コード INTEGER NOT NULL DEFAULT 0,
  部名 TEXT NOT NULL DEFAULT '',
  削除フラグ TEXT NOT NULL DEFAULT '0',
  PRIMARY KEY (部コード, 課コード)
);

CREATE TABLE 仕入先マスタ (
  仕入先コード TEXT PRIMARY KEY NOT NULL DEFAULT '',
  仕入先名略名 TEXT NOT NULL DEFAULT '',
  仕入先分類 TEXT NOT NULL DEFAULT '2',
  削除フラグ TEXT NOT NULL DEFAULT '0'
);

CREATE TABLE 指示先別工程分類 (
  指示先コード TEXT NOT NULL DEFAULT '',
  工程分類コード TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (指示先コード, 工程分類コード)
);
CREATE INDEX 指示先別工程分類_分類 ON 指示先別工程分類 (工程分類コード);

CREATE TABLE 工程分類マスタ (
  工程分類コード TEXT PRIMARY KEY NOT NULL DEFAULT '',
  工程分類名 TEXT NOT NULL DEFAULT '',
  削除フラグ TEXT NOT NULL DEFAULT '0'
);

CREATE TABLE 番号管理マスタ (
  番号管理キー TEXT PRIMARY KEY NOT NULL DEFAULT '',
  現在番号 INTEGER NOT NULL DEFAULT 0,
  開始番号 INTEGER NOT NULL DEFAULT 0,
  終了番号 INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE 所要量情報 (
  上位手配番号 INTEGER NOT NULL DEFAULT 0,
  手配番号 INTEGER NOT NULL DEFAULT 0,
  支給制御区分 TEXT NOT NULL DEFAULT '1',
  原単位分母 DOUBLE PRECISION NOT NULL DEFAULT 1,
  原単位分子 DOUBLE PRECISION NOT NULL DEFAULT 1,
  必要数 DOUBLE PRECISION NOT NULL DEFAULT 0,
  確定区分 TEXT NOT NULL DEFAULT '1',
  生産工場コード INTEGER NOT NULL DEFAULT 0,
  削除フラグ TEXT NOT NULL DEFAULT '0'
);
CREATE INDEX 所要量情報_上位手配番号 ON 所要量情報 (上位手配番号);

CREATE TABLE 仕入単価マスタ (
  取引先コード TEXT NOT NULL DEFAULT '',
  品名コード TEXT NOT NULL DEFAULT '',
  順序 INTEGER NOT NULL DEFAULT 0,
  開始日 TEXT NOT NULL DEFAULT '00000000',
  単価 DOUBLE PRECISION NOT NULL DEFAULT 0,
  単価区分 TEXT NOT NULL DEFAULT '1',
  PRIMARY KEY (取引先コード, 品名コード, 順序, 開始日)
);

CREATE TABLE 手配受注関係情報 (
  手配番号 INTEGER NOT NULL DEFAULT 0,
  番号 INTEGER NOT NULL DEFAULT 0,
  受注データ区分 TEXT NOT NULL DEFAULT '2'
);
CREATE INDEX 手配受注関係情報_手配番号 ON 手配受注関係情報 (手配番号);

CREATE TABLE 納期別受注情報 (
  受注番号 INTEGER PRIMARY KEY,
  得意先コード TEXT NOT NULL DEFAULT '',
  品名コード TEXT NOT NULL DEFAULT '',
  納期 TEXT NOT NULL DEFAULT '00000000',
  受注数量 INTEGER NOT NULL DEFAULT 0,
  出荷数量 INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE 納期別所要計画情報 (
  所要計画No INTEGER PRIMARY KEY,
  得意先コード TEXT NOT NULL DEFAULT '',
  品名コード TEXT NOT NULL DEFAULT '',
  納期 TEXT NOT NULL DEFAULT '00000000',
  所要計画数量 INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE 得意先マスタ (
  得意先コード TEXT PRIMARY KEY NOT NULL DEFAULT '',
  得意先略名 TEXT NOT NULL DEFAULT ''
);

CREATE TABLE 構成マスタ (
  上位品名コード TEXT NOT NULL DEFAULT '',
  下位品名コード TEXT NOT NULL DEFAULT '',
  生産工場コード INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (上位品名コード, 下位品名コード, 生産工場コード)
);
CREATE INDEX 構成マスタ_下位品名コード ON 構成マスタ (下位品名コード);

CREATE TABLE 在庫情報 (
  品名コード TEXT NOT NULL DEFAULT '',
  順序 INTEGER NOT NULL DEFAULT 0,
  生産工場ｺｰﾄﾞ INTEGER NOT NULL DEFAULT 0,
  現在庫数 INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (品名コード, 順序, 生産工場ｺｰﾄﾞ)
);

#!/usr/bin/env bash
# Builds the sample database examples/sample.db: 23 orders with whole
# numbers, reals, texts, a hyperlink column ("text#address#"), a picture
# file-name column (pictures in examples/pictures/), a date column and NULLs.
# Usage: examples/make_sample_db.sh [OUTPUT]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/sample.db}
tmp=$(mktemp "$out.XXXXXX")
trap 'rm -f "$tmp"' EXIT

sqlite3 "$tmp" <<'SQL'
CREATE TABLE orders(
  OrderID   INTEGER PRIMARY KEY,
  Customer  VARCHAR(40) NOT NULL,
  Product   TEXT,
  Quantity  INTEGER,
  UnitPrice REAL,
  Ordered   DATE,
  Paid      BOOLEAN,
  Website   HYPERLINK,
  Photo     TEXT,
  Notes     TEXT
);
INSERT INTO orders VALUES
 (1001, 'Adler & Sons',      'Hex bolt M8',   120, 0.35, '2024-01-05', 1, 'Adler#https://adler.example.com/#',        'bolt.bmp',   NULL),
 (1002, 'Birch Joinery',     'Wing nut M6',    40, 0.22, '2024-01-09', 1, '#https://birch.example.com/orders#',        'nut.bmp',    'Rush order'),
 (1003, 'Cobalt Works',      'Spur gear 24T',   6, 12.9, '2024-01-14', 0, 'Cobalt Works#mailto:buy@cobalt.example.com#', 'gear.bmp', NULL),
 (1004, 'Delta Marine',      'Spring 40 mm',  300, 0.08, '2024-01-20', 1, 'Delta#https://delta.example.com/#',         'spring.bmp', 'Stainless'),
 (1005, 'Elm Street Garage', 'Hex bolt M10',   80, 0.52, '2024-02-02', 1, NULL,                                        'bolt.bmp',   NULL),
 (1006, 'Fjord Cycles',      'Wing nut M4',   250, 0.12, '2024-02-07', 0, 'Fjord#https://fjord.example.com/#',         'nut.bmp',    NULL),
 (1007, 'Granite Tools',     'Spur gear 36T',   4, 18.4, '2024-02-11', 1, 'Granite#https://granite.example.com/#',     'gear.bmp',   'Check teeth'),
 (1008, 'Harbour Supplies',  'Spring 25 mm',  500, 0.05, '2024-02-19', 1, 'Harbour#https://harbour.example.com/#',     'spring.bmp', NULL),
 (1009, 'Iris Electronics',  'Hex bolt M3',  1000, 0.04, '2024-03-01', 0, NULL,                                        NULL,         'No photo on file'),
 (1010, 'Juniper Farms',     'Wing nut M8',    60, 0.31, '2024-03-04', 1, 'Juniper#https://juniper.example.com/#',     'nut.bmp',    NULL),
 (1011, 'Kestrel Aviation',  'Spur gear 48T',   2, 31.0, '2024-03-12', 1, 'Kestrel#https://kestrel.example.com/#',     'gear.bmp',   NULL),
 (1012, 'Lumen Lighting',    'Spring 10 mm', 1200, 0.02, '2024-03-18', 0, 'Lumen#https://lumen.example.com/#',         'spring.bmp', 'Split delivery'),
 (1013, 'Maple Furniture',   'Hex bolt M6',   200, 0.18, '2024-04-03', 1, 'Maple#https://maple.example.com/#',         'bolt.bmp',   NULL),
 (1014, 'Nordic Pumps',      'Wing nut M10',   30, 0.44, '2024-04-08', 1, 'Nordic#https://nordic.example.com/#',       'nut.bmp',    NULL),
 (1015, 'Orchid Labs',       'Spur gear 12T',  10, 7.5,  '2024-04-15', 0, 'Orchid Labs#mailto:lab@orchid.example.com#', 'gear.bmp', NULL),
 (1016, 'Pine Robotics',     'Spring 60 mm',   75, 0.21, '2024-04-22', 1, 'Pine#https://pine.example.com/#',           'spring.bmp', NULL),
 (1017, 'Quarry Stoneworks', 'Hex bolt M12',   45, 0.95, '2024-05-06', 1, 'Quarry#https://quarry.example.com/#',       'bolt.bmp',   'Galvanised'),
 (1018, 'Rowan Bakery',      'Wing nut M5',    90, 0.15, '2024-05-13', 0, NULL,                                        'nut.bmp',    NULL),
 (1019, 'Spruce Outdoor',    'Spur gear 20T',   8, 9.8,  '2024-05-21', 1, 'Spruce#https://spruce.example.com/#',       'gear.bmp',   NULL),
 (1020, 'Tidewater Boats',   'Spring 30 mm',  150, 0.09, '2024-06-03', 1, 'Tidewater#https://tidewater.example.com/#', 'spring.bmp', NULL),
 (1021, 'Umber Studios',     'Hex bolt M5',   400, 0.11, '2024-06-10', 1, 'Umber#https://umber.example.com/#',         'bolt.bmp',   NULL),
 (1022, 'Vale Vineyards',    'Wing nut M12',   20, 0.61, '2024-06-17', 0, 'Vale#https://vale.example.com/#',           'nut.bmp',    'Returns expected'),
 (1023, 'Willow Textiles',   'Spur gear 30T',   5, 15.2, '2024-06-28', 1, 'Willow#https://willow.example.com/#',       'gear.bmp',   NULL);
SQL
mv "$tmp" "$out"
trap - EXIT
echo "sample database: $out" >&2

-- The snippet database delivered with the program: one table, empty.
-- Rollback journal, so that a copy of the data folder is a whole database.
PRAGMA journal_mode = DELETE;
PRAGMA encoding = 'UTF-8';

CREATE TABLE vorlin (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  nazev TEXT,
  druh TEXT,
  obsah TEXT,
  tag TEXT
);

-- Searches by name, kind and keywords read this index instead of every body.
CREATE INDEX vorlin_hledani ON vorlin (nazev, druh, tag);

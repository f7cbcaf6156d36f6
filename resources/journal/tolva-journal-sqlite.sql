-- Journal of the changes Editeur TOLVA saves, for a NOVRAX database on SQLite.
--   sqlite3 novrax.db < tolva-journal-sqlite.sql
-- SQLite grants no privileges: the two triggers refuse to alter or remove a
-- recorded change, so that only whoever may change the file's schema can.
-- CHANGED_AT holds the time SQLite gives CURRENT_TIMESTAMP: UTC.

CREATE TABLE TOLVA_JOURNAL (
  CHANGED_AT TIMESTAMP NOT NULL,
  DB_USER VARCHAR(128),
  WORKSTATION VARCHAR(255),
  MONID INTEGER NOT NULL,
  CHRTID INTEGER NOT NULL,
  OPTNAME VARCHAR(64) NOT NULL,
  OLD_TVAL VARCHAR(255),
  NEW_TVAL VARCHAR(255),
  REASON VARCHAR(255)
);

CREATE INDEX TOLVA_JOURNAL_MONITOR ON TOLVA_JOURNAL (MONID, CHANGED_AT);

CREATE TRIGGER TOLVA_JOURNAL_NO_UPDATE BEFORE UPDATE ON TOLVA_JOURNAL BEGIN SELECT RAISE(ABORT, 'TOLVA_JOURNAL: a recorded change cannot be altered'); END;

CREATE TRIGGER TOLVA_JOURNAL_NO_DELETE BEFORE DELETE ON TOLVA_JOURNAL BEGIN SELECT RAISE(ABORT, 'TOLVA_JOURNAL: a recorded change cannot be removed'); END;

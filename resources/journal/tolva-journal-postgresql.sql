-- Journal of the changes Editeur TOLVA saves, for a NOVRAX database on PostgreSQL.
--   psql -d novrax -f tolva-journal-postgresql.sql      (as the tables' owner)
-- Then give every account the editor connects with the right to add and read
-- records, and nothing more:
--   GRANT SELECT, INSERT ON TOLVA_JOURNAL TO tolva_users;
-- No account the editor uses may own the table: an owner can alter or empty it.
-- CHANGED_AT holds the server's local time (CURRENT_TIMESTAMP in its time zone).

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

REVOKE ALL ON TOLVA_JOURNAL FROM PUBLIC;

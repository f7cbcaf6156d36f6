-- Journal of the changes Editeur TOLVA saves, for a NOVRAX database on MariaDB.
--   mariadb novrax < tolva-journal-mariadb.sql          (as an administrator)
-- Then give every account the editor connects with the right to add and read
-- records, and nothing more (a grant on the whole database would include
-- UPDATE and DELETE on the journal too):
--   GRANT SELECT, INSERT ON novrax.TOLVA_JOURNAL TO 'tolva'@'%';
-- CHANGED_AT holds the server's local time (CURRENT_TIMESTAMP).

CREATE TABLE TOLVA_JOURNAL (
  CHANGED_AT DATETIME NOT NULL,
  DB_USER VARCHAR(128),
  WORKSTATION VARCHAR(255),
  MONID INTEGER NOT NULL,
  CHRTID INTEGER NOT NULL,
  OPTNAME VARCHAR(64) NOT NULL,
  OLD_TVAL VARCHAR(255),
  NEW_TVAL VARCHAR(255),
  REASON VARCHAR(255)
) CHARACTER SET utf8mb4;

CREATE INDEX TOLVA_JOURNAL_MONITOR ON TOLVA_JOURNAL (MONID, CHANGED_AT);

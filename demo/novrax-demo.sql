-- NOVRAX demonstration database for Editeur TOLVA.
--
-- Plain SQL that SQLite, PostgreSQL and MariaDB accept: no double quotes (MariaDB
-- reads them as strings), no backslash (MariaDB reads it as an escape), table
-- names always in capitals (MariaDB's are case-sensitive). The loaders split it into
-- statements at lines ending with ";" and skip lines starting with "--"; they
-- drop the tables themselves before running it, so it holds no DROP.
-- Option values are text with "." as decimal separator, as NOVRAX stores them.

CREATE TABLE CSPROF (
  PROFID INTEGER NOT NULL PRIMARY KEY,
  NAME VARCHAR(64) NOT NULL,
  PROFFLG INTEGER,
  VFLG INTEGER,
  DESCR VARCHAR(128)
);

CREATE TABLE CSMON (
  MONID INTEGER NOT NULL PRIMARY KEY,
  NAME VARCHAR(64),
  MTYPE VARCHAR(8) NOT NULL,
  VFLG INTEGER,
  PROFID INTEGER NOT NULL,
  OWNER VARCHAR(32),
  CREATED VARCHAR(19)
);

CREATE TABLE CSCHRT (
  CHRTID INTEGER NOT NULL PRIMARY KEY,
  NAME VARCHAR(128),
  UNIT VARCHAR(16),
  DECIMALS INTEGER
);

CREATE TABLE CSCINP (
  PROFID INTEGER NOT NULL,
  CHRTID INTEGER NOT NULL,
  SEQNO INTEGER,
  PRIMARY KEY (PROFID, CHRTID)
);

CREATE TABLE CSOPT (
  OPTID INTEGER NOT NULL PRIMARY KEY,
  NAME VARCHAR(64) NOT NULL,
  OTYPE VARCHAR(8) NOT NULL
);

CREATE TABLE CSMDAT (
  MONID INTEGER NOT NULL,
  CHRTID INTEGER NOT NULL,
  OPTID INTEGER NOT NULL,
  TVAL VARCHAR(64),
  PRIMARY KEY (MONID, CHRTID, OPTID)
);

CREATE TABLE CSOPRN (
  MAXNO INTEGER NOT NULL,
  CNTNAME VARCHAR(16)
);

CREATE TABLE CSNODE (
  NODEID INTEGER NOT NULL PRIMARY KEY,
  NAME VARCHAR(64) NOT NULL,
  PARENTID INTEGER NOT NULL,
  PREVID INTEGER NOT NULL,
  VFLG INTEGER,
  CREATED VARCHAR(19)
);

CREATE TABLE CSMINN (
  NODEID INTEGER NOT NULL,
  MONID INTEGER NOT NULL,
  SEQNO INTEGER
);

-- The journal of saved changes (the editor's own table; resources/journal/ holds
-- its creation script for each database, with the privileges to grant).
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

-- Profiles. PROFFLG 17 marks a profile whose characteristics carry a query.
INSERT INTO CSPROF (PROFID, NAME, PROFFLG, VFLG, DESCR) VALUES
  (10, 'Arbre de transmission', 16, NULL, 'Arbres usinés en tournage CN'),
  (11, 'Bague de roulement', 0, NULL, 'Bagues rectifiées'),
  (12, 'Pièce injectée', NULL, NULL, 'Boîtiers et couvercles en PA6'),
  (13, 'Réception par lots', 17, NULL, 'Contrôle réception, une requête par lot'),
  (14, 'Capot peint', 18, NULL, 'Peinture poudre'),
  (15, 'Alésage (ancien)', 16, 1, 'Remplacé en 2019'),
  (16, 'Longeron embouti', 16, NULL, NULL),
  (17, 'Piston', 16, NULL, 'Pistons moteur'),
  (18, 'Serrage', 16, NULL, 'Visseuses asservies'),
  (19, 'Couvercle (en préparation)', 16, NULL, 'Aucune caractéristique pour le moment');

-- Monitors. Only live SPC monitors whose profile is live are listed by the editor:
-- 201 is deleted, 202 uses a deleted profile, 203 and 204 are not SPC monitors.
-- 111 is stored with blanks around its name; 108 has charts but no TOLVA option;
-- 113 has a profile without any chart.
INSERT INTO CSMON (MONID, NAME, MTYPE, VFLG, PROFID, OWNER, CREATED) VALUES
  (101, 'Tour CN 1 - Arbre de transmission', 'SPC', NULL, 10, 'mdupont', '2021-03-15 08:30:00'),
  (102, 'Tour CN 2 - Arbre de transmission', 'SPC', NULL, 10, 'mdupont', '2021-03-15 08:42:00'),
  (103, 'Rectifieuse R3 - Bague extérieure', 'SPC', NULL, 11, 'slefebvre', '2020-11-02 14:05:00'),
  (104, 'Presse à injecter P7 - Boîtier', 'SPC', NULL, 12, 'amartin', '2022-01-10 09:15:00'),
  (105, 'Contrôle réception - Lots fournisseurs', 'SPC', NULL, 13, 'cbernard', '2022-06-20 10:00:00'),
  (106, 'Cabine peinture C1 - Capots', 'SPC', NULL, 14, 'amartin', '2021-09-01 07:45:00'),
  (107, 'Presse emboutissage E2 - Longerons', 'SPC', NULL, 16, 'jmoreau', '2022-03-03 13:20:00'),
  (108, 'Tour CN 3 - Axe de pompe', 'SPC', NULL, 10, 'mdupont', '2023-02-14 11:10:00'),
  (109, 'Rectifieuse R4 - Bague intérieure', 'SPC', NULL, 11, 'slefebvre', '2020-11-02 14:30:00'),
  (110, 'Presse à injecter P8 - Couvercle', 'SPC', NULL, 12, 'amartin', '2022-01-10 09:40:00'),
  (111, '  Banc de mesure M1 - Pistons  ', 'SPC', NULL, 17, 'cbernard', '2019-05-23 16:00:00'),
  (112, 'Ligne de montage L2 - Couple de serrage', 'SPC', NULL, 18, 'jmoreau', '2023-04-04 08:00:00'),
  (113, 'Presse à injecter P9 - Couvercle', 'SPC', NULL, 19, 'amartin', '2024-01-08 10:30:00'),
  (201, 'Tour CN 0 - Arbre (réformé)', 'SPC', 1, 10, 'mdupont', '2015-06-01 08:00:00'),
  (202, 'Aléseuse A1 - Carter', 'SPC', NULL, 15, 'slefebvre', '2016-09-12 09:00:00'),
  (203, 'Compteur de pièces P7', 'CNT', NULL, 12, 'amartin', '2022-01-10 09:20:00'),
  (204, 'Température moule P7', 'ALM', NULL, 12, 'amartin', '2022-01-10 09:25:00');

-- Charts (characteristics). Profile 13 is a query profile: "[query][characteristic]".
INSERT INTO CSCHRT (CHRTID, NAME, UNIT, DECIMALS) VALUES
  (1001, 'Diamètre Ø25 h6', 'mm', 3),
  (1002, 'Longueur totale   ', 'mm', 2),
  (1003, 'Rugosité Ra', 'µm', 2),
  (1004, 'Concentricité', 'mm', 3),
  (1101, 'Diamètre intérieur', 'mm', 4),
  (1102, 'Diamètre extérieur', 'mm', 4),
  (1103, 'Épaisseur', 'mm', 3),
  (1104, 'Circularité', 'mm', 4),
  (1201, 'Masse', 'g', 1),
  (1202, 'Épaisseur de paroi', 'mm', 2),
  (1203, 'Longueur', 'mm', 2),
  (1204, 'Retrait', '%', 2),
  (1301, '[Lot A][Diamètre]', 'mm', 2),
  (1302, '[Lot A][Longueur]', 'mm', 2),
  (1303, '[Lot B][Diamètre]', 'mm', 2),
  (1304, '[Lot B][Dureté HRC]', 'HRC', 0),
  (1401, 'Épaisseur de film', 'µm', 0),
  (1402, 'Brillance', 'UB', 0),
  (1403, 'Écart de teinte ΔE', NULL, 2),
  (1501, 'Diamètre alésage', 'mm', 3),
  (1601, 'Profondeur', 'mm', 2),
  (1602, 'Largeur', 'mm', 1),
  (1603, 'Planéité', 'mm', 2),
  (1604, 'Écart de position', 'mm', 3),
  (1701, 'Diamètre de jupe', 'mm', 4),
  (1702, 'Hauteur de compression', 'mm', 3),
  (1703, 'Masse du piston', 'g', 1),
  (1801, 'Couple vis M8', 'N.m', 1),
  (1802, 'Angle de serrage', '°', 0);

INSERT INTO CSCINP (PROFID, CHRTID, SEQNO) VALUES
  (10, 1001, 1), (10, 1002, 2), (10, 1003, 3), (10, 1004, 4),
  (11, 1101, 1), (11, 1102, 2), (11, 1103, 3), (11, 1104, 4),
  (12, 1201, 1), (12, 1202, 2), (12, 1203, 3), (12, 1204, 4),
  (13, 1301, 1), (13, 1302, 2), (13, 1303, 3), (13, 1304, 4),
  (14, 1401, 1), (14, 1402, 2), (14, 1403, 3),
  (15, 1501, 1),
  (16, 1601, 1), (16, 1602, 2), (16, 1603, 3), (16, 1604, 4),
  (17, 1701, 1), (17, 1702, 2), (17, 1703, 3),
  (18, 1801, 1), (18, 1802, 2);

-- Option definitions. Numbers 1-5 belong to other NOVRAX modules.
INSERT INTO CSOPT (OPTID, NAME, OTYPE) VALUES
  (1, 'ChartTitle', 'TEXT'),
  (2, 'SubgroupSize', 'INT'),
  (3, 'SamplingInterval', 'INT'),
  (4, 'Unit', 'TEXT'),
  (5, 'DecimalPlaces', 'INT'),
  (101, 'ProcCapSpecType', 'TEXT'),
  (102, 'ProcCapNominal', 'TEXT'),
  (103, 'ProcCapDelta', 'TEXT'),
  (104, 'ProcCapLower', 'TEXT'),
  (105, 'ProcCapUpper', 'TEXT'),
  (110, 'XTypeOfLCLandUCL', 'TEXT'),
  (111, 'XChartUCLConstant', 'TEXT'),
  (112, 'XChartLCLConstant', 'TEXT'),
  (113, 'XChartCenterLine', 'TEXT'),
  (114, 'XChartCenterLineValue', 'TEXT'),
  (115, 'XChartUCL', 'TEXT'),
  (116, 'XChartUCLp', 'TEXT'),
  (117, 'XChartLCL', 'TEXT'),
  (118, 'XChartLCLp', 'TEXT'),
  (119, 'XChartSigma', 'TEXT'),
  (120, 'XChartSigmaValue', 'TEXT'),
  (121, 'RTypeOfLCLandUCL', 'TEXT'),
  (122, 'RChartUCLConstant', 'TEXT'),
  (123, 'RChartLCLConstant', 'TEXT'),
  (124, 'RChartCenterLine', 'TEXT'),
  (125, 'RChartCenterLineValue', 'TEXT'),
  (126, 'RChartUCL', 'TEXT'),
  (127, 'RChartUCLp', 'TEXT'),
  (128, 'RChartLCL', 'TEXT'),
  (129, 'RChartLCLp', 'TEXT'),
  (130, 'RChartSigma', 'TEXT'),
  (131, 'RChartSigmaValue', 'TEXT');

-- Highest option number handed out so far.
INSERT INTO CSOPRN (MAXNO, CNTNAME) VALUES (140, 'OPTID');

-- Folder tree: node 0 is the root; PREVID chains the folders of one parent.
-- "Archives 2019" is deleted; "Projets futurs" holds no monitor.
INSERT INTO CSNODE (NODEID, NAME, PARENTID, PREVID, VFLG, CREATED) VALUES
  (0, 'NOVRAX', 0, 0, NULL, '2015-01-05 08:00:00'),
  (1, 'Usine de Lyon', 0, 0, NULL, '2015-01-05 08:05:00'),
  (2, 'Usine de Nantes', 0, 1, NULL, '2015-01-05 08:06:00'),
  (3, 'Atelier Usinage', 1, 0, NULL, '2015-01-05 08:10:00'),
  (4, 'Atelier Rectification', 1, 3, NULL, '2015-01-05 08:11:00'),
  (5, 'Atelier Plasturgie', 2, 0, NULL, '2016-03-01 09:00:00'),
  (6, 'Atelier Peinture', 2, 5, NULL, '2016-03-01 09:01:00'),
  (7, 'Atelier Emboutissage', 2, 6, NULL, '2017-02-10 10:00:00'),
  (8, 'Qualité Fournisseurs', 0, 2, NULL, '2018-05-15 14:00:00'),
  (9, 'Archives 2019', 1, 4, 1, '2019-12-31 17:00:00'),
  (10, 'Tournage', 3, 0, NULL, '2015-01-05 08:12:00'),
  (11, 'Métrologie', 3, 10, NULL, '2015-01-05 08:13:00'),
  (12, 'Ligne de montage', 2, 7, NULL, '2023-04-01 08:00:00'),
  (13, 'Projets futurs', 0, 8, NULL, '2024-01-02 09:00:00');

-- Filing of monitors in folders (113 lies in the plastics shop, 203 too).
INSERT INTO CSMINN (NODEID, MONID, SEQNO) VALUES
  (10, 101, 1),
  (10, 102, 2),
  (10, 108, 3),
  (11, 111, 1),
  (4, 103, 1),
  (4, 109, 2),
  (9, 201, 1),
  (3, 202, 1),
  (5, 104, 1),
  (5, 110, 2),
  (5, 113, 3),
  (5, 203, 4),
  (5, 204, 5),
  (6, 106, 1),
  (7, 107, 1),
  (12, 112, 1),
  (8, 105, 1);

-- Option values, one INSERT per monitor.
-- Tour CN 1: spec types 0, 1, 3 (no nominal) and null; constant and computed limits.
INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES
  (101, 1001, 101, '0'),
  (101, 1001, 102, '25'),
  (101, 1001, 103, '0.05'),
  (101, 1001, 110, '2'),
  (101, 1001, 112, '24.97'),
  (101, 1001, 111, '25.03'),
  (101, 1001, 113, '1'),
  (101, 1001, 114, '25.001'),
  (101, 1001, 121, '2'),
  (101, 1001, 123, '0.004'),
  (101, 1001, 122, '0.045'),
  (101, 1001, 2, '5'),
  (101, 1001, 3, '60'),
  (101, 1002, 101, '1'),
  (101, 1002, 102, '120'),
  (101, 1002, 104, '119.8'),
  (101, 1002, 105, '120.2'),
  (101, 1002, 110, '1'),
  (101, 1002, 119, '3'),
  (101, 1002, 115, '1'),
  (101, 1002, 116, '0.27'),
  (101, 1002, 117, '1'),
  (101, 1002, 118, '0.27'),
  (101, 1002, 120, '0.0041'),
  (101, 1002, 121, '2'),
  (101, 1002, 123, '0.01'),
  (101, 1002, 122, '0.12'),
  (101, 1002, 124, '1'),
  (101, 1002, 125, '0.05'),
  (101, 1003, 101, '3'),
  (101, 1003, 105, '0.8'),
  (101, 1003, 110, '2'),
  (101, 1003, 112, '0.35'),
  (101, 1003, 111, '0.65'),
  (101, 1004, 101, NULL);
-- Tour CN 2: type 0 without tolerance, computed X and R limits, type row absent with nominal 0.
INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES
  (102, 1001, 101, '0'),
  (102, 1001, 102, '25'),
  (102, 1001, 103, '0.05'),
  (102, 1001, 110, '2'),
  (102, 1001, 112, '24.975'),
  (102, 1001, 111, '25.025'),
  (102, 1001, 121, '2'),
  (102, 1001, 123, '0.002'),
  (102, 1001, 122, '0.04'),
  (102, 1001, 124, '1'),
  (102, 1001, 125, '0.018'),
  (102, 1002, 101, '0'),
  (102, 1002, 102, '120'),
  (102, 1002, 110, '0'),
  (102, 1002, 119, '3'),
  (102, 1002, 121, '1'),
  (102, 1002, 130, '3'),
  (102, 1003, 101, '3'),
  (102, 1003, 102, '0.4'),
  (102, 1003, 105, '0.8'),
  (102, 1003, 110, '2'),
  (102, 1003, 112, '0.3'),
  (102, 1003, 111, '0.7'),
  (102, 1004, 102, '0'),
  (102, 1004, 103, '0.02');
-- Rectifieuse R3: types 0 to 3, centre lines on X and R.
INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES
  (103, 1101, 101, '1'),
  (103, 1101, 102, '35'),
  (103, 1101, 104, '34.99'),
  (103, 1101, 105, '35.01'),
  (103, 1101, 110, '2'),
  (103, 1101, 112, '34.994'),
  (103, 1101, 111, '35.006'),
  (103, 1101, 113, '1'),
  (103, 1101, 114, '35.0005'),
  (103, 1101, 121, '2'),
  (103, 1101, 123, '0.001'),
  (103, 1101, 122, '0.009'),
  (103, 1101, 124, '1'),
  (103, 1101, 125, '0.004'),
  (103, 1101, 2, '3'),
  (103, 1102, 101, '0'),
  (103, 1102, 102, '62'),
  (103, 1102, 103, '0.015'),
  (103, 1102, 110, '2'),
  (103, 1102, 112, '61.992'),
  (103, 1102, 111, '62.008'),
  (103, 1102, 121, '2'),
  (103, 1102, 123, '0.001'),
  (103, 1102, 122, '0.012'),
  (103, 1103, 101, '2'),
  (103, 1103, 102, '14'),
  (103, 1103, 104, '13.95'),
  (103, 1103, 110, '2'),
  (103, 1103, 112, '13.97'),
  (103, 1103, 111, '14.03'),
  (103, 1103, 113, '1'),
  (103, 1103, 114, '14'),
  (103, 1104, 101, '3'),
  (103, 1104, 102, '0'),
  (103, 1104, 105, '0.004'),
  (103, 1104, 121, '1'),
  (103, 1104, 130, '3');
-- Presse P7: legacy spec type 4 (read as nominal and tolerance).
INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES
  (104, 1201, 101, '1'),
  (104, 1201, 102, '42'),
  (104, 1201, 104, '41.5'),
  (104, 1201, 105, '42.5'),
  (104, 1201, 110, '2'),
  (104, 1201, 112, '41.7'),
  (104, 1201, 111, '42.3'),
  (104, 1201, 113, '1'),
  (104, 1201, 114, '42.02'),
  (104, 1201, 121, '2'),
  (104, 1201, 123, '0.05'),
  (104, 1201, 122, '0.6'),
  (104, 1202, 101, '0'),
  (104, 1202, 102, '2.5'),
  (104, 1202, 103, '0.1'),
  (104, 1202, 110, '1'),
  (104, 1202, 119, '3'),
  (104, 1203, 101, '1'),
  (104, 1203, 102, '88'),
  (104, 1203, 104, '87.6'),
  (104, 1203, 105, '88.4'),
  (104, 1203, 121, '2'),
  (104, 1203, 123, '0.02'),
  (104, 1203, 122, '0.35'),
  (104, 1203, 124, '1'),
  (104, 1203, 125, '0.15'),
  (104, 1204, 101, '4'),
  (104, 1204, 102, '0.6'),
  (104, 1204, 103, '0.1');
-- Réception par lots (query profile).
INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES
  (105, 1301, 101, '0'),
  (105, 1301, 102, '12'),
  (105, 1301, 103, '0.1'),
  (105, 1301, 110, '2'),
  (105, 1301, 112, '11.95'),
  (105, 1301, 111, '12.05'),
  (105, 1301, 113, '1'),
  (105, 1301, 114, '12'),
  (105, 1302, 101, '1'),
  (105, 1302, 102, '50'),
  (105, 1302, 104, '49.5'),
  (105, 1302, 105, '50.5'),
  (105, 1302, 121, '2'),
  (105, 1302, 123, '0.1'),
  (105, 1302, 122, '0.8'),
  (105, 1303, 101, '0'),
  (105, 1303, 102, '12'),
  (105, 1303, 103, '0.1'),
  (105, 1303, 110, '2'),
  (105, 1303, 112, '11.94'),
  (105, 1303, 111, '12.06'),
  (105, 1304, 101, '2'),
  (105, 1304, 102, '60'),
  (105, 1304, 104, '58');
-- Cabine peinture C1.
INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES
  (106, 1401, 101, '1'),
  (106, 1401, 102, '100'),
  (106, 1401, 104, '80'),
  (106, 1401, 105, '120'),
  (106, 1401, 110, '2'),
  (106, 1401, 112, '88'),
  (106, 1401, 111, '112'),
  (106, 1401, 113, '1'),
  (106, 1401, 114, '100'),
  (106, 1401, 121, '2'),
  (106, 1401, 123, '2.5'),
  (106, 1401, 122, '18'),
  (106, 1401, 124, '1'),
  (106, 1401, 125, '8'),
  (106, 1401, 2, '4'),
  (106, 1402, 101, '2'),
  (106, 1402, 102, '90'),
  (106, 1402, 104, '85'),
  (106, 1403, 101, '3'),
  (106, 1403, 105, '1.2'),
  (106, 1403, 110, '1'),
  (106, 1403, 119, '3');
-- Presse emboutissage E2: negative X limits on a chart without spec type.
INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES
  (107, 1601, 101, '1'),
  (107, 1601, 102, '45'),
  (107, 1601, 104, '44.6'),
  (107, 1601, 105, '45.4'),
  (107, 1601, 110, '2'),
  (107, 1601, 112, '44.8'),
  (107, 1601, 111, '45.2'),
  (107, 1602, 101, '0'),
  (107, 1602, 102, '180'),
  (107, 1602, 103, '0.5'),
  (107, 1602, 121, '2'),
  (107, 1602, 123, '0.1'),
  (107, 1602, 122, '1.2'),
  (107, 1602, 124, '1'),
  (107, 1602, 125, '0.45'),
  (107, 1603, 101, '3'),
  (107, 1603, 102, '0'),
  (107, 1603, 105, '0.3'),
  (107, 1604, 101, NULL),
  (107, 1604, 110, '2'),
  (107, 1604, 112, '-0.08'),
  (107, 1604, 111, '0.08'),
  (107, 1604, 113, '1'),
  (107, 1604, 114, '0.002');
-- Tour CN 3: options of other modules only, no TOLVA option.
INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES
  (108, 1001, 2, '5'),
  (108, 1001, 1, 'Diamètre Ø18'),
  (108, 1002, 2, '5');
-- Rectifieuse R4.
INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES
  (109, 1101, 101, '1'),
  (109, 1101, 102, '25'),
  (109, 1101, 104, '24.99'),
  (109, 1101, 105, '25.01'),
  (109, 1101, 110, '2'),
  (109, 1101, 112, '24.995'),
  (109, 1101, 111, '25.005'),
  (109, 1102, 101, '0'),
  (109, 1102, 102, '47'),
  (109, 1102, 103, '0.012'),
  (109, 1102, 110, '2'),
  (109, 1102, 112, '46.994'),
  (109, 1102, 111, '47.006'),
  (109, 1102, 113, '1'),
  (109, 1102, 114, '47'),
  (109, 1102, 121, '2'),
  (109, 1102, 123, '0.001'),
  (109, 1102, 122, '0.01'),
  (109, 1103, 101, '2'),
  (109, 1103, 102, '12'),
  (109, 1103, 104, '11.95'),
  (109, 1103, 121, '1'),
  (109, 1103, 130, '3'),
  (109, 1104, 101, NULL);
-- Presse P8: an upper limit not yet known, stored as text.
INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES
  (110, 1201, 101, '1'),
  (110, 1201, 102, '19'),
  (110, 1201, 104, '18.5'),
  (110, 1201, 105, 'à définir'),
  (110, 1201, 110, '2'),
  (110, 1201, 112, '18.7'),
  (110, 1201, 111, '19.3'),
  (110, 1202, 101, '0'),
  (110, 1202, 102, '2'),
  (110, 1202, 103, '0.1'),
  (110, 1202, 110, '2'),
  (110, 1202, 112, '1.94'),
  (110, 1202, 111, '2.06'),
  (110, 1202, 113, '1'),
  (110, 1202, 114, '2');
-- Banc de mesure M1.
INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES
  (111, 1701, 101, '0'),
  (111, 1701, 102, '81.95'),
  (111, 1701, 103, '0.012'),
  (111, 1701, 110, '2'),
  (111, 1701, 112, '81.942'),
  (111, 1701, 111, '81.958'),
  (111, 1701, 113, '1'),
  (111, 1701, 114, '81.9505'),
  (111, 1701, 121, '2'),
  (111, 1701, 123, '0.001'),
  (111, 1701, 122, '0.012'),
  (111, 1701, 124, '1'),
  (111, 1701, 125, '0.005'),
  (111, 1702, 101, '1'),
  (111, 1702, 102, '37.5'),
  (111, 1702, 104, '37.45'),
  (111, 1702, 105, '37.55'),
  (111, 1703, 101, '2'),
  (111, 1703, 102, '420'),
  (111, 1703, 104, '412'),
  (111, 1703, 110, '1'),
  (111, 1703, 119, '3');
-- Ligne de montage L2.
INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES
  (112, 1801, 101, '1'),
  (112, 1801, 102, '25'),
  (112, 1801, 104, '22'),
  (112, 1801, 105, '28'),
  (112, 1801, 110, '2'),
  (112, 1801, 112, '23.2'),
  (112, 1801, 111, '26.8'),
  (112, 1801, 113, '1'),
  (112, 1801, 114, '25'),
  (112, 1801, 121, '2'),
  (112, 1801, 123, '0.4'),
  (112, 1801, 122, '3.1'),
  (112, 1801, 124, '1'),
  (112, 1801, 125, '1.4'),
  (112, 1802, 101, '3'),
  (112, 1802, 102, '90'),
  (112, 1802, 105, '120'),
  (112, 1802, 110, '0'),
  (112, 1802, 119, '3');
-- Deleted monitor.
INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES
  (201, 1001, 101, '0'),
  (201, 1001, 102, '25'),
  (201, 1001, 103, '0.05'),
  (201, 1001, 110, '2'),
  (201, 1001, 112, '24.96'),
  (201, 1001, 111, '25.04');
-- Monitor of a deleted profile.
INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES
  (202, 1501, 101, '1'),
  (202, 1501, 102, '30'),
  (202, 1501, 104, '29.98'),
  (202, 1501, 105, '30.02'),
  (202, 1501, 110, '2'),
  (202, 1501, 112, '29.99'),
  (202, 1501, 111, '30.01');
-- Piece counter (not an SPC monitor).
INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES
  (203, 1201, 2, '1');

-- Journal: how the limits of Tour CN 1 came to their present values.
INSERT INTO TOLVA_JOURNAL (CHANGED_AT, DB_USER, WORKSTATION, MONID, CHRTID, OPTNAME, OLD_TVAL, NEW_TVAL, REASON) VALUES
  ('2024-02-05 09:12:40', 'mdupont', 'atelier-cn-01', 101, 1001, 'XTypeOfLCLandUCL', '1', '2', 'Limites figées après étude de capabilité'),
  ('2024-02-05 09:12:40', 'mdupont', 'atelier-cn-01', 101, 1001, 'XChartLCLConstant', NULL, '24.96', 'Limites figées après étude de capabilité'),
  ('2024-02-05 09:12:40', 'mdupont', 'atelier-cn-01', 101, 1001, 'XChartUCLConstant', NULL, '25.04', 'Limites figées après étude de capabilité'),
  ('2024-09-18 14:03:11', 'slefebvre', 'qualite-02', 101, 1001, 'XChartLCLConstant', '24.96', '24.97', 'Resserrement demandé par le client (8D 2024-117)'),
  ('2024-09-18 14:03:11', 'slefebvre', 'qualite-02', 101, 1001, 'XChartUCLConstant', '25.04', '25.03', 'Resserrement demandé par le client (8D 2024-117)'),
  ('2025-01-07 07:55:02', 'mdupont', 'atelier-cn-01', 101, 1002, 'ProcCapUpper', '120.3', '120.2', 'Nouveau plan indice C'),
  ('2025-01-07 07:55:02', 'mdupont', 'atelier-cn-01', 101, 1002, 'ProcCapLower', '119.7', '119.8', 'Nouveau plan indice C'),
  ('2025-03-21 16:40:27', 'amartin', 'qualite-01', 101, 1003, 'ProcCapSpecType', '1', '3', NULL);

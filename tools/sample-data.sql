-- A few rows of a small shop, for the screenshots: titles, members, their
-- codes in the registry, two tapes out on rent and one brought back.
-- Load it with the sqlite3 shell into a Quorvane.mdb that the program made:
--   sqlite3 Quorvane.mdb < tools/sample-data.sql
-- Dates are counted back from today, so the days on rent stay small.
-- No user is added, so the program asks no login.
BEGIN;

INSERT INTO "Video Database" ("Video Code", "Title", "Main Cast", "Second Cast", "Category", "Tapes In", "Tapes Out") VALUES
  ('V1001', 'Casablanca', 'Humphrey Bogart', 'Ingrid Bergman', 'Drama', 2, 1),
  ('V1002', 'The Third Man', 'Joseph Cotten', 'Orson Welles', 'Thriller', 3, 0),
  ('V1003', 'Singin'' in the Rain', 'Gene Kelly', 'Debbie Reynolds', 'Musical', 1, 1),
  ('V1004', 'Rear Window', 'James Stewart', 'Grace Kelly', 'Thriller', 2, 0),
  ('V1005', 'Some Like It Hot', 'Marilyn Monroe', 'Tony Curtis', 'Comedy', 2, 0),
  ('V1006', 'Seven Samurai', 'Toshiro Mifune', 'Takashi Shimura', 'Action', 1, 0);

INSERT INTO "Video Code Database" ("Video Code", "Title")
  SELECT "Video Code", "Title" FROM "Video Database";

INSERT INTO "Members Database" ("Member ID", "Last Name", "First Name", "Address", "Contact") VALUES
  ('M2001', 'Reyes', 'Ana', '12 Harbour Street', '555-0142'),
  ('M2002', 'Lindqvist', 'Erik', '7 Mill Lane', '555-0178'),
  ('M2003', 'Okafor', 'Chidi', '30 Station Road', '555-0113'),
  ('M2004', 'Moreau', 'Claire', '4 Chapel Row', '555-0190');

INSERT INTO "Member Code Database" ("Member ID", "Member Name")
  SELECT "Member ID", "Last Name" || ' ' || "First Name" FROM "Members Database";

INSERT INTO "Rentals Database" ("Member ID", "Video Code", "Rent Date", "Returned") VALUES
  ('M2002', 'V1002', date('now', 'localtime', '-9 days'), 'Yes'),
  ('M2001', 'V1001', date('now', 'localtime', '-3 days'), 'No'),
  ('M2003', 'V1003', date('now', 'localtime', '-1 days'), 'No');

INSERT INTO "Returnee Database" ("Member ID", "Video Code", "Return Date", "Days") VALUES
  ('M2002', 'V1002', date('now', 'localtime', '-5 days'), 4);

COMMIT;

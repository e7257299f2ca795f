// Generates a second, independent reference table of new moons and full moons
// for the Gregorian years 2000..2030, computed with the general-purpose
// astronomy library "astronomia" (npm): Meeus' mean-phase method with periodic
// corrections (Astronomical Algorithms, chapter 49). The unit tests check the
// program's moon phases against this table as well as against
// astro_events_2000_2030.tsv, because the two libraries differ systematically
// by some tens of seconds. Nothing here is used at build time.
//
// run: cd /tmp/astroref && npm install astronomia && node "$REPO"/tests/reference/make_moon_phase_reference.mjs > "$REPO"/tests/reference/moon_phases_meeus_2000_2030.tsv
//
// (Any scratch directory works in place of /tmp/astroref, and any checkout as
// $REPO. The library is resolved from the current working
// directory, so the script must be run from the directory where astronomia
// was installed; NODE_PATH is not needed.)
//
// Output: tab-separated, one event per line, sorted by moment:
//   newmoon  0    <moment>
//   fullmoon 0    <moment>
// moment = Julian date (UT) + 0.5 + 8/24: its integer part is the Julian day
// number of the civil day in UTC+8, its fraction the time since midnight in
// UTC+8.
//
// The phase times come out in dynamical time (JDE). They are converted to
// Universal Time with astronomia's deltat.deltaT(decimalYear), which returns
// Delta T = TD - UT in seconds; the decimal year is taken from the phase's
// own calendar date (julian.CalendarGregorian.fromJD(jde).toYear()), exactly
// as astronomia's own JDE-to-date conversion does.

import { createRequire } from 'node:module';
import { readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';

const require = createRequire(join(process.cwd(), 'noop.js'));
const { moonphase, deltat, julian } = require('astronomia');

// The package's "exports" map hides package.json, so locate it on disk.
function libraryVersion() {
  let dir = dirname(require.resolve('astronomia'));
  for (let i = 0; i < 5; i++) {
    try {
      const pkg = JSON.parse(readFileSync(join(dir, 'package.json'), 'utf8'));
      if (pkg.name === 'astronomia') return pkg.version;
    } catch (e) { /* keep walking up */ }
    dir = dirname(dir);
  }
  return 'unknown';
}

const FIRST_YEAR = 2000;
const LAST_YEAR = 2030;
const ZONE_DAYS = 8 / 24;
// Lunations per year in Meeus' lunation count k = (year - 2000) * 12.3685.
const LUNATIONS_PER_YEAR = 12.3685;

function fail(msg) {
  process.stderr.write(msg + '\n');
  process.exit(1);
}

// Julian day number of a Gregorian date (the day starting at its midnight).
function dayNumber(year, month, day) {
  return julian.CalendarGregorianToJD(year, month, day) + 0.5;
}

function utFromJde(jde) {
  const decimalYear = new julian.CalendarGregorian().fromJD(jde).toYear();
  return jde - deltat.deltaT(decimalYear) / 86400;
}

const lo = dayNumber(FIRST_YEAR, 1, 1);      // first UTC+8 day of the range
const hi = dayNumber(LAST_YEAR + 1, 1, 1);   // first UTC+8 day after it

const events = [];

// Walk the lunation number k over a margin around the range. moonphase takes
// a decimal year and snaps to the nearest phase; passing the year at the
// centre of lunation k (offset by the quarter q) selects exactly lunation k.
const kFirst = Math.floor((FIRST_YEAR - 2000) * LUNATIONS_PER_YEAR) - 2;
const kLast = Math.ceil((LAST_YEAR + 1 - 2000) * LUNATIONS_PER_YEAR) + 2;
for (const [kind, q, phaseAt] of [['newmoon', 0, moonphase.newMoon], ['fullmoon', 0.5, moonphase.full]]) {
  let previous = null;
  for (let k = kFirst; k <= kLast; k++) {
    const jde = phaseAt(2000 + (k + q) / LUNATIONS_PER_YEAR);
    const m = utFromJde(jde) + 0.5 + ZONE_DAYS;
    // Consecutive lunations are 29.27..29.84 days apart; anything else means
    // a lunation was skipped or repeated.
    if (previous !== null && !(m - previous > 29 && m - previous < 30.1)) {
      fail(`${kind}: irregular step ${m - previous} days at lunation ${k}`);
    }
    previous = m;
    if (m >= lo && m < hi) events.push({ kind, m });
  }
  const ms = events.filter((e) => e.kind === kind).map((e) => e.m);
  if (ms.length === 0 || ms[0] - lo > 30 || hi - ms[ms.length - 1] > 30) {
    fail(`${kind}: lunation walk does not cover the whole range`);
  }
}

events.sort((a, b) => a.m - b.m);
for (let i = 1; i < events.length; i++) {
  if (events[i].m - events[i - 1].m < 1) fail(`events too close at ${events[i].m}`);
}

const out = [];
out.push(`# New and full moons for Gregorian years ${FIRST_YEAR}-${LAST_YEAR} (year boundaries in UTC+8), ` +
  `computed with astronomia ${libraryVersion()} (npm): moonphase.newMoon / moonphase.full (Meeus, ` +
  `Astronomical Algorithms ch. 49, mean phase plus periodic corrections), dynamical time converted to UT ` +
  `with deltat.deltaT(decimal year of the phase's calendar date). ` +
  `Columns: kind (newmoon|fullmoon) <TAB> n (always 0) <TAB> moment (Julian date UT + 0.5 + 8/24: integer part = ` +
  `Julian day number of the UTC+8 civil day, fraction = time since UTC+8 midnight).`);
for (const e of events) out.push(`${e.kind}\t0\t${e.m.toFixed(6)}`);
process.stdout.write(out.join('\n') + '\n');

// Generates an independent reference table of solar terms, new moons and full
// moons for the Gregorian years 2000..2030, computed with the general-purpose
// astronomy library "astronomy-engine" (npm). The unit tests compare the
// program's own astronomical calculations against this table; nothing here is
// used at build time.
//
// run: cd /tmp/astroref && npm install astronomy-engine && node "$REPO"/tests/reference/make_astro_reference.mjs > "$REPO"/tests/reference/astro_events_2000_2030.tsv
//
// (Any scratch directory works in place of /tmp/astroref, and any checkout as
// $REPO. The library is resolved from the current working
// directory, so the script must be run from the directory where
// astronomy-engine was installed; NODE_PATH is not needed.)
//
// Output: tab-separated, one event per line, sorted by moment:
//   term     <n>  <moment>   n = 1..24, Sun's apparent longitude 15*(n-6) mod 360
//   newmoon  0    <moment>
//   fullmoon 0    <moment>
// moment = Julian date (UT) + 0.5 + 8/24: its integer part is the Julian day
// number of the civil day in UTC+8, its fraction the time since midnight in
// UTC+8.

import { createRequire } from 'node:module';
import { readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';

const require = createRequire(join(process.cwd(), 'noop.js'));
const Astronomy = require('astronomy-engine');

// The package's "exports" map hides package.json, so locate it on disk.
function libraryVersion() {
  let dir = dirname(require.resolve('astronomy-engine'));
  for (let i = 0; i < 5; i++) {
    try {
      const pkg = JSON.parse(readFileSync(join(dir, 'package.json'), 'utf8'));
      if (pkg.name === 'astronomy-engine') return pkg.version;
    } catch (e) { /* keep walking up */ }
    dir = dirname(dir);
  }
  return 'unknown';
}

const FIRST_YEAR = 2000;
const LAST_YEAR = 2030;
const J2000_JD = 2451545.0;
const ZONE_DAYS = 8 / 24;

function moment(time) {
  return time.ut + J2000_JD + 0.5 + ZONE_DAYS;
}

// Start of Gregorian year `year` in UTC+8, as an AstroTime.
function yearStart(year) {
  return Astronomy.MakeTime(new Date(Date.UTC(year, 0, 1) - 8 * 3600 * 1000));
}

function fail(msg) {
  process.stderr.write(msg + '\n');
  process.exit(1);
}

const events = [];

for (let year = FIRST_YEAR; year <= LAST_YEAR; year++) {
  const start = yearStart(year);
  const end = yearStart(year + 1);
  const lo = moment(start);
  const hi = moment(end);

  // Solar terms: the first time after the year's start that the Sun reaches
  // each longitude. Minor Cold (285 degrees) comes in early January, so
  // every search lands inside the year.
  for (let n = 1; n <= 24; n++) {
    const lon = (((15 * (n - 6)) % 360) + 360) % 360;
    const t = Astronomy.SearchSunLongitude(lon, start, 366);
    if (!t) fail(`no solar term ${n} found in ${year}`);
    const m = moment(t);
    if (m < lo || m >= hi) fail(`solar term ${n} of ${year} falls outside the year`);
    events.push({ kind: 'term', n, m });
  }

  // Lunar phases whose UTC+8 time falls within the year.
  for (const [kind, phase] of [['newmoon', 0], ['fullmoon', 180]]) {
    let t = Astronomy.SearchMoonPhase(phase, start, 40);
    while (t && moment(t) < hi) {
      events.push({ kind, n: 0, m: moment(t) });
      t = Astronomy.SearchMoonPhase(phase, t.AddDays(1), 40);
    }
    if (!t) fail(`lunar phase search failed in ${year}`);
  }
}

events.sort((a, b) => a.m - b.m);

const out = [];
out.push(`# Solar terms and new/full moons for Gregorian years ${FIRST_YEAR}-${LAST_YEAR} (year boundaries in UTC+8), ` +
  `computed with astronomy-engine ${libraryVersion()} (npm). ` +
  `Columns: kind (term|newmoon|fullmoon) <TAB> n (term index 1..24, Sun's apparent longitude 15*(n-6) mod 360 degrees, ` +
  `true equinox of date; 0 for moon phases) <TAB> moment (Julian date UT + 0.5 + 8/24: integer part = Julian day number ` +
  `of the UTC+8 civil day, fraction = time since UTC+8 midnight).`);
for (const e of events) out.push(`${e.kind}\t${e.n}\t${e.m.toFixed(6)}`);
process.stdout.write(out.join('\n') + '\n');

// Prints a 17-character year record for every Chinese lunar year -103..5000
// (astronomical year numbers: 0 = 1 BC, -1 = 2 BC), as computed by the npm
// package lunar-javascript, a historical reconstruction of the Chinese
// calendars in use (including the ancient calendars and their month-numbering
// changes).
//
// Usage (from the directory where lunar-javascript is installed):
//   node make_lunar_records_lunarjs.mjs > lunar_records_lunarjs.tsv
//
// Record layout (lunar year Y = the one whose New Year's day falls in
// Gregorian/Julian year Y):
//   chars 1-12  month 1..12: "1" = 30 days, "0" = 29 days
//   char  13    leap month: "0" none, else the regular month it follows (hex 1..C)
//   char  14    leap month length "1"/"0" ("0" when none)
//   char  15    month of New Year's day (1 or 2)
//   chars 16-17 day of New Year's day, two digits
// (char 15 is a hex month number, so a New Year in December shows as "C";
// such a year is always marked irregular).
// Dates before JD 2299161 (1582-10-15) are proleptic Julian, later ones Gregorian.
//
// Each output line is `Y<TAB>RECORD` or `Y<TAB>RECORD<TAB># ...`:
//   "# irregular: ..."  the year does not fit the record layout (a missing or
//                       extra month number, a month of neither 29 nor 30 days,
//                       a New Year outside January/February, ...); the record
//                       is a best effort and must not be taken as exact.
//   "# note: ..."       the record is exact; the note tells something worth
//                       knowing about the year (an unusual month numbering in
//                       force, or that the library is inconsistent there).
// A year that cannot be expressed at all is printed as `Y<TAB>-<TAB># reason`.

import { createRequire } from 'node:module';
import path from 'node:path';

const require = createRequire(path.join(process.cwd(), 'noop.js'));
const { LunarYear } = require('lunar-javascript');
const pkg = require('lunar-javascript/package.json');

const FIRST = -103;
const LAST = 5000;

// Julian day number (a civil day's noon) -> [year, month, day], proleptic
// Julian calendar before JD 2299161 and Gregorian from it on; astronomical
// year numbers. (Meeus, Astronomical Algorithms, ch. 7, integer form.)
function civilOf(jd) {
  let a = jd;
  if (jd >= 2299161) {
    const alpha = Math.floor((jd - 1867216.25) / 36524.25);
    a = jd + 1 + alpha - Math.floor(alpha / 4);
  }
  const b = a + 1524;
  const c = Math.floor((b - 122.1) / 365.25);
  const d = Math.floor(365.25 * c);
  const e = Math.floor((b - d) / 30.6001);
  const day = b - d - Math.floor(30.6001 * e);
  const month = e < 14 ? e - 1 : e - 13;
  const year = month > 2 ? c - 4716 : c - 4715;
  return [year, month, day];
}

// Month numbering in the library differs from the usual scheme in two spans,
// which it hard-codes by the first day of the month (JD): months are counted
// from the 12th month (the one after the winter-solstice month) from JD
// 1724360 until 1729794, and from 1807724 until 1808699; the months starting
// on those two end days are the switch back to the usual numbering.
const SHIFTED_SPANS = [
  [1724360, 1729794],
  [1807724, 1808699],
];
const inShiftedSpan = (jd) => SHIFTED_SPANS.some(([a, b]) => jd >= a && jd <= b);

const monthsOf = (y) =>
  LunarYear.fromYear(y)
    .getMonths()
    .map((m) => ({
      year: m.getYear(),
      month: Math.abs(m.getMonth()),
      leap: m.isLeap(),
      days: m.getDayCount(),
      jd: m.getFirstJulianDay(),
    }));

const label = (m) => `${m.leap ? 'leap ' : ''}${m.month}`;
const dateText = (jd) => {
  const [y, m, d] = civilOf(jd);
  return `${y}-${String(m).padStart(2, '0')}-${String(d).padStart(2, '0')}`;
};

// Where fromYear(y) and fromYear(y+1) both list a month but label it
// differently, the library contradicts itself (its own date conversion uses
// fromYear of the civil year, so it disagrees with itself across the new
// Gregorian year). Collected per affected lunar year, to annotate the output.
const inconsistencies = new Map();
for (let y = FIRST - 2; y <= LAST + 1; y++) {
  const later = monthsOf(y + 1);
  for (const a of monthsOf(y).filter((m) => m.jd >= later[0].jd)) {
    const b = later.find((m) => m.jd === a.jd);
    if (b && b.year === a.year && b.month === a.month && b.leap === a.leap && b.days === a.days) continue;
    const text =
      `library inconsistent: fromYear(${y}) labels the month from ${dateText(a.jd)} ` +
      `${a.year}/${label(a)}, fromYear(${y + 1}) ${b ? `${b.year}/${label(b)}` : 'has no such month'}`;
    for (const year of new Set([a.year, b?.year].filter((v) => v !== undefined))) {
      if (!inconsistencies.has(year)) inconsistencies.set(year, []);
      inconsistencies.get(year).push(text);
    }
  }
}

// LunarYear.fromYear(y) computes the 15 months starting with the month that
// contains the winter solstice of Gregorian year y-1. Only the months up to
// the next winter solstice are computed with full knowledge of where that
// span's leap month falls, so each month is taken from the computation whose
// solstice-to-solstice span contains it: for lunar year Y, the months before
// the solstice month of Y from fromYear(Y), the rest (solstice month of Y and
// later, which include any leap 11th or 12th month) from fromYear(Y+1).
function recordOf(Y) {
  const head = monthsOf(Y);
  const tail = monthsOf(Y + 1);
  const split = tail[0].jd;
  const notes = [];
  const problems = [];

  notes.push(...(inconsistencies.get(Y) ?? []));

  const months = [
    ...head.filter((m) => m.year === Y && m.jd < split),
    ...tail.filter((m) => m.year === Y),
  ];
  const next = tail.find((m) => m.year === Y + 1) ?? monthsOf(Y + 2).find((m) => m.year === Y + 1);
  if (months.length === 0) return { record: '-', comment: 'irregular: the library gives this year no months' };

  for (let i = 0; i < months.length; i++) {
    const end = i + 1 < months.length ? months[i + 1].jd : next.jd;
    if (months[i].jd + months[i].days !== end) {
      problems.push(`month ${label(months[i])} does not end where the next month starts`);
    }
  }

  if (months.some((m) => inShiftedSpan(m.jd))) {
    notes.push('in all or part of this year month 1 is the month after the winter-solstice month, one month earlier than usual');
  }
  if (SHIFTED_SPANS.some(([start]) => next.jd === start)) {
    notes.push('the next year starts one month early, with the month after the winter-solstice month');
  }
  for (const m of months.filter((x) => SHIFTED_SPANS.some(([, end]) => x.jd === end))) {
    notes.push(`the month from ${dateText(m.jd)}, where the usual numbering resumes, is labelled ${label(m)}`);
  }

  const first = months[0];
  if (first.month !== 1 || first.leap) problems.push(`year starts with month ${label(first)}`);
  const [ny, nm, nd] = civilOf(first.jd);
  if (ny !== Y || (nm !== 1 && nm !== 2)) {
    problems.push(`New Year on ${dateText(first.jd)}, not in January or February of ${Y}`);
  }

  const lengthBit = (m) => {
    if (m.days === 30) return '1';
    if (m.days === 29) return '0';
    problems.push(`month ${label(m)} has ${m.days} days`);
    return m.days > 29 ? '1' : '0';
  };

  let bits = '';
  for (let n = 1; n <= 12; n++) {
    const regular = months.filter((m) => !m.leap && m.month === n);
    if (regular.length === 0) {
      problems.push(`no month ${n}`);
      bits += '-';
    } else {
      if (regular.length > 1) problems.push(`${regular.length} months numbered ${n}`);
      bits += lengthBit(regular[0]);
    }
  }

  const leaps = months.filter((m) => m.leap);
  let leapPart = '00';
  if (leaps.length > 1) problems.push(`${leaps.length} leap months`);
  if (leaps.length) {
    const lm = leaps[0];
    const before = months[months.indexOf(lm) - 1];
    if (!before || before.leap || before.month !== lm.month) {
      problems.push(`leap month ${lm.month} does not follow month ${lm.month}`);
    }
    leapPart = lm.month.toString(16).toUpperCase() + lengthBit(lm);
  }

  const record = bits + leapPart + nm.toString(16).toUpperCase() + String(nd).padStart(2, '0');
  let comment = '';
  if (problems.length) comment = `irregular: ${[...problems, ...notes].join('; ')}`;
  else if (notes.length) comment = `note: ${notes.join('; ')}`;
  return { record, comment };
}

console.log(
  `# Chinese lunar year records ${FIRST}..${LAST} from lunar-javascript ${pkg.version}` +
    ` (LunarYear.fromYear(...).getMonths()); Node ${process.versions.node}.` +
    ' Years are astronomical (0 = 1 BC, -1 = 2 BC), as the library numbers them.' +
    ' Columns: lunar year Y (New Year in year Y), record: chars 1-12 months 1..12 (1 = 30 days,' +
    ' 0 = 29 days), char 13 leap month (0 none, else hex number of the month it follows), char 14 leap' +
    ' month length (1/0), char 15 month of New Year, chars 16-17 its day; dates before 1582-10-15 are' +
    ' proleptic Julian, later ones Gregorian. Optional third column: "# irregular: ..." (the record is' +
    ' only a best effort) or "# note: ...".'
);
for (let Y = FIRST; Y <= LAST; Y++) {
  const { record, comment } = recordOf(Y);
  console.log(comment ? `${Y}\t${record}\t# ${comment}` : `${Y}\t${record}`);
}

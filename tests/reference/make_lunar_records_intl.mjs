// Prints a 17-character year record for every Chinese lunar year 1901..2100,
// as computed by the Chinese calendar built into ICU (Node's Intl API).
//
// Usage: node make_lunar_records_intl.mjs > lunar_records_intl_1901_2100.tsv
// Each line after the '#' header is `Y<TAB>RECORD`.
//
// Record layout (lunar year Y = the one whose New Year's day falls in
// Gregorian year Y):
//   chars 1-12  month 1..12: "1" = 30 days, "0" = 29 days
//   char  13    leap month: "0" none, else the regular month it follows (hex 1..C)
//   char  14    leap month length "1"/"0" ("0" when none)
//   char  15    Gregorian month of New Year's day (1 or 2)
//   chars 16-17 Gregorian day of New Year's day, two digits

const FIRST = 1901;
const LAST = 2100;

const fmt = new Intl.DateTimeFormat('en-US', {
  calendar: 'chinese',
  timeZone: 'Asia/Shanghai',
  year: 'numeric',
  month: 'numeric',
  day: 'numeric',
});

// Lunar date of the civil day y-m-d. Noon in Beijing (04:00 UTC) keeps the
// instant well inside the civil day whatever offset the zone had historically.
function lunarOf(y, m, d) {
  const parts = fmt.formatToParts(new Date(Date.UTC(y, m - 1, d, 4)));
  const get = (t) => parts.find((p) => p.type === t)?.value;
  const year = Number(get('relatedYear') ?? get('year'));
  const monthText = get('month');
  const mm = /^(\d+)(bis)?$/.exec(monthText);
  if (!mm) throw new Error(`unexpected month part '${monthText}' on ${y}-${m}-${d}`);
  return { year, month: Number(mm[1]), leap: mm[2] === 'bis', day: Number(get('day')) };
}

// Walk every civil day from before the first New Year to after the last one,
// collecting each lunar month's first civil day and its length.
const years = new Map(); // lunar year -> { newYear: [m, d], months: [{month, leap, days}] }
let current = null;
for (let t = Date.UTC(FIRST - 1, 11, 1); t <= Date.UTC(LAST + 1, 2, 31); t += 86400000) {
  const dt = new Date(t);
  const y = dt.getUTCFullYear(), m = dt.getUTCMonth() + 1, d = dt.getUTCDate();
  const l = lunarOf(y, m, d);
  if (l.day === 1) {
    if (!years.has(l.year)) years.set(l.year, { newYear: null, months: [] });
    const rec = years.get(l.year);
    if (l.month === 1 && !l.leap) rec.newYear = [y, m, d];
    current = { month: l.month, leap: l.leap, days: 1 };
    rec.months.push(current);
  } else if (current) {
    if (l.day !== current.days + 1) throw new Error(`day sequence broken on ${y}-${m}-${d}`);
    current.days += 1;
  }
}

function recordOf(Y) {
  const rec = years.get(Y);
  if (!rec || !rec.newYear) throw new Error(`no data for lunar year ${Y}`);
  const [ny, nm, nd] = rec.newYear;
  if (ny !== Y) throw new Error(`lunar year ${Y} starts in Gregorian ${ny}`);
  const regular = rec.months.filter((x) => !x.leap);
  const leaps = rec.months.filter((x) => x.leap);
  if (regular.length !== 12 || regular.some((x, i) => x.month !== i + 1)) {
    throw new Error(`lunar year ${Y} does not have regular months 1..12`);
  }
  if (leaps.length > 1) throw new Error(`lunar year ${Y} has ${leaps.length} leap months`);
  const bit = (x) => {
    if (x.days !== 29 && x.days !== 30) throw new Error(`lunar year ${Y}: month of ${x.days} days`);
    return x.days === 30 ? '1' : '0';
  };
  let s = regular.map(bit).join('');
  if (leaps.length) {
    const lm = leaps[0];
    const pos = rec.months.indexOf(lm);
    if (pos === 0 || rec.months[pos - 1].month !== lm.month || rec.months[pos - 1].leap) {
      throw new Error(`lunar year ${Y}: leap month ${lm.month} does not follow month ${lm.month}`);
    }
    s += lm.month.toString(16).toUpperCase() + bit(lm);
  } else {
    s += '00';
  }
  return s + String(nm) + String(nd).padStart(2, '0');
}

console.log(
  `# Chinese lunar year records ${FIRST}..${LAST} from ICU ${process.versions.icu}` +
    ` (Node ${process.versions.node}, Intl.DateTimeFormat calendar 'chinese', time zone Asia/Shanghai).` +
    ' Columns: lunar year Y (New Year in Gregorian year Y), record: chars 1-12 months 1..12 (1 = 30 days,' +
    ' 0 = 29 days), char 13 leap month (0 none, else hex number of the month it follows), char 14 leap' +
    ' month length (1/0), char 15 Gregorian month of New Year, chars 16-17 its day.'
);
for (let Y = FIRST; Y <= LAST; Y++) console.log(`${Y}\t${recordOf(Y)}`);

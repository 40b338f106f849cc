// Builds the two rhyme dictionaries of the seed: ../seed/平水韵.tsv from 廣韻
// (tshet-uinh) and ../seed/中华新韵.tsv from the Mandarin readings of Unihan.
// The rules are described in rhymes.md beside this file.
import { fileURLToPath } from 'node:url';
import { dirname, join } from 'node:path';
import TshetUinh from 'tshet-uinh';
import * as OpenCC from 'opencc-js';

import { writeTable } from './lib/tsv.mjs';
import { loadUnihan, parseCodePoints, isBig5Common, variantGraph } from './lib/unihan.mjs';
import { MandarinReadings } from './lib/mandarin.mjs';
import { syllableKey, newRhymeGroup, isLevelTone } from './lib/pinyin.mjs';
import {
  groupOfRhyme, isLevelGroup, toneClassOfGroup, ALL_RHYMES, BOOK_GLYPHS,
  UNUSED_READINGS, ADDED_READINGS, SHOWN_GROUPS, groupNumberOfName,
} from './lib/pingshui.mjs';
import { Correspondence } from './lib/correspond.mjs';
import { rhymeUsage, tangPoemFiles } from './lib/usage.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const seedDir = join(here, '..', 'seed');
const COLUMNS = ['汉字', '平仄', '韵调', '拼音'];

// The program looks characters up one UTF-16 code unit at a time, so only
// characters of the Basic Multilingual Plane can ever be found.
const isSingleBmp = (ch) => typeof ch === 'string' && ch.length === 1
  && /\p{Script=Han}/u.test(ch);
const isSingleHan = (ch) => typeof ch === 'string' && [...ch].length === 1
  && /\p{Script=Han}/u.test(ch);
const byCodePoint = (a, b) => a.codePointAt(0) - b.codePointAt(0);

const unihan = loadUnihan();
const mandarin = new MandarinReadings(unihan);
const toSimplified = OpenCC.Converter({ from: 't', to: 'cn' });
const toTraditional = OpenCC.Converter({ from: 'cn', to: 't' });

// ---------------------------------------------------------------------------
// 廣韻: every character with its readings (group number, 音韻地位, book order)

const guangyun = new Map();   // char -> [{ group, pos, order, key }]
const bookOrder = [];         // characters in order of first appearance
// Forms the book's notes name for an entry ("亦作韓", "俗作…"): form -> [{ head, key }]
const notedForms = new Map();
const NOTE_FORM = /(?:亦作|或作|俗作|今作|通作|又作|本作|古作)(\p{Script=Han})/gu;
// Further readings the notes give without a listing of their own: "又音亡"
// (read as 亡) and "又莫郎切" (by a 反切 of the book).
const NOTE_SOUND = /又音(\p{Script=Han})/gu;
const NOTE_FANQIE = /又(\p{Script=Han}{2})切/gu;
let notedReadings = 0;
{
  const seenRhymes = new Set();
  const byFanqie = new Map();   // 反切 -> the positions it spells
  const soundNotes = [];
  let order = 0;
  for (const e of TshetUinh.資料.廣韻.iter條目()) {
    order += 1;
    const group = groupOfRhyme(e.來源.韻目);
    if (!group) throw new Error(`unknown 廣韻 rhyme ${e.來源.韻目}`);
    seenRhymes.add(e.來源.韻目);
    const ch = e.字頭;
    // characters beyond the BMP are kept as variant sources but get no rows
    if (!isSingleHan(ch)) continue;
    const pos = e.音韻地位;
    const key = `${group}|${pos ? pos.描述 : e.來源.小韻號}`;
    let list = guangyun.get(ch);
    if (!list) { list = []; guangyun.set(ch, list); bookOrder.push(ch); }
    if (!list.some((r) => r.key === key)) list.push({ group, pos, order, key });
    for (const m of e.釋義.matchAll(NOTE_FORM)) {
      if (m[1] === ch) continue;
      if (!notedForms.has(m[1])) notedForms.set(m[1], []);
      notedForms.get(m[1]).push({ head: ch, key });
    }
    if (e.反切) {
      if (!byFanqie.has(e.反切)) byFanqie.set(e.反切, []);
      byFanqie.get(e.反切).push({ group, pos, key });
    }
    for (const m of e.釋義.matchAll(NOTE_SOUND)) soundNotes.push({ ch, order, like: m[1] });
    for (const m of e.釋義.matchAll(NOTE_FANQIE)) soundNotes.push({ ch, order, fanqie: m[1] });
  }
  for (const r of ALL_RHYMES) if (!seenRhymes.has(r)) throw new Error(`rhyme ${r} not met in 廣韻`);
  // A noted sound counts when it names one rhyme group without doubt: the
  // character read alike has readings in one group only, the 反切 is used in
  // one group only.
  for (const { ch, order, like, fanqie } of soundNotes) {
    const targets = like ? (guangyun.get(like) || []) : (byFanqie.get(fanqie) || []);
    const groups = new Set(targets.map((t) => t.group));
    if (groups.size !== 1) continue;
    const t = targets[0];
    const list = guangyun.get(ch);
    if (list.some((r) => r.group === t.group)) continue;
    list.push({ group: t.group, pos: t.pos, order, key: t.key });
    notedReadings += 1;
  }
}

// ---------------------------------------------------------------------------
// Learn how Middle Chinese readings turn into Mandarin from the unambiguous characters.

const model = new Correspondence();
let trainingSize = 0;
for (const ch of bookOrder) {
  const readings = guangyun.get(ch);
  const positions = new Set(readings.map((r) => (r.pos ? r.pos.描述 : null)));
  if (positions.size !== 1 || !readings[0].pos) continue;
  const m = mandarin.all(ch);
  if (m.length !== 1) continue;
  model.learn(readings[0], m[0]);
  trainingSize += 1;
}

// The Mandarin syllable (among `syllables`) that best fits a reading.
function bestSyllable(reading, syllables) {
  let best = null; let bestScore = -Infinity;
  for (const s of syllables) {
    const sc = model.score(reading, s);
    if (sc > bestScore) { best = s; bestScore = sc; }
  }
  return best;
}

// ---------------------------------------------------------------------------
// Characters 廣韻 lists under another glyph. The book keeps its own forms (䰟
// for 魂, 𩏑 for 韓, 閒 for 間, 牕 for 窗), so a character of the modern lists
// (通用规范汉字表 kTGH, GB 2312), one of their traditional forms or a Big5
// character that 廣韻 lacks takes, by the sharing rule of sharedReadings, the
// readings of the entries whose notes name it ("𩏑 … 亦作韓"), of the glyph
// the checked table BOOK_GLYPHS gives for it, and of its variants (Unihan
// variant links and the "same as" notes of kDefinition).

const variants = variantGraph(unihan);
const modernSet = new Set([...unihan.tgh.keys(), ...unihan.gb0.keys()].filter(isSingleBmp));
for (const ch of [...modernSet]) {
  const forms = [...parseCodePoints(unihan.traditionalVariant.get(ch)), toTraditional(ch)];
  for (const t of forms) if (isSingleBmp(t)) modernSet.add(t);
}
// Candidates for the glyph search: the modern set, Big5 (traditional text) and
// the characters of the checked glyph table.
const glyphCandidates = [...new Set([...modernSet, ...unihan.big5.keys(), ...BOOK_GLYPHS.keys()])]
  .filter(isSingleBmp).sort(byCodePoint);

const base = new Map();   // char -> its readings before simplification
for (const ch of bookOrder) base.set(ch, guangyun.get(ch).map((r) => ({ ...r, own: true, from: ch })));
const variantResolved = [];
for (const ch of glyphCandidates) {
  if (base.has(ch)) continue;
  const found = [];
  const have = new Set();
  const noted = new Map();
  for (const { head, key } of notedForms.get(ch) || []) {
    if (!noted.has(head)) noted.set(head, new Set());
    noted.get(head).add(key);
  }
  for (const [head, keys] of noted) {
    const entries = guangyun.get(head).filter((r) => keys.has(r.key));
    for (const r of sharedReadings(ch, head, entries, true, true)) {
      if (!have.has(r.key)) { have.add(r.key); found.push({ ...r, own: true, from: head }); }
    }
  }
  const glyph = BOOK_GLYPHS.get(ch);
  if (glyph && guangyun.has(glyph)) {
    for (const r of sharedReadings(ch, glyph, guangyun.get(glyph), true, true)) {
      if (!have.has(r.key)) { have.add(r.key); found.push({ ...r, own: true, from: glyph }); }
    }
  }
  for (const v of [...(variants.get(ch) || [])].sort(byCodePoint)) {
    if (!guangyun.has(v)) continue;
    for (const r of sharedReadings(ch, v, guangyun.get(v))) {
      if (!have.has(r.key)) { have.add(r.key); found.push({ ...r, own: true, from: v }); }
    }
  }
  if (found.length) { base.set(ch, found); variantResolved.push(ch); }
}

// ---------------------------------------------------------------------------
// Simplified forms: OpenCC t2s of every character with readings plus Unihan's
// kSimplifiedVariant links.

const sourcesOf = new Map();   // simplified char -> traditional chars with readings
const simplifiedOf = new Map(); // traditional char -> its simplified forms
const traditionalOrder = [...bookOrder, ...variantResolved];
for (const t of traditionalOrder) {
  const forms = new Set([toSimplified(t), ...parseCodePoints(unihan.simplifiedVariant.get(t))]);
  for (const s of forms) {
    if (s === t || !isSingleBmp(s)) continue;
    if (!sourcesOf.has(s)) sourcesOf.set(s, []);
    sourcesOf.get(s).push(t);
    if (!simplifiedOf.has(t)) simplifiedOf.set(t, []);
    simplifiedOf.get(t).push(s);
  }
}

const stats = {
  trainingSize,
  guangyunChars: bookOrder.filter(isSingleBmp).length,
  notedReadings,
  variantResolved: variantResolved.length,
  simplifiedAdded: 0,
  simplifiedGained: 0,
  fallback: 0,
  fallbackSkipped: 0,
};

// The readings a character carries into 平水韵: its own (廣韻 or variant)
// readings, plus those it takes from traditional forms it simplifies.
//  - A traditional source is common when it is in Big5 level 1 or is the
//    standard traditional form OpenCC gives for the simplified character.
//  - A character without readings of its own takes the readings of its
//    common traditional sources (of all its sources when none is common)
//    whose Mandarin reflex it shares, whatever their tone (騎 has only qí, so
//    骑 takes 寘 as well as 支; 閒 jiān/xián/jiàn hands 闲 only 山 xián); all
//    their readings when that leaves nothing.
//  - A character with readings of its own keeps them and takes from a common
//    traditional source only the readings it shares (sharedReadings).
function readingsFor(ch) {
  const own = base.get(ch) || [];
  const sources = sourcesOf.get(ch) || [];
  if (sources.length === 0) return own;
  const standard = toTraditional(ch);
  const common = sources.filter((t) => t === standard || isBig5Common(unihan.big5.get(t)));
  const gained = [];
  const have = new Set(own.map((r) => r.key));
  const take = (r, t) => {
    if (!have.has(r.key)) { have.add(r.key); gained.push({ ...r, own: own.length === 0, from: t }); }
  };
  if (own.length === 0) {
    const from = common.length ? common : sources;
    for (const t of from) for (const r of sharedReadings(ch, t, base.get(t), false)) take(r, t);
    if (gained.length === 0) for (const t of from) for (const r of base.get(t)) take(r, t);
    return gained;
  }
  for (const t of common) for (const r of sharedReadings(ch, t, base.get(t))) take(r, t);
  if (gained.length) stats.simplifiedGained += 1;
  return own.concat(gained);
}

// Does the tone of a Mandarin syllable follow regularly from the reading's
// 聲 (平 -> 1 2; 上 -> 3, or 4 after a fully voiced initial; 去 -> 4; 入 -> any)?
function regularTone(reading, syllable) {
  const sheng = toneClassOfGroup(reading.group);
  if (sheng === '入') return true;
  if (sheng === '平') return syllable.tone === 1 || syllable.tone === 2;
  if (sheng === '去') return syllable.tone === 4;
  if (syllable.tone === 3) return true;
  return syllable.tone === 4 && (!reading.pos || reading.pos.清濁 === '全濁');
}

// The readings of `from` (readings of character `t`) that `ch` shares: those
// whose best Mandarin fit among t's syllables is also a syllable of ch and,
// when `regular`, has a tone that follows regularly from the reading.
// `widen`: t is known to write ch (a note of the book, a checked glyph), so
// the fit is sought among the syllables of both (亨 hēng writes 烹 pēng).
function sharedReadings(ch, t, from, regular = true, widen = false) {
  const mine = new Set(mandarin.all(ch).map(syllableKey));
  // a form without known Mandarin readings (𩏑) is judged by ch's own syllables
  let theirs = mandarin.all(t).length ? mandarin.all(t) : mandarin.all(ch);
  if (widen) {
    const keys = new Set(theirs.map(syllableKey));
    theirs = theirs.concat(mandarin.all(ch).filter((x) => !keys.has(syllableKey(x))));
  }
  return from.filter((r) => {
    const m = bestSyllable(r, theirs);
    return m && mine.has(syllableKey(m)) && (!regular || regularTone(r, m));
  });
}

// One row per group; the group of the most common reading last. The most
// common reading is the one of the group the character rhymes in most often
// in Tang regulated verse (when it rhymes often enough, see MIN_USAGE);
// otherwise, and between groups it does not rhyme in, the one that best fits
// the character's most common Mandarin syllable, where the readings of the
// commonly written form count OWN_BONUS (natural log) more; the earlier 廣韻
// entry wins a tie.
const OWN_BONUS = 3;
function pingshuiRows(ch, readings) {
  const syllables = mandarin.all(ch);
  const primary = mandarin.primary(ch);
  const fitOf = (r) => (syllables.length ? bestSyllable(r, syllables) : null);
  // the readings of the commonly written form get the bonus: the character's
  // own when it is common as a traditional character too (Big5 level 1),
  // else those taken from its traditional forms (历 is a rare 廣韻 character
  // of 霽; as the simplified 歷 it is 錫)
  const ownCommon = !sourcesOf.has(ch) || isBig5Common(unihan.big5.get(ch));
  const bonus = (r) => (r.own === ownCommon ? OWN_BONUS : 0);
  const used = usage.get(ch) || new Map();
  const usedTotal = [...used].reduce((a, [g, n]) => (g ? a + n : a), 0);
  const decides = usedTotal >= MIN_USAGE && usedTotal >= MIN_USAGE_SHARE * (used.get(0) || 0);
  const usedIn = (g) => (decides ? (used.get(g) || 0) : 0);
  if (decides && new Set(readings.map((r) => r.group)).size > 1) stats.byUsage += 1;
  const rankOf = (r) => [usedIn(r.group), (primary ? model.score(r, primary) : 0) + bonus(r), -r.order];
  const cmp = (a, b) => {
    for (let i = 0; i < a.length; i += 1) if (a[i] !== b[i]) return a[i] < b[i] ? -1 : 1;
    return 0;
  };
  const byGroup = new Map();
  for (const r of readings) {
    const rank = rankOf(r);
    const cur = byGroup.get(r.group);
    if (!cur || cmp(rank, cur.rank) > 0) byGroup.set(r.group, { reading: r, rank });
  }
  const shown = SHOWN_GROUPS.has(ch) ? groupNumberOfName(SHOWN_GROUPS.get(ch)) : 0;
  const groups = [...byGroup.entries()].sort((a, b) => (a[0] === shown) - (b[0] === shown)
    || cmp(a[1].rank, b[1].rank) || a[0] - b[0]);
  if (shown && groups[groups.length - 1][0] !== shown) throw new Error(`SHOWN_GROUPS: ${ch} lacks its group`);
  const level = groups.some(([g]) => isLevelGroup(g));
  const oblique = groups.some(([g]) => !isLevelGroup(g));
  const tone = level && oblique ? '2' : level ? '0' : '1';
  return groups.map(([g, { reading }], i) => {
    // the group shown (the last row) is spelt with the most common syllable
    const m = (i === groups.length - 1 && primary) ? primary : (fitOf(reading) || primary);
    return [ch, tone, g, m ? m.latin : ''];
  });
}

// ---------------------------------------------------------------------------
// 平水韵 table

const psReadings = new Map();   // char -> readings, for 廣韻 characters and simplified forms
for (const t of traditionalOrder) {
  for (const ch of [t, ...(simplifiedOf.get(t) || [])]) {
    if (!psReadings.has(ch)) psReadings.set(ch, readingsFor(ch));
  }
}
// A common traditional form takes, by the same sharing rule, the readings its
// simplified form collected from other traditional forms (為 takes 寘 through
// 为 from 爲, the form under which 廣韻 lists that reading).
stats.traditionalGained = 0;
for (const [s, sources] of sourcesOf) {
  // only what s took from traditional forms, not the readings of s itself
  const pooled = (psReadings.get(s) || []).filter((r) => r.from !== s);
  const standard = toTraditional(s);
  for (const t of sources) {
    if (t !== standard && !isBig5Common(unihan.big5.get(t))) continue;
    const mineList = psReadings.get(t);
    const have = new Set(mineList.map((r) => r.key));
    const extra = sharedReadings(t, s, pooled.filter((r) => !have.has(r.key) && r.from !== t))
      .map((r) => ({ ...r, own: false }));
    if (extra.length) { psReadings.set(t, mineList.concat(extra)); stats.traditionalGained += 1; }
  }
}

// Hand corrections toward the readings verse uses (lib/pingshui.mjs): missed
// readings added, rare ones left out. A character's standard traditional form
// is corrected alike where it has the reading; a correction that applies to
// neither form stops the build.
stats.handDropped = 0; stats.handAdded = 0;
for (const [ch, adds] of ADDED_READINGS) {
  const list = psReadings.get(ch);
  if (!list) throw new Error(`ADDED_READINGS: ${ch} has no readings`);
  for (const [name, donor] of adds) {
    const g = groupNumberOfName(name);
    const r = (psReadings.get(donor) || []).find((x) => x.group === g);
    if (!r || list.some((x) => x.group === g)) throw new Error(`ADDED_READINGS: ${ch} ${name} from ${donor} does not apply`);
    list.push({ ...r, own: true, from: donor });
    stats.handAdded += 1;
  }
}
for (const [ch, names] of UNUSED_READINGS) {
  const drop = new Set(names.map(groupNumberOfName));
  const met = new Set();
  for (const c of new Set([ch, toTraditional(ch)])) {
    const list = psReadings.get(c);
    if (!list) continue;
    const kept = list.filter((r) => !drop.has(r.group));
    if (kept.length === 0) throw new Error(`UNUSED_READINGS: ${c} would keep no reading`);
    for (const r of list) if (drop.has(r.group)) met.add(r.group);
    stats.handDropped += list.length - kept.length;
    psReadings.set(c, kept);
  }
  if (met.size !== drop.size) throw new Error(`UNUSED_READINGS: ${ch} ${names.join('')} does not apply`);
}

// Rhymes of Tang regulated verse decide the most common group of a character
// that rhymes there at least MIN_USAGE times and in at least MIN_USAGE_SHARE
// of its occurrences in those poems (lib/usage.mjs). Rhymes are nearly all
// level, so a character that rarely rhymes (不 rhymes as 否 in 尤 38 times in
// 22,827 occurrences) is left to its Mandarin reading.
const MIN_USAGE = 3;
const MIN_USAGE_SHARE = 0.01;
// USAGE_FILES=even counts only the even-numbered files (for measuring on the
// others), USAGE_FILES=none nothing (the Mandarin rule alone).
const usageFilter = {
  even: (f) => Number(f.split('.')[2]) % 2000 === 0,
  none: () => false,
}[process.env.USAGE_FILES] || (() => true);
const usage = rhymeUsage(tangPoemFiles(usageFilter),
  (c) => [...new Set((psReadings.get(c) || []).map((r) => r.group))], (c) => toSimplified(c));
stats.byUsage = 0;

const psRows = [];
const psDone = new Set();
const psGroupless = [];
function emitPingshui(ch) {
  if (psDone.has(ch) || !isSingleBmp(ch)) return;
  const readings = psReadings.get(ch) || [];
  if (readings.length === 0) return;
  psDone.add(ch);
  if (!base.has(ch)) stats.simplifiedAdded += 1;
  psRows.push(...pingshuiRows(ch, readings));
}
for (const t of traditionalOrder) {
  emitPingshui(t);
  for (const s of simplifiedOf.get(t) || []) emitPingshui(s);
}

// Characters of the standard list (通用规范汉字表, kTGH), of GB 2312 and their
// traditional forms that 廣韻 does not give: a tone from Mandarin, no group.
function modernTone(syllables) {
  const level = syllables.some((s) => isLevelTone(s.tone) === true);
  const oblique = syllables.some((s) => isLevelTone(s.tone) === false);
  if (!level && !oblique) return null;
  return level && oblique ? '2' : level ? '0' : '1';
}
for (const ch of [...modernSet].sort(byCodePoint)) {
  if (psDone.has(ch)) continue;
  let syllables = mandarin.dictionary(ch);
  if (syllables.length === 0) syllables = mandarin.all(ch);
  const tone = modernTone(syllables);
  if (!tone) { stats.fallbackSkipped += 1; continue; }
  const primary = mandarin.primary(ch, syllables);
  psDone.add(ch);
  psGroupless.push(ch);
  psRows.push([ch, tone, null, primary ? primary.latin : syllables[0].latin]);
}
stats.fallback = psGroupless.length;

// ---------------------------------------------------------------------------
// 中华新韵 table: the readings of the mainland dictionaries, group by final.

// the modern lists, Big5 and every character of the 平水韵 table, so that a
// classical text is covered under both systems
const nrUniverse = new Set([...modernSet, ...unihan.big5.keys(), ...psDone].filter(isSingleBmp));
const nrEntries = [];
let nrSkipped = 0;
for (const ch of nrUniverse) {
  const syllables = mandarin.dictionary(ch).filter((s) => newRhymeGroup(s.latin, s.ehat) > 0);
  if (syllables.length === 0) { nrSkipped += 1; continue; }
  const tone = modernTone(syllables);
  const primary = mandarin.primary(ch, syllables);
  const primaryGroup = newRhymeGroup(primary.latin, primary.ehat);
  const groups = new Map();   // group -> syllable shown, in dictionary order
  for (const s of syllables) {
    const g = newRhymeGroup(s.latin, s.ehat);
    if (!groups.has(g)) groups.set(g, s);
  }
  groups.set(primaryGroup, primary);
  const rows = [...groups.entries()].filter(([g]) => g !== primaryGroup)
    .concat([[primaryGroup, primary]])
    .map(([g, s]) => [ch, tone, g, s.latin]);
  nrEntries.push({ ch, sortKey: `${primary.latin} ${primary.tone}`, rows });
}
nrEntries.sort((a, b) => (a.sortKey < b.sortKey ? -1 : a.sortKey > b.sortKey ? 1 : byCodePoint(a.ch, b.ch)));
const nrRows = nrEntries.flatMap((e) => e.rows);

// ---------------------------------------------------------------------------

const psCount = writeTable(join(seedDir, '平水韵.tsv'), COLUMNS, psRows);
const nrCount = writeTable(join(seedDir, '中华新韵.tsv'), COLUMNS, nrRows);
console.log(`平水韵: ${psCount} rows, ${psDone.size} characters`
  + ` (${stats.guangyunChars} from 廣韻 with ${stats.notedReadings} readings from its notes,`
  + ` ${stats.variantResolved} through variant forms,`
  + ` ${stats.simplifiedAdded} simplified forms added,`
  + ` ${stats.simplifiedGained} 廣韻 characters gained readings from traditional forms,`
  + ` ${stats.traditionalGained} traditional forms from their simplified forms,`
  + ` ${stats.handDropped} unused readings left out and ${stats.handAdded} added by hand,`
  + ` ${stats.fallback} without a group, ${stats.fallbackSkipped} skipped without a tone;`
  + ` ${stats.byUsage} with several groups ordered by their rhymes in Tang verse);`
  + ` correspondence learnt from ${stats.trainingSize} characters`);
console.log(`中华新韵: ${nrCount} rows, ${nrEntries.length} characters (${nrSkipped} skipped without a reading)`);

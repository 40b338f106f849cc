// Builds the two rhyme dictionaries of the seed: ../seed/平水韵.tsv from 廣韻
// (tshet-uinh) and ../seed/中华新韵.tsv from the Mandarin readings of Unihan.
// The rules are described in rhymes.md beside this file.
import { fileURLToPath } from 'node:url';
import { dirname, join } from 'node:path';
import TshetUinh from 'tshet-uinh';
import * as OpenCC from 'opencc-js';

import { writeTable } from './lib/tsv.mjs';
import { loadUnihan, parseCodePoints, isBig5Common } from './lib/unihan.mjs';
import { MandarinReadings } from './lib/mandarin.mjs';
import { syllableKey, newRhymeGroup, isLevelTone } from './lib/pinyin.mjs';
import { groupOfRhyme, isLevelGroup, toneClassOfGroup, ALL_RHYMES } from './lib/pingshui.mjs';
import { Correspondence } from './lib/correspond.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const seedDir = join(here, '..', 'seed');
const COLUMNS = ['汉字', '平仄', '韵调', '拼音'];

// The program looks characters up one UTF-16 code unit at a time, so only
// characters of the Basic Multilingual Plane can ever be found.
const isSingleBmp = (ch) => typeof ch === 'string' && ch.length === 1
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
{
  const seenRhymes = new Set();
  let order = 0;
  for (const e of TshetUinh.資料.廣韻.iter條目()) {
    order += 1;
    const group = groupOfRhyme(e.來源.韻目);
    if (!group) throw new Error(`unknown 廣韻 rhyme ${e.來源.韻目}`);
    seenRhymes.add(e.來源.韻目);
    const ch = e.字頭;
    if (!isSingleBmp(ch)) continue;
    const pos = e.音韻地位;
    const key = `${group}|${pos ? pos.描述 : e.來源.小韻號}`;
    let list = guangyun.get(ch);
    if (!list) { list = []; guangyun.set(ch, list); bookOrder.push(ch); }
    if (!list.some((r) => r.key === key)) list.push({ group, pos, order, key, xiaoyun: e.來源.小韻號 });
  }
  for (const r of ALL_RHYMES) if (!seenRhymes.has(r)) throw new Error(`rhyme ${r} not met in 廣韻`);
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
// Simplified forms: OpenCC t2s of every 廣韻 character plus Unihan's
// kSimplifiedVariant links.

const sourcesOf = new Map();   // simplified char -> traditional 廣韻 chars, in book order
const simplifiedOf = new Map(); // traditional char -> its simplified forms
for (const t of bookOrder) {
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
  trainingSize, guangyunChars: guangyun.size, simplifiedAdded: 0, simplifiedGained: 0,
  fallback: 0, fallbackSkipped: 0,
};

// The readings a character carries into 平水韵: its own 廣韻 readings, plus
// those it takes from traditional forms it simplifies.
//  - A traditional source is common when it is in Big5 level 1 or is the
//    standard traditional form OpenCC gives for the simplified character.
//  - A character that is not itself in 廣韻 takes every reading of its common
//    traditional sources, or of all its sources when none is common.
//  - A character that is itself in 廣韻 keeps its own readings and takes from
//    a common traditional source only the readings whose Mandarin reflex it
//    shares (the source's reading that best fits a Mandarin syllable the
//    simplified character also has).
function readingsFor(ch) {
  const own = (guangyun.get(ch) || []).map((r) => ({ ...r, own: true, from: ch }));
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
    for (const t of (common.length ? common : sources)) for (const r of guangyun.get(t)) take(r, t);
    return gained;
  }
  for (const t of common) for (const r of sharedReadings(ch, t, guangyun.get(t))) take(r, t);
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
// whose best Mandarin fit among t's syllables is also a syllable of ch, with
// a tone that follows regularly from the reading.
function sharedReadings(ch, t, from) {
  const mine = new Set(mandarin.all(ch).map(syllableKey));
  const theirs = mandarin.all(t);
  return from.filter((r) => {
    const m = bestSyllable(r, theirs);
    return m && mine.has(syllableKey(m)) && regularTone(r, m);
  });
}

// One row per group; the group of the most common reading last. The most
// common reading is found by these keys in turn: the reading whose best
// Mandarin fit is the character's most common Mandarin syllable; the
// character's own 廣韻 reading before one taken from a traditional form; the
// better fit to the most common syllable; the earlier 廣韻 entry.
function pingshuiRows(ch, readings) {
  const syllables = mandarin.all(ch);
  const primary = mandarin.primary(ch);
  const primaryKey = primary ? syllableKey(primary) : null;
  const fitOf = (r) => (syllables.length ? bestSyllable(r, syllables) : null);
  const rankOf = (r) => {
    const fit = fitOf(r);
    return [fit && syllableKey(fit) === primaryKey ? 1 : 0, r.own ? 1 : 0,
      primary ? model.score(r, primary) : 0, -r.order];
  };
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
  const groups = [...byGroup.entries()].sort((a, b) => cmp(a[1].rank, b[1].rank) || a[0] - b[0]);
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
for (const t of bookOrder) {
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

const psRows = [];
const psDone = new Set();
const psGroupless = [];
function emitPingshui(ch) {
  if (psDone.has(ch)) return;
  const readings = psReadings.get(ch) || [];
  if (readings.length === 0) return;
  psDone.add(ch);
  if (!guangyun.has(ch)) stats.simplifiedAdded += 1;
  psRows.push(...pingshuiRows(ch, readings));
}
for (const t of bookOrder) {
  emitPingshui(t);
  for (const s of simplifiedOf.get(t) || []) emitPingshui(s);
}

// Characters of the standard list (通用规范汉字表, kTGH), of GB 2312 and their
// traditional forms that 廣韻 does not give: a tone from Mandarin, no group.
const modernSet = new Set([...unihan.tgh.keys(), ...unihan.gb0.keys()].filter(isSingleBmp));
for (const ch of [...modernSet]) {
  const forms = [...parseCodePoints(unihan.traditionalVariant.get(ch)), toTraditional(ch),
    ...(sourcesOf.get(ch) || [])];
  for (const t of forms) if (isSingleBmp(t)) modernSet.add(t);
}
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

const nrUniverse = new Set([...modernSet, ...unihan.big5.keys()].filter(isSingleBmp));
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
  + ` (${stats.guangyunChars} from 廣韻, ${stats.simplifiedAdded} simplified forms added,`
  + ` ${stats.simplifiedGained} 廣韻 characters gained readings from traditional forms,`
  + ` ${stats.traditionalGained} traditional forms from their simplified forms,`
  + ` ${stats.fallback} without a group, ${stats.fallbackSkipped} skipped without a tone);`
  + ` correspondence learnt from ${stats.trainingSize} characters`);
console.log(`中华新韵: ${nrCount} rows, ${nrEntries.length} characters (${nrSkipped} skipped without a reading)`);

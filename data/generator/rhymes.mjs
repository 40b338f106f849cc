// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the two rhyme dictionaries of the seed: ../seed/平水韵.tsv from 廣韻
// (tshet-uinh) and ../seed/中华新韵.tsv from the Mandarin readings of Unihan.
// The rules are described in rhymes.md beside this file.
import { fileURLToPath } from 'node:url';
import { writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import TshetUinh from 'tshet-uinh';
import * as OpenCC from 'opencc-js';

import { writeTable } from './lib/tsv.mjs';
import { loadUnihan, parseCodePoints, isBig5Common, variantGraph, tghzReadings, hanyuPinyinReadings } from './lib/unihan.mjs';
import { MandarinReadings } from './lib/mandarin.mjs';
import { syllableKey, newRhymeGroup, isLevelTone, parseSyllable } from './lib/pinyin.mjs';
import {
  GROUP_NAMES, groupOfRhyme, isLevelGroup, toneClassOfGroup, ALL_RHYMES, BOOK_GLYPHS,
  UNUSED_READINGS, ADDED_READINGS, SHOWN_GROUPS, ROW_SPELLINGS, READ_AS, groupNumberOfName,
} from './lib/pingshui.mjs';
import { Correspondence } from './lib/correspond.mjs';
import { loadPingshuiTable } from './lib/pingshui-table.mjs';
import { rhymeUsage, tangPoemFiles } from './lib/usage.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const seedDir = join(here, '..', 'seed');
const COLUMNS = ['汉字', '平仄', '韵调', '拼音'];

// Rows are written for the characters of the Basic Multilingual Plane and for
// the standard characters (通用规范汉字表) beyond it.
const isSingleBmp = (ch) => typeof ch === 'string' && ch.length === 1
  && /\p{Script=Han}/u.test(ch);
const isSingleHan = (ch) => typeof ch === 'string' && [...ch].length === 1
  && /\p{Script=Han}/u.test(ch);
const byCodePoint = (a, b) => a.codePointAt(0) - b.codePointAt(0);

const unihan = loadUnihan();
const standardSet = new Set(unihan.tgh.keys());
const isRowChar = (ch) => isSingleBmp(ch) || (isSingleHan(ch) && standardSet.has(ch));
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
const modernSet = new Set([...unihan.tgh.keys(), ...unihan.gb0.keys()].filter(isRowChar));
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
    if (s === t || !isRowChar(s)) continue;
    if (!sourcesOf.has(s)) sourcesOf.set(s, []);
    sourcesOf.get(s).push(t);
    if (!simplifiedOf.has(t)) simplifiedOf.set(t, []);
    simplifiedOf.get(t).push(s);
  }
}

const stats = {
  trainingSize,
  guangyunChars: bookOrder.filter(isRowChar).length,
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
    const spelt = ROW_SPELLINGS.get(ch)?.get(GROUP_NAMES[g - 1]);
    return [ch, tone, g, spelt || (m ? m.latin : '')];
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
const tangFiles = tangPoemFiles(usageFilter);
const groupsIn = (c) => [...new Set((psReadings.get(c) || []).map((r) => r.group))];
const rhymesIn = (used, g) => {
  const total = [...used].reduce((a, [k, n]) => (k ? a + n : a), 0);
  return total >= MIN_USAGE && total >= MIN_USAGE_SHARE * (used.get(0) || 0) && (used.get(g) || 0) >= MIN_USAGE;
};

// ---------------------------------------------------------------------------
// The 平水韵 table decides (rhymes.md, step 1b). A character the table lists
// has the groups the table gives it, and 講 (which the table lacks) from
// 廣韻. A group the table gives without a reading of 廣韻 behind it (in the
// character, its traditional forms or variants) borrows the 音韻地位 of a
// character with the same Mandarin syllable in that group (涯 麻 as 牙, 疯 东
// as 風); where no such character exists and the group would change the
// character's tone, the entry is taken for a slip of the simplified table
// (龙 in 缉, 儿 in 觉) and left out. A reading of 廣韻 the table does not give
// is left out unless Tang regulated verse rhymes the character in its group
// (槎 麻, which the table lacks). A traditional form keeps those of its
// readings whose group the table gives one of its simplified forms.

const table = loadPingshuiTable();
const JIANG = groupNumberOfName('讲');
stats.table = { chars: 0, added: 0, dropped: 0, kept: 0, unbacked: 0, slips: 0, traditional: 0 };
const derivedUsage = rhymeUsage(tangFiles, groupsIn, (c) => toSimplified(c));

// (group, Mandarin syllable) -> the 音韻地位 of 廣韻 readings in that group of
// characters read so, with how many characters have each
const positionsBySound = new Map();
for (const ch of bookOrder) {
  const syllables = mandarin.all(ch);
  for (const r of guangyun.get(ch)) {
    if (!r.pos) continue;
    const m = bestSyllable(r, syllables);
    if (!m) continue;
    const k = `${r.group}|${syllableKey(m)}`;
    if (!positionsBySound.has(k)) positionsBySound.set(k, new Map());
    const byPos = positionsBySound.get(k);
    const cur = byPos.get(r.pos.描述);
    if (cur) cur.n += 1; else byPos.set(r.pos.描述, { n: 1, reading: r });
  }
}
// A reading in group g for a character that 廣韻 lacks there, or null when no
// character of g has one of its Mandarin syllables in a tone that follows
// regularly from the group.
function borrowedReading(ch, g) {
  const primary = mandarin.primary(ch);
  for (const s of primary ? [primary, ...mandarin.wide(ch)] : mandarin.wide(ch)) {
    if (!regularTone({ group: g, pos: null }, s)) continue;
    const byPos = positionsBySound.get(`${g}|${syllableKey(s)}`);
    if (!byPos) continue;
    const best = [...byPos.values()]
      .sort((a, b) => b.n - a.n || a.reading.order - b.reading.order)[0];
    return { group: g, pos: best.reading.pos, order: Infinity, key: `${g}|table`, own: true, from: ch };
  }
  return null;
}

// The reading of 廣韻 behind the table's entry (ch, g): the character's own,
// or one it shares with a traditional form or variant (as in sharedReadings,
// with the readings of the older dictionaries counted too: 胜 shēng of 勝).
function backing(ch, g) {
  const mine = (psReadings.get(ch) || []).find((x) => x.group === g);
  if (mine) return mine;
  const forms = [...(sourcesOf.get(ch) || []), ...[...(variants.get(ch) || [])].sort(byCodePoint)];
  const wide = new Set(mandarin.wide(ch).map(syllableKey));
  for (const f of forms) {
    const theirs = mandarin.wide(f).length ? mandarin.wide(f) : mandarin.wide(ch);
    const r = (psReadings.get(f) || guangyun.get(f) || []).find((x) => {
      if (x.group !== g) return false;
      const m = bestSyllable(x, theirs);
      return m && wide.has(syllableKey(m)) && regularTone(x, m);
    });
    if (r) return { ...r, from: f };
  }
  return null;
}

const tableSlips = [];
const tableKept = [];
const tableReadings = new Map();
for (const [ch, groups] of table.groupsOf) {
  const own = psReadings.get(ch) || [];
  const list = [];
  const unbacked = [];
  for (const g of groups) {
    const mine = own.filter((r) => r.group === g);
    if (mine.length) { list.push(...mine); continue; }
    const b = backing(ch, g);
    if (b) list.push({ ...b, own: true }); else unbacked.push(g);
  }
  // readings of 廣韻 outside the table: kept where Tang verse rhymes them
  const used = derivedUsage.get(ch) || new Map();
  for (const r of own) {
    if (groups.includes(r.group)) continue;
    if (r.group === JIANG || rhymesIn(used, r.group)) {
      list.push(r);
      if (r.group !== JIANG) { stats.table.kept += 1; tableKept.push(ch + GROUP_NAMES[r.group - 1]); }
    } else stats.table.dropped += 1;
  }
  const tonesOf = (rs) => new Set(rs.map((r) => isLevelGroup(r.group)));
  const backedTones = tonesOf(list);
  for (const g of unbacked) {
    const r = borrowedReading(ch, g);
    if (r) { list.push(r); stats.table.unbacked += 1; continue; }
    if (backedTones.size === 0 || backedTones.has(isLevelGroup(g))) {
      list.push({ group: g, pos: null, order: Infinity, key: `${g}|table`, own: true, from: ch });
      stats.table.unbacked += 1;
      continue;
    }
    stats.table.slips += 1;
    tableSlips.push(ch + GROUP_NAMES[g - 1]);
  }
  if (!psReadings.has(ch)) stats.table.added += 1;
  stats.table.chars += 1;
  tableReadings.set(ch, list);
}
for (const [ch, list] of tableReadings) psReadings.set(ch, list);
// Traditional forms: the table speaks through their simplified forms.
for (const t of traditionalOrder) {
  if (table.groupsOf.has(t)) continue;
  const simplified = [...new Set([toSimplified(t), ...(simplifiedOf.get(t) || [])])]
    .filter((s) => s !== t && table.groupsOf.has(s));
  if (simplified.length === 0) continue;
  const allowed = new Set(simplified.flatMap((s) => psReadings.get(s).map((r) => r.group)));
  const used = derivedUsage.get(t) || new Map();
  const own = psReadings.get(t) || [];
  const kept = own.filter((r) => allowed.has(r.group) || r.group === JIANG || rhymesIn(used, r.group));
  if (kept.length && kept.length < own.length) {
    stats.table.traditional += 1;
    psReadings.set(t, kept);
  }
}
if (process.env.DEBUG_TABLE) {
  writeFileSync('/tmp/m/slips.txt', tableSlips.join(' '));
  writeFileSync('/tmp/m/kept.txt', tableKept.join(' '));
}

// Hand corrections toward the readings verse uses (lib/pingshui.mjs): missed
// readings added, rare ones left out. A character's standard traditional form
// is corrected alike where it has the reading; a correction that applies to
// neither form stops the build.
stats.handDropped = 0; stats.handAdded = 0;
for (const [ch, adds] of ADDED_READINGS) {
  if (!psReadings.has(ch)) psReadings.set(ch, []);
  const list = psReadings.get(ch);
  for (const [name, donor] of adds) {
    const g = groupNumberOfName(name);
    const r = (psReadings.get(donor) || []).find((x) => x.group === g)
      || (guangyun.get(donor) || []).find((x) => x.group === g);
    if (!r || list.some((x) => x.group === g)) throw new Error(`ADDED_READINGS: ${ch} ${name} from ${donor} does not apply`);
    list.push({ ...r, own: true, from: donor });
    stats.handAdded += 1;
  }
}
const unusedMissed = [];
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
  for (const n of names) if (!met.has(groupNumberOfName(n))) unusedMissed.push(ch + n);
}
if (unusedMissed.length) throw new Error(`UNUSED_READINGS do not apply: ${unusedMissed.join(' ')}`);
for (const [v, standard] of READ_AS) {
  if (!psReadings.has(standard)) throw new Error(`READ_AS: ${v} ${standard} does not apply`);
  psReadings.set(v, psReadings.get(standard));
}

const usage = rhymeUsage(tangFiles, groupsIn, (c) => toSimplified(c));
stats.byUsage = 0;

const psRows = [];
const psDone = new Set();
const psGroupless = [];
function emitPingshui(ch) {
  if (psDone.has(ch) || !isRowChar(ch)) return;
  const readings = psReadings.get(ch) || [];
  if (readings.length === 0) return;
  psDone.add(ch);
  if (!base.has(ch) && !tableReadings.has(ch)) stats.simplifiedAdded += 1;
  psRows.push(...pingshuiRows(ch, readings));
}
for (const t of traditionalOrder) {
  emitPingshui(t);
  for (const s of simplifiedOf.get(t) || []) emitPingshui(s);
}
// characters only the table has (疯 懂 滚 怎), in the table's order, and
// their traditional forms (瘋), which read as they do
for (const ch of table.groupsOf.keys()) emitPingshui(ch);
for (const ch of [...ADDED_READINGS.keys(), ...READ_AS.keys()]) emitPingshui(ch);
for (const ch of [...modernSet, ...unihan.big5.keys()].filter(isSingleBmp).sort(byCodePoint)) {
  if (psDone.has(ch) || psReadings.has(ch)) continue;
  const s = toSimplified(ch);
  if (s === ch || !tableReadings.has(s)) continue;
  psReadings.set(ch, psReadings.get(s));
  stats.table.traditional += 1;
  emitPingshui(ch);
}

// Characters of the standard list (通用规范汉字表, kTGH), of GB 2312 and their
// traditional forms that neither the table nor 廣韻 gives (们 卡 氧 搁): the
// group of the reading that best fits their most common Mandarin syllable
// among the readings of their phonetic series (Unihan kPhonetic, also through
// their traditional forms) that are read with the same syllable (氧 yǎng as
// 養, 搁 as 閣) and whose tone follows regularly; else the group most characters of that very syllable (with
// its tone) have in a group of that tone. Without either: a tone from Mandarin and no group.
function modernTone(syllables) {
  const level = syllables.some((s) => isLevelTone(s.tone) === true);
  const oblique = syllables.some((s) => isLevelTone(s.tone) === false);
  if (!level && !oblique) return null;
  return level && oblique ? '2' : level ? '0' : '1';
}
const phoneticMembers = new Map();   // phonetic class -> characters
const phoneticClasses = (ch) => (unihan.phonetic.get(ch) || '').split(/\s+/)
  .map((v) => v.replace(/\*$/, '')).filter(Boolean);
for (const ch of unihan.phonetic.keys()) {
  for (const k of phoneticClasses(ch)) {
    if (!phoneticMembers.has(k)) phoneticMembers.set(k, []);
    phoneticMembers.get(k).push(ch);
  }
}
// (Mandarin syllable with tone) -> Map(group -> characters read so in it)
const groupsBySound = new Map();
for (const [m, readings] of psReadings) {
  if (!isRowChar(m)) continue;
  const syllables = mandarin.all(m);
  for (const g of new Set(readings.map((r) => r.group))) {
    const fits = readings.filter((r) => r.group === g).map((r) => bestSyllable(r, syllables)).filter(Boolean);
    for (const k of new Set(fits.map(syllableKey))) {
      if (!groupsBySound.has(k)) groupsBySound.set(k, new Map());
      groupsBySound.get(k).set(g, (groupsBySound.get(k).get(g) || 0) + 1);
    }
  }
}
stats.byPhonetic = 0; stats.bySound = 0;
function analogousReading(ch, syllable) {
  const forms = [ch, ...parseCodePoints(unihan.traditionalVariant.get(ch)), toTraditional(ch)];
  const classes = new Set(forms.flatMap(phoneticClasses));
  let best = null; let bestScore = -Infinity;
  for (const k of [...classes].sort()) {
    for (const m of phoneticMembers.get(k)) {
      if (forms.includes(m)) continue;
      const theirs = mandarin.all(m);
      for (const r of psReadings.get(m) || []) {
        const fit = bestSyllable(r, theirs);
        if (!fit || fit.latin !== syllable.latin || !regularTone(r, syllable)) continue;
        const score = model.score(r, syllable);
        if (score > bestScore || (score === bestScore && r.group < best.group)) { best = r; bestScore = score; }
      }
    }
  }
  if (best) { stats.byPhonetic += 1; return best.group; }
  const bySound = [...(groupsBySound.get(syllableKey(syllable)) || [])]
    .filter(([g]) => regularTone({ group: g, pos: null }, syllable));
  if (bySound.length === 0) return 0;
  stats.bySound += 1;
  return bySound.sort((a, b) => b[1] - a[1] || a[0] - b[0])[0][0];
}
function laterRows(ch, rows) {
  let syllables = mandarin.dictionary(ch);
  if (syllables.length === 0) syllables = mandarin.all(ch);
  const tone = modernTone(syllables);
  if (!tone) { stats.fallbackSkipped += 1; return; }
  const primary = mandarin.primary(ch, syllables);
  psDone.add(ch);
  const g = analogousReading(ch, primary);
  if (g) {
    rows.push([ch, isLevelGroup(g) ? '0' : '1', g, primary.latin]);
    return;
  }
  psGroupless.push(ch);
  rows.push([ch, tone, null, primary ? primary.latin : syllables[0].latin]);
}
for (const ch of [...modernSet].sort(byCodePoint)) {
  if (!psDone.has(ch)) laterRows(ch, psRows);
}
stats.fallback = psGroupless.length;

// ---------------------------------------------------------------------------
// 中华新韵 table: the readings of the mainland dictionaries, group by final.

// the modern lists, Big5 and every character of the 平水韵 table, so that a
// classical text is covered under both systems
const nrUniverse = new Set([...modernSet, ...unihan.big5.keys(), ...psDone].filter(isRowChar));
const nrEntries = [];
let nrSkipped = 0;
// The most common reading where the frequency list counts an interjection
// over today's usual word: 咳 ké (咳嗽), not hāi.
const NEW_RHYME_PRIMARY = new Map([['咳', 'ké']]);
// Characters the 2013 dictionary reads only in the neutral tone (么 me, 呗
// bei, 嘛 ma): that syllable gives the group shown (么 rhymes in 波, not as
// the old 幺 yāo in 豪); the tone comes from their other readings.
function neutralOnly(ch) {
  const all = tghzReadings(unihan.tghz.get(ch)).map(parseSyllable).filter(Boolean);
  if (all.length === 0 || all.some((x) => x.tone !== 0)) return null;
  return all.find((x) => newRhymeGroup(x.latin, x.ehat) > 0) || null;
}
let nrNeutral = 0;
// The entry of one character from the syllables it is read with (rows one
// per group, the group of the most common reading last), or null.
function newRhymeEntry(ch, syllables, tone, neutral) {
  const wanted = NEW_RHYME_PRIMARY.has(ch) ? parseSyllable(NEW_RHYME_PRIMARY.get(ch)) : null;
  const primary = neutral || (wanted && syllables.find((x) => syllableKey(x) === syllableKey(wanted)))
    || mandarin.primary(ch, syllables);
  if (wanted && syllableKey(primary) !== syllableKey(wanted)) throw new Error(`NEW_RHYME_PRIMARY: ${ch} lacks ${wanted.latin}`);
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
  return { ch, sortKey: `${primary.latin} ${primary.tone}`, rows };
}
// A syllable of the nasal interjections (嗯 ńg, ń) rhymes as the final it
// sounds like: ng as eng (庚), n as en (文). Only for a character that has
// no other reading.
const NASAL_FINALS = new Map([['ng', 'eng'], ['n', 'en']]);
function nasalAsFinal(s) {
  return NASAL_FINALS.has(s.latin) ? { ...s, latin: NASAL_FINALS.get(s.latin) } : null;
}
let nrNasal = 0;
for (const ch of nrUniverse) {
  let syllables = mandarin.dictionary(ch).filter((s) => newRhymeGroup(s.latin, s.ehat) > 0);
  if (syllables.length === 0) {
    syllables = mandarin.dictionary(ch).map(nasalAsFinal).filter((s) => s && s.tone !== 0);
    if (syllables.length) nrNasal += 1;
  }
  const neutral = neutralOnly(ch);
  // A character every dictionary reads only in the neutral tone (嘛 ma, 蓿
  // xu) rhymes by that syllable and takes its tone from the readings of
  // 漢語大字典 (嘛 má, 蓿 sù).
  let toneFrom = syllables;
  if (syllables.length === 0 && neutral) {
    syllables = [neutral];
    toneFrom = hanyuPinyinReadings(unihan.hanyuPinyin.get(ch)).map(parseSyllable).filter(Boolean);
  }
  const tone = modernTone(toneFrom);
  if (syllables.length === 0 || !tone) { nrSkipped += 1; continue; }
  if (neutral) nrNeutral += 1;
  nrEntries.push(newRhymeEntry(ch, syllables, tone, neutral));
}

// A traditional character reads under 中华新韵 like its simplified form: the
// reading of a modern-Mandarin rhyme system is the reading of the word,
// whatever the script (風 is fēng as 风, not ※ by the old fěng of 諷; 與 is
// 与's yǔ yù; 們 嗎 麼 read as 们 吗 么). Where several traditional forms share
// one simplified form (發 髮 → 发, 隻 只 → 只), a form keeps those readings of
// the simplified one that it has itself (發 fā, 髮 fà), when there are any.
// A standard character (通用规范汉字表) keeps its own readings (乾 qián).
const nrEntryOf = new Map(nrEntries.map((e) => [e.ch, e]));
const nrStats = { traditional: 0, narrowed: 0, variants: 0 };
const nrTraditional = [...nrUniverse].filter((t) => !standardSet.has(t)).sort(byCodePoint);
for (const t of nrTraditional) {
  const s = toSimplified(t);
  if (s === t || [...s].length !== 1 || !nrEntryOf.has(s) || standardSet.has(t) === true) continue;
  const simplified = nrEntryOf.get(s);
  const forms = new Set([t, ...parseCodePoints(unihan.traditionalVariant.get(s))]);
  forms.delete(s);
  let entry = { ch: t, sortKey: simplified.sortKey, rows: simplified.rows.map((r) => [t, ...r.slice(1)]) };
  if (forms.size > 1) {
    const own = new Set(mandarin.dictionary(t).map(syllableKey));
    const theirs = mandarin.dictionary(s).filter((x) => newRhymeGroup(x.latin, x.ehat) > 0);
    const shared = theirs.filter((x) => own.has(syllableKey(x)));
    if (shared.length && shared.length < theirs.length) {
      entry = newRhymeEntry(t, shared, modernTone(shared), null);
      nrStats.narrowed += 1;
    }
  }
  const before = nrEntryOf.get(t);
  if (before && JSON.stringify(before.rows) === JSON.stringify(entry.rows)) continue;
  if (before) nrEntries.splice(nrEntries.indexOf(before), 1);
  nrEntries.push(entry);
  nrEntryOf.set(t, entry);
  nrStats.traditional += 1;
}
nrEntries.sort((a, b) => (a.sortKey < b.sortKey ? -1 : a.sortKey > b.sortKey ? 1 : byCodePoint(a.ch, b.ch)));

// ---------------------------------------------------------------------------
// Variant forms read like their standard form, in both dictionaries. A writer
// types or pastes 異體 from old editions and Hong Kong, Taiwan or Japanese
// text (晩 郷 絶 説 髪 隣 廻, 着 for 著 in Hong Kong): a form without rows of
// its own takes the rows of the form it varies, written right after them, so
// that the dictionary maintenance window lists it there. The links: OpenCC's
// variant tables (HK, TW and Japanese forms, both ways; t2s), then Unihan
// kZVariant, kSemanticVariant, kSimplifiedVariant and kTraditionalVariant.
// Among several forms, one that shares a Mandarin syllable with the variant
// comes first; a variant without rows whose own rare reading matches none
// (綉 tòu for 繡, 鉄 zhí for 鐵) still reads as the form it is written for.
const cnToHK = OpenCC.Converter({ from: 'cn', to: 'hk' });
const cnToTW = OpenCC.Converter({ from: 'cn', to: 'tw' });
const tToHK = OpenCC.Converter({ from: 't', to: 'hk' });
const tToTW = OpenCC.Converter({ from: 't', to: 'tw' });
const tToJP = OpenCC.Converter({ from: 't', to: 'jp' });
const hkToT = OpenCC.Converter({ from: 'hk', to: 't' });
const twToT = OpenCC.Converter({ from: 'tw', to: 't' });
const jpToT = OpenCC.Converter({ from: 'jp', to: 't' });
const single = (x) => (typeof x === 'string' && [...x].length === 1 ? x : null);
const unihanLinks = (x) => [
  ...parseCodePoints(unihan.zVariant.get(x)),
  ...parseCodePoints(unihan.semanticVariant.get(x)),
  ...parseCodePoints(unihan.simplifiedVariant.get(x)),
  ...parseCodePoints(unihan.traditionalVariant.get(x)),
];
// variant -> the forms it may read as, best first
let variantTargets = new Map();
// Beyond the BMP only the forms of Extension B (U+20000-U+2A6DF, where the
// Hong Kong forms live and the CJK fonts draw them) are read: the later
// extensions are rare glyphs no font of the system draws and no writer types.
const isReadableForm = (v) => v.length === 1 || (v.codePointAt(0) >= 0x20000 && v.codePointAt(0) <= 0x2a6df);
const addTarget = (v, standard, rank) => {
  if (!single(v) || !single(standard) || v === standard || !/\p{Script=Han}/u.test(v)) return;
  if (!isReadableForm(v)) return;
  if (!variantTargets.has(v)) variantTargets.set(v, []);
  variantTargets.get(v).push([rank, standard]);
};
function collectVariants(chars) {
  variantTargets = new Map();
  for (const c of chars) {
    for (const f of [hkToT(c), twToT(c), jpToT(c)]) addTarget(c, f, 0);
    addTarget(c, toSimplified(c), 1);
    for (const f of [cnToHK(c), cnToTW(c), tToHK(c), tToTW(c), tToJP(c)]) addTarget(f, c, 2);
    parseCodePoints(unihan.zVariant.get(c)).forEach((v) => { addTarget(c, v, 3); addTarget(v, c, 3); });
    parseCodePoints(unihan.semanticVariant.get(c)).forEach((v) => { addTarget(c, v, 4); addTarget(v, c, 4); });
    for (const v of [...parseCodePoints(unihan.simplifiedVariant.get(c)), ...parseCodePoints(unihan.traditionalVariant.get(c))]) {
      addTarget(c, v, 5); addTarget(v, c, 5);
    }
  }
}
function soundsAlike(v, standard) {
  const own = mandarin.dictionary(v).length ? mandarin.dictionary(v) : mandarin.all(v);
  if (own.length === 0) return true;
  const theirs = new Set(mandarin.wide(standard).map((x) => x.latin));
  return own.some((x) => theirs.has(x.latin));
}
function addVariantRows(rows) {
  const rowsOf = new Map();
  for (const r of rows) {
    if (!rowsOf.has(r[0])) rowsOf.set(r[0], []);
    rowsOf.get(r[0]).push(r);
  }
  collectVariants([...rowsOf.keys()]);
  const variantsOf = new Map();   // standard -> variants read as it
  for (const v of [...variantTargets.keys()].sort(byCodePoint)) {
    if (rowsOf.has(v)) continue;
    const targets = variantTargets.get(v).filter(([, t]) => rowsOf.has(t))
      .map(([rank, t]) => [soundsAlike(v, t) ? rank : rank + 10, t])
      .sort((a, b) => a[0] - b[0] || byCodePoint(a[1], b[1]));
    if (targets.length === 0) continue;
    const t = targets[0][1];
    if (!variantsOf.has(t)) variantsOf.set(t, []);
    variantsOf.get(t).push(v);
  }
  const out = [];
  let added = 0;
  for (let i = 0; i < rows.length; i += 1) {
    out.push(rows[i]);
    const ch = rows[i][0];
    if (i + 1 < rows.length && rows[i + 1][0] === ch) continue;
    for (const v of variantsOf.get(ch) || []) {
      for (const r of rowsOf.get(ch)) out.push([v, ...r.slice(1)]);
      added += 1;
    }
  }
  return { rows: out, added };
}
const nrWithVariants = addVariantRows(nrEntries.flatMap((e) => e.rows));
const nrRows = nrWithVariants.rows;
nrStats.variants = nrWithVariants.added;

// ---------------------------------------------------------------------------

// The 3,500 characters of level 1 of the standard list, for the data tests
// (tests/data): how many of them the 平水韵 table leaves without a group.
const level1 = [...unihan.tgh].map(([ch, v]) => [ch, Number(/2013:(\d+)/.exec(v)?.[1])])
  .filter(([, n]) => n >= 1 && n <= 3500).sort((a, b) => a[1] - b[1]).map(([ch]) => ch);
if (level1.length !== 3500) throw new Error(`level 1 of the standard list has ${level1.length} characters`);
writeFileSync(join(here, '..', '..', 'tests', 'data', 'level1-characters.txt'), level1.join('') + '\n', 'utf8');
// The variant forms of those characters, for the data tests: Unihan
// kZVariant and kSemanticVariant of the character and of its traditional
// forms, and the Hong Kong and Taiwan forms of OpenCC (s2hk, t2hk, s2tw,
// t2tw), other than a common character; one line per character that has any:
// the character, a tab, its variant forms.
const level1Set = new Set(level1);
const variantLines = [];
for (const c of level1) {
  const forms = new Set([c, toTraditional(c), ...parseCodePoints(unihan.traditionalVariant.get(c))]
    .filter(single));
  const found = new Set();
  for (const x of forms) {
    for (const v of parseCodePoints(unihan.zVariant.get(x))) found.add(v);
    for (const v of parseCodePoints(unihan.semanticVariant.get(x))) found.add(v);
    found.add(tToHK(x));
    found.add(tToTW(x));
  }
  found.add(cnToHK(c));
  found.add(cnToTW(c));
  const list = [...found].filter((v) => single(v) && !forms.has(v) && !level1Set.has(v)).sort(byCodePoint);
  if (list.length) variantLines.push(`${c}\t${list.join('')}`);
}
writeFileSync(join(here, '..', '..', 'tests', 'data', 'variant-forms.txt'), variantLines.join('\n') + '\n', 'utf8');
// The standard characters beyond the Basic Multilingual Plane: both
// dictionaries have rows for every one of them.
const beyondBmp = [...standardSet].filter((ch) => ch.length === 2).sort(byCodePoint);
writeFileSync(join(here, '..', '..', 'tests', 'data', 'standard-beyond-bmp.txt'), beyondBmp.join('') + '\n', 'utf8');
// The characters the 平水韵 table lists in an entering group: none of them may
// be coded level but the entries taken for slips of the table.
const entering = [...table.groupsOf].filter(([, gs]) => gs.some((g) => g >= 92)).map(([ch]) => ch);
writeFileSync(join(here, '..', '..', 'tests', 'data', 'entering-characters.txt'), entering.join('') + '\n', 'utf8');

const psWithVariants = addVariantRows(psRows);
// Big5 level 1 (the common traditional characters: 伕 啣 揹 搾 踫 …) that
// neither the rules above nor a variant link give a reading is grouped like
// the later characters.
stats.big5Later = 0;
const psHas = new Set(psWithVariants.rows.map((r) => r[0]));
for (const [ch, v] of [...unihan.big5].sort((a, b) => byCodePoint(a[0], b[0]))) {
  if (!isBig5Common(v) || !isRowChar(ch) || psHas.has(ch)) continue;
  const before = psWithVariants.rows.length;
  laterRows(ch, psWithVariants.rows);
  if (psWithVariants.rows.length > before) stats.big5Later += 1;
}
const psCount = writeTable(join(seedDir, '平水韵.tsv'), COLUMNS, psWithVariants.rows);
const nrCount = writeTable(join(seedDir, '中华新韵.tsv'), COLUMNS, nrRows);
console.log(`平水韵: ${psCount} rows, ${psDone.size} characters`
  + ` (${stats.guangyunChars} from 廣韻 with ${stats.notedReadings} readings from its notes,`
  + ` ${stats.variantResolved} through variant forms,`
  + ` ${stats.simplifiedAdded} simplified forms added,`
  + ` ${stats.simplifiedGained} 廣韻 characters gained readings from traditional forms,`
  + ` ${stats.traditionalGained} traditional forms from their simplified forms,`
  + ` ${stats.handDropped} unused readings left out and ${stats.handAdded} added by hand,`
  + ` ${stats.byPhonetic} later characters grouped by their phonetic series and ${stats.bySound} by their syllable,`
  + ` ${stats.fallback} without a group, ${stats.fallbackSkipped} skipped without a tone;`
  + ` ${stats.byUsage} with several groups ordered by their rhymes in Tang verse);`
  + ` correspondence learnt from ${stats.trainingSize} characters`);
console.log(`平水韵 table: ${stats.table.chars} characters (${stats.table.added} not in 廣韻 or its simplified forms);`
  + ` ${stats.table.unbacked} of its entries without a reading of 廣韻 behind them,`
  + ` ${stats.table.slips} taken for slips; ${stats.table.dropped} readings of 廣韻 outside the table left out,`
  + ` ${stats.table.kept} kept as Tang verse rhymes them; ${stats.table.traditional} traditional forms read through their simplified ones`);
console.log(`中华新韵: ${nrCount} rows, ${nrEntries.length + nrStats.variants} characters (${nrSkipped} skipped without a reading,`
  + ` ${nrNeutral} shown by their neutral-tone reading, ${nrNasal} nasal interjections;`
  + ` ${nrStats.traditional} traditional forms read as their simplified form, ${nrStats.narrowed} of them narrowed;`
  + ` ${nrStats.variants} variant forms)`);
console.log(`平水韵 variant forms: ${psWithVariants.added}; Big5 level 1 grouped like later characters: ${stats.big5Later}`);

// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the poetry library (诗词库) and its authors (作者) from the
// chinese-poetry corpus: 唐诗三百首 (the 320-poem edition), 千家诗 and
// 宋词三百首, converted to simplified characters and cleaned.
//
//   node library.mjs            writes ../seed/诗词库.tsv and ../seed/作者.tsv
//
// The 拼音 columns are left out: the program fills them with its own
// initials function when it creates the database.
import { createRequire } from 'node:module';
import { fileURLToPath } from 'node:url';
import { dirname, join } from 'node:path';
import { readdirSync, writeFileSync } from 'node:fs';
import * as OpenCC from 'opencc-js';
import { writeTable as writeTsv } from './lib/tsv.mjs';
import {
  AUTHOR_ALIASES, DYNASTY_OF, BIRTH_YEAR, DYNASTY_ORDER, TEXT_FIXES, TITLE_FIXES, TUNE_NAMES,
  EDITION_TEXTS, ONE_OF,
} from './library/authors.mjs';
import {
  t2s, PUNCT, CLAUSE_END, isHan, cleanLine, cleanTitle, bare, cleanLines, nearlyEqual,
} from './lib/clean.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const require = createRequire(import.meta.url);
const corpus = join(here, 'node_modules/chinese-poetry/dist');
const seedDir = join(here, '../seed');

const oddChars = new Map();
function noteOdd(where, text) {
  for (const ch of text) {
    if (isHan(ch) || PUNCT.includes(ch) || ch === '\r' || ch === '\n') continue;
    if (ch.codePointAt(0) > 0xffff) throw new Error(`character outside the BMP in ${where}: ${ch}`);
    oddChars.set(ch, (oddChars.get(ch) || 0) + 1);
    if (oddChars.get(ch) === 1) console.error(`odd character ${JSON.stringify(ch)} U+${ch.codePointAt(0).toString(16)} in ${where}`);
  }
}

function authorName(raw) {
  let name = t2s(raw).replace(/^（[^）]*）/, '').trim();
  return AUTHOR_ALIASES[name] || name;
}

function dynastyFromTag(raw) {
  const m = /^（([^）]*)）/.exec(t2s(raw));
  return m ? m[1] : null;
}

const poems = [];          // { title, author, text, source }
const byAuthor = new Map(); // author -> bare texts so far
const seen = new Map();    // author + bare text -> index in poems
const dynastyHint = new Map();
let dropped = 0;

// Second editions: 全唐诗 and 全宋诗 (the poems), 全宋词 (the ci, fullCi
// below), by author. The poem of an author that opens most like the given
// text (at least 60 % of its first 14 characters in place).
const OPENING = 14;
function openingLikeness(a, b) {
  const n = Math.min(OPENING, a.length, b.length);
  let same = 0;
  for (let i = 0; i < n; i++) if (a[i] === b[i]) same++;
  return same / Math.min(OPENING, a.length);
}
function bestEdition(b, candidates) {
  let best = null; let score = 0.6;
  for (const c of candidates) {
    const sc = openingLikeness(b, c.b) - Math.abs(c.b.length - b.length) / 1e6;
    if (sc >= score) { best = c; score = sc; }
  }
  return best;
}
const shiEditions = new Map();   // author -> [{ title, paragraphs, b }]
function loadShiEditions(authors) {
  const names = new Map();
  const dir = join(corpus, 'quantangshi');
  for (const f of readdirSync(dir).filter((f) => /^poet\.(tang|song)\.\d+\.json$/.test(f)).sort((a, b) => {
    const [, ka, na] = a.split('.'); const [, kb, nb] = b.split('.');
    return ka.localeCompare(kb) || Number(na) - Number(nb);
  })) {
    for (const q of require(join(dir, f))) {
      if (!names.has(q.author)) names.set(q.author, authorName(q.author));
      const author = names.get(q.author);
      if (!authors.has(author)) continue;
      if (!shiEditions.has(author)) shiEditions.set(author, []);
      const e = { title: q.title, paragraphs: q.paragraphs };
      Object.defineProperty(e, 'b', { get() { return this._b ??= bare(t2s(this.paragraphs.join(''))); } });
      shiEditions.get(author).push(e);
    }
  }
}
const completed = [];

function addPoem(source, rawTitle, rawAuthor, paragraphs) {
  const author = authorName(rawAuthor);
  const hint = dynastyFromTag(rawAuthor);
  if (hint && !dynastyHint.has(author)) dynastyHint.set(author, hint);
  let lines = cleanLines(paragraphs);
  let title = cleanTitle(rawTitle);
  const fixKey = `${author}|${title}`;
  if (TITLE_FIXES[fixKey]) title = TITLE_FIXES[fixKey];
  const poemKey = `${author}|${title}`;
  if (ONE_OF[poemKey]) {
    const at = lines.findIndex((l) => bare(l).startsWith(ONE_OF[poemKey]));
    const edition = bestEdition(ONE_OF[poemKey], shiEditions.get(author) || []);
    if (at < 0 || !edition) throw new Error(`ONE_OF does not apply: ${poemKey}`);
    lines = lines.slice(at, at + edition.paragraphs.length);
  }
  if (EDITION_TEXTS[poemKey]) {
    if (bare(EDITION_TEXTS[poemKey][0]).slice(0, 4) !== bare(lines[0]).slice(0, 4)) {
      throw new Error(`EDITION_TEXTS does not apply: ${poemKey}`);
    }
    lines = EDITION_TEXTS[poemKey];
  }
  // A poem the collection's file cuts short (赠卫八处士 holds 4 of its 12
  // couplets) is completed from the second edition: its text there begins
  // with the lines here and runs on for half as long again at least.
  if (source !== '宋词三百首') {
    const b = bare(lines.join(''));
    const e = bestEdition(b, shiEditions.get(author) || []);
    if (e && e.b.length >= 1.5 * b.length && nearlyEqual(e.b.slice(0, b.length), b)) {
      const more = cleanLines(e.paragraphs);
      const have = lines.length;
      if (bare(more.slice(0, have).join('')).length !== b.length) throw new Error(`cannot complete ${poemKey}`);
      lines = lines.concat(more.slice(have));
      completed.push(`${author}《${title}》${b.length}→${bare(lines.join('')).length}`);
    }
  }
  let text = lines.join('\r\n');
  for (const [from, to] of TEXT_FIXES[`${author}|${title}`] || []) {
    if (!text.includes(from)) throw new Error(`text fix not applicable: ${author} ${title} ${from}`);
    text = text.split(from).join(to);
  }
  // The same poem in two collections may differ in a character or two
  // (variant readings): the same author and the same opening, or the same
  // length with at most three characters different, make a duplicate.
  const b = bare(text);
  const key = `${author}\u0000${b.slice(0, 8)}`;
  const sameAuthor = byAuthor.get(author) || [];
  if (seen.has(key) || sameAuthor.some((other) => nearlyEqual(other, b))) { dropped++; return; }
  seen.set(key, poems.length);
  sameAuthor.push(b);
  byAuthor.set(author, sameAuthor);
  noteOdd(`${source} ${author} ${title}`, title + text);
  poems.push({ title, author, text, source });
}

// 唐诗三百首, in the order of the book (by form).
const tang = require(join(corpus, 'mengxue/tangshisanbaishou.json'));
const qjs = require(join(corpus, 'mengxue/qianjiashi.json'));
loadShiEditions(new Set([...tang.content, ...qjs.content].flatMap((g) => g.content.map((p) => authorName(p.author)))));
for (const group of tang.content) {
  for (const p of group.content) addPoem('唐诗三百首', p.chapter, p.author, p.paragraphs);
}
// 千家诗.
// A few entries hold several poems under one title ("其一", "其二").
for (const group of qjs.content) {
  for (const p of group.content) {
    if (typeof p.paragraphs[0] === 'string') { addPoem('千家诗', p.chapter, p.author, p.paragraphs); continue; }
    for (const part of p.paragraphs) addPoem('千家诗', `${p.chapter}·${part.subchapter}`, p.author, part.paragraphs);
  }
}
// 宋词三百首: the tune name and the first clause make the title. This file
// of the corpus lost its rarer characters (鹈鴂 became 鹈, the name 赵令畤
// became 赵令); the complete collection of Song ci still has them, so a poem
// is taken from there when its text there is the same but for a few
// characters more.
function isSubsequence(short, long) {
  let i = 0;
  for (const ch of long) if (i < short.length && ch === short[i]) i++;
  return i === short.length;
}
const fullCi = new Map();
for (const f of readdirSync(join(corpus, 'songci')).filter((f) => /^ci\.song\.\d+\.json$/.test(f))
  .sort((a, b) => Number(a.split('.')[2]) - Number(b.split('.')[2]))) {
  for (const q of require(join(corpus, 'songci', f))) {
    const b = bare(q.paragraphs.join(''));
    const k = b.slice(0, 2);
    if (!fullCi.has(k)) fullCi.set(k, []);
    fullCi.get(k).push({ q, b });
  }
}
let restored = 0;
const ci = require(join(corpus, 'songci/宋词三百首.json'));
for (const p of ci) {
  const b = bare(p.paragraphs.join(''));
  const candidates = (fullCi.get(b.slice(0, 2)) || []).filter(({ q, b: fb }) =>
    fb.length > b.length && fb.length <= b.length + 4 && isSubsequence(b, fb)
    && (q.author === p.author || q.author.startsWith(p.author)));
  candidates.sort((x, y) => (x.q.author !== p.author) - (y.q.author !== p.author));
  let src = p;
  if (candidates.length) { src = { ...candidates[0].q }; restored++; }
  const tuneText = cleanTitle(src.rhythmic.length >= p.rhythmic.length ? src.rhythmic : p.rhythmic);
  const tune = TUNE_NAMES[tuneText] || tuneText.split('·').pop();
  const first = cleanLine(src.paragraphs[0]).split(CLAUSE_END)[0];
  addPoem('宋词三百首', `${tune}·${first}`, src.author, src.paragraphs);
}

// Famous ci this edition of 宋词三百首 lacks, taken from the complete
// collection by author and first clause; they follow the 300.
const SUPPLEMENT_CI = [
  ['苏轼', '大江东去'], ['苏轼', '老夫聊发少年狂'], ['范仲淹', '塞下秋来风景异'],
  ['秦观', '纤云弄巧'], ['李清照', '昨夜雨疏风骤'], ['李清照', '常记溪亭日暮'],
  ['李清照', '红藕香残玉簟秋', '一剪梅'], ['陆游', '红酥手', '钗头凤'], ['陆游', '驿外断桥边'],
  ['辛弃疾', '明月别枝惊鹊'], ['辛弃疾', '醉里挑灯看剑'], ['辛弃疾', '更能消几番风雨'],
];
let supplemented = 0;
for (const [author, opening, usualTune] of SUPPLEMENT_CI) {
  const found = (fullCi.get(opening.slice(0, 2)) || [])
    .filter(({ q }) => q.author === author && bare(cleanLine(q.paragraphs[0])).startsWith(opening));
  if (found.length === 0) throw new Error(`supplement not found: ${author} ${opening}`);
  const q = found[0].q;
  const tune = usualTune || cleanTitle(q.rhythmic).split('·').pop();
  const first = cleanLine(q.paragraphs[0]).split(CLAUSE_END)[0];
  const before = poems.length;
  addPoem('宋词三百首', `${tune}·${first}`, q.author, q.paragraphs);
  if (poems.length > before) supplemented++;
}

// Every poem against its second edition: the lengths that differ.
const editionReport = { checked: 0, differ: [], positions: [] };
for (const p of poems) {
  const b = bare(p.text);
  const candidates = p.source === '宋词三百首'
    ? (fullCi.get(b.slice(0, 2)) || []).filter(({ q }) => authorName(q.author) === p.author)
    : shiEditions.get(p.author) || [];
  const e = bestEdition(b, candidates);
  if (!e) continue;
  editionReport.checked++;
  if (e.b.length !== b.length) editionReport.differ.push({ p, n: b.length, other: e.b.length });
  else if (p.source === '宋词三百首') {
    // Same length: the positions where the library ci and 全宋词 read differently.
    const theirs = [...e.b];
    [...b].forEach((ch, i) => {
      if (ch !== theirs[i]) editionReport.positions.push({ p, i, ours: ch, other: theirs[i] });
    });
  }
}

// Authors: one row per name used by the library.
function chineseNumber(s) {
  const digits = { '〇': 0, '○': 0, '零': 0, '一': 1, '二': 2, '三': 3, '四': 4, '五': 5, '六': 6, '七': 7, '八': 8, '九': 9 };
  if (/^\d+$/.test(s)) return Number(s);
  let n = 0;
  for (const ch of s) {
    if (!(ch in digits)) return null;
    n = n * 10 + digits[ch];
  }
  return n;
}

// "(1037-1101)", "（约 1212-1272）", "（一○三七～一一○一）", "前" for BC.
function birthFromDescription(desc) {
  const m = /^[^（(]{0,16}[（(]\s*(公元)?(前)?\s*(约)?\s*([0-9〇○零一二三四五六七八九]{2,4})\s*[?？]?\s*(年)?\s*[-—―－~～]/.exec(desc);
  if (!m) return null;
  const n = chineseNumber(m[4]);
  if (n === null) return null;
  return m[2] ? -n : n;
}

const descYear = new Map();
for (const a of require(join(corpus, 'songci/author.song.json'))) {
  const y = birthFromDescription(a.description.replace(/^--/, '').replace(/^[^：:]{1,6}[：:]/, ''));
  if (y !== null && !descYear.has(a.name)) descYear.set(a.name, y);
}
for (const a of require(join(corpus, 'quantangshi/authors.song.json'))) {
  const name = t2s(a.name);
  const y = birthFromDescription(t2s(a.desc).replace(new RegExp('^' + name), ''));
  if (y !== null && !descYear.has(name)) descYear.set(name, y);
}

const authorOrder = [];
const firstSource = new Map();
for (const p of poems) {
  if (!firstSource.has(p.author)) { firstSource.set(p.author, p.source); authorOrder.push(p.author); }
}

const authors = authorOrder.map((name, index) => {
  const source = firstSource.get(name);
  const dynasty = DYNASTY_OF[name] || dynastyHint.get(name) || (source === '唐诗三百首' ? '唐' : '宋');
  let year = null;
  let from = 'none';
  if (Object.prototype.hasOwnProperty.call(BIRTH_YEAR, name)) { year = BIRTH_YEAR[name]; from = 'table'; }
  else if (descYear.has(name)) { year = descYear.get(name); from = 'corpus'; }
  return { name, dynasty, year, from, index };
});

const rank = (d) => { const i = DYNASTY_ORDER.indexOf(d); if (i < 0) throw new Error(`unknown dynasty ${d}`); return i; };
authors.sort((a, b) => rank(a.dynasty) - rank(b.dynasty)
  || (a.year === null) - (b.year === null)
  || (a.year ?? 0) - (b.year ?? 0)
  || a.index - b.index);

const order = ['唐诗三百首', '千家诗', '宋词三百首'];
const counts = Object.fromEntries(order.map((s) => [s, poems.filter((p) => p.source === s).length]));
writeTsv(join(seedDir, '诗词库.tsv'), ['标题', '作者', '正文'], poems.map((p) => [p.title, p.author, p.text]));
writeTsv(join(seedDir, '作者.tsv'), ['姓名', '朝代', '年代'], authors.map((a) => [a.name, a.dynasty, a.year === null ? '' : String(a.year)]));

if (process.env.LIBRARY_VERBOSE) {
  for (const a of authors) console.error(`${a.dynasty}\t${a.name}\t${a.year ?? ''}\t${a.from}`);
}
console.log(`诗词库: ${poems.length} poems (${order.map((s) => `${s} ${counts[s]}`).join(', ')}; ${dropped} duplicates dropped)`);
console.log(`宋词三百首: ${restored} poems completed from the full collection, ${supplemented} famous ci added`);
console.log(`作者: ${authors.length} authors (${authors.filter((a) => a.year !== null).length} with a year)`);
console.log(`completed from the second edition: ${completed.join(', ') || 'none'}`);
const far = editionReport.differ.filter((d) => Math.abs(d.n - d.other) > 0.1 * d.other);
console.log(`second editions: ${editionReport.checked} of ${poems.length} poems found there,`
  + ` ${editionReport.differ.length} of another length, ${far.length} by more than a tenth:`
  + ` ${far.map((d) => `${d.p.author}《${d.p.title}》${d.n}/${d.other}`).join(', ') || 'none'}`);
console.log(`宋词三百首 against 全宋词: ${editionReport.positions.length} positions read differently in`
  + ` ${new Set(editionReport.positions.map((d) => d.p)).size} ci of the same length`);
if (process.env.LIBRARY_VERBOSE) {
  for (const d of editionReport.differ) console.error(`${d.p.source}\t${d.p.author}\t${d.p.title}\t${d.n}\t${d.other}`);
  for (const d of editionReport.positions) console.error(`位\t${d.p.author}\t${d.p.title}\t${d.i + 1}\t${d.ours}\t${d.other}`);
}

// For the data tests: the library typed in traditional characters. Every
// poem is converted with OpenCC s2t (phrases included); where the text keeps
// its length, each character that changes gives a pair. The list holds the
// pairs with their counts and, first, the number of Chinese characters the
// converted poems hold, so a test can tell how many marks change with the
// script: "# characters N", then "simplified<TAB>traditional<TAB>count".
{
  const s2t = OpenCC.Converter({ from: 'cn', to: 't' });
  const pairs = new Map();
  let characters = 0;
  for (const p of poems) {
    const simplified = [...p.text];
    const traditional = [...s2t(p.text)];
    if (simplified.length !== traditional.length) continue;
    simplified.forEach((s, i) => {
      if (!isHan(s)) return;
      characters += 1;
      if (traditional[i] === s) return;
      const key = `${s}\t${traditional[i]}`;
      pairs.set(key, (pairs.get(key) || 0) + 1);
    });
  }
  const lines = [...pairs].sort((a, b) => (a[0] < b[0] ? -1 : a[0] > b[0] ? 1 : 0)).map(([k, n]) => `${k}\t${n}`);
  writeFileSync(join(here, '..', '..', 'tests', 'data', 'library-traditional-pairs.txt'),
    [`# characters ${characters}`, ...lines].join('\n') + '\n', 'utf8');
  console.log(`library in traditional characters: ${characters} characters, ${lines.length} pairs that differ`);
}

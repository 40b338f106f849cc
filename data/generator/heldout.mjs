// SPDX-License-Identifier: GPL-3.0-or-later
// Draws a random sample of poems the program has never seen, for measuring
// the diagnostics on more than the library: regulated-shape poems of 全唐诗
// and ci of 全宋词 under a tune the pattern books know, none of them in the
// library (data/seed/诗词库.tsv).
//
//   node heldout.mjs DIR [--seed N] [--poems N] [--ci N]
//
// writes DIR/全唐诗.txt and DIR/全宋词.txt in the form `versilo-check --split`
// reads: poems separated by a blank line, each opened by a title line
// "# title·author" (全唐诗) or "# tune·author" (全宋词; where the corpus gives
// two names of the tune, "# name/name·author"), so the tune the corpus names
// can be read back. The same seed and the pinned corpus give the same files.
import { createRequire } from 'node:module';
import { fileURLToPath } from 'node:url';
import { dirname, join } from 'node:path';
import { mkdirSync, readFileSync, readdirSync, writeFileSync } from 'node:fs';
import { tangPoemFiles, regulatedLines } from './lib/usage.mjs';
import { bare, cleanLines, cleanTitle, nearlyEqual, isHan } from './lib/clean.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const require = createRequire(import.meta.url);
const corpus = join(here, 'node_modules/chinese-poetry/dist');
const seedDir = join(here, '../seed');

function usage(message) {
  if (message) console.error(`heldout.mjs: ${message}`);
  console.error('usage: node heldout.mjs DIR [--seed N] [--poems N] [--ci N]');
  process.exit(2);
}

const options = { seed: 18, poems: 600, ci: 300 };
let outDir = null;
for (let i = 2; i < process.argv.length; i++) {
  const a = process.argv[i];
  const key = a.replace(/^--/, '');
  if (a.startsWith('--') && key in options) {
    const v = Number(process.argv[++i]);
    if (!Number.isInteger(v) || v < 0) usage(`${a} takes a whole number`);
    options[key] = v;
  } else if (a.startsWith('--') || outDir !== null) {
    usage(`unexpected argument ${a}`);
  } else {
    outDir = a;
  }
}
if (outDir === null) usage('no output folder');

// mulberry32: a small seeded generator, so a seed gives the same sample on
// every machine.
function generator(seed) {
  let a = seed >>> 0;
  return () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

// The first n of a seeded shuffle (Fisher-Yates, only as far as needed).
function sample(items, n, random) {
  const a = items.slice();
  const k = Math.min(n, a.length);
  for (let i = 0; i < k; i++) {
    const j = i + Math.floor(random() * (a.length - i));
    [a[i], a[j]] = [a[j], a[i]];
  }
  return a.slice(0, k);
}

// Seed tables: a header line, backslash escapes.
function readSeed(name) {
  const lines = readFileSync(join(seedDir, name), 'utf8').split('\n').filter((l) => l.length > 0);
  const columns = lines[0].split('\t');
  const unescape = (f) => f.replace(/\\(.)/g, (_, c) => ({ t: '\t', n: '\n', r: '\r', '\\': '\\' }[c] ?? c));
  return lines.slice(1).map((l) => Object.fromEntries(l.split('\t').map((f, i) => [columns[i], unescape(f)])));
}

// The library, as bare texts: a poem is known when its text is the same as
// a library poem's, or of the same length with at most three characters
// different (a variant reading), or opens with the same ten characters.
const OPENING = 10;
const library = readSeed('诗词库.tsv').map((r) => bare(r['正文']));
const libraryTexts = new Set(library);
const libraryOpenings = new Set(library.map((b) => b.slice(0, OPENING)));
const libraryByLength = new Map();
for (const b of library) {
  if (!libraryByLength.has(b.length)) libraryByLength.set(b.length, []);
  libraryByLength.get(b.length).push(b);
}
function inLibrary(b) {
  return libraryTexts.has(b) || libraryOpenings.has(b.slice(0, OPENING))
    || (libraryByLength.get(b.length) || []).some((other) => nearlyEqual(other, b));
}

// Only Chinese characters and clause punctuation: a text with a lost
// character (□), a quotation or a note mark left over is not taken.
const CLAUSE_MARKS = '，。！？；：、';
function clean(text) {
  return [...text].every((ch) => isHan(ch) || CLAUSE_MARKS.includes(ch) || ch === '\n')
    && [...text].every((ch) => ch.codePointAt(0) <= 0xffff);
}

// ---- 全唐诗: poems of regulated shape ----------------------------------------------

// One couplet a line, as the library prints poems.
function couplets(text) {
  const clauses = text.replace(/\n/g, '').match(/[^，。！？；：、]+[，。！？；：、]/g) || [];
  const out = [];
  for (let i = 0; i + 1 < clauses.length; i += 2) out.push(clauses[i] + clauses[i + 1].replace(/[，、；：]$/, '。'));
  return out;
}

const tang = [];
const seen = new Set();
let tangKnown = 0;
for (const file of tangPoemFiles()) {
  for (const q of require(file)) {
    const paragraphs = cleanLines(q.paragraphs);
    const text = paragraphs.join('\n');
    if (!clean(text) || /[，。！？；：、]{2}/.test(text) || !/[。！？]$/.test(text)) continue;
    if (!regulatedLines(paragraphs)) continue;
    const b = bare(text);
    if (seen.has(b)) continue;
    seen.add(b);
    if (inLibrary(b)) { tangKnown++; continue; }
    tang.push({ title: cleanTitle(q.title), author: cleanTitle(q.author), lines: couplets(text) });
  }
}

// ---- 全宋词: ci under a known tune -------------------------------------------------

// Tune names of the three books, with the other names 钦定词谱 gives, and the
// numbers of characters of the tune's forms there (a fragment of a ci, far
// shorter than every form, is not taken).
const tuneNames = new Set();
const lengths = new Map();   // a name -> number of characters of each form
for (const r of readSeed('常用词谱.tsv')) tuneNames.add(r['篇名']);
for (const r of readSeed('白香词谱.tsv')) tuneNames.add(r['篇名']);
for (const r of readSeed('钦定词谱.tsv')) {
  const names = [r['词牌'], ...r['别名'].split('、').filter(Boolean)];
  for (const name of names) {
    tuneNames.add(name);
    if (!lengths.has(name)) lengths.set(name, []);
    lengths.get(name).push(Number(r['字数']));
  }
}
function wholeCi(names, n) {
  const forms = names.flatMap((name) => lengths.get(name) || []);
  if (forms.length === 0) return true;
  return n >= 0.9 * Math.min(...forms) && n <= 1.1 * Math.max(...forms);
}

const songci = [];
let ciKnown = 0;
let ciFragments = 0;
const ciFiles = readdirSync(join(corpus, 'songci')).filter((f) => /^ci\.song\.\d+\.json$/.test(f))
  .sort((a, b) => Number(a.split('.')[2]) - Number(b.split('.')[2]));
for (const f of ciFiles) {
  for (const q of require(join(corpus, 'songci', f))) {
    const names = cleanTitle(q.rhythmic).split('·').filter((name) => tuneNames.has(name));
    if (names.length === 0) continue;
    const lines = cleanLines(q.paragraphs);
    const text = lines.join('\n');
    if (!clean(text) || !/[。！？]$/.test(text)) continue;
    const b = bare(text);
    if (seen.has(b)) continue;
    seen.add(b);
    if (inLibrary(b)) { ciKnown++; continue; }
    if (!wholeCi(names, b.length)) { ciFragments++; continue; }
    songci.push({ title: names.join('/'), author: cleanTitle(q.author), lines });
  }
}

// ---- the sample ------------------------------------------------------------------------

const random = generator(options.seed);
const poems = sample(tang, options.poems, random);
const ci = sample(songci, options.ci, random);
const write = (name, items) => {
  const body = items.map((p) => [`# ${p.title}·${p.author}`, ...p.lines].join('\n')).join('\n\n') + '\n';
  writeFileSync(join(outDir, name), body, 'utf8');
};
mkdirSync(outDir, { recursive: true });
write('全唐诗.txt', poems);
write('全宋词.txt', ci);
console.log(`全唐诗: ${poems.length} of ${tang.length} poems of regulated shape outside the library`
  + ` (${tangKnown} in the library left out)`);
console.log(`全宋词: ${ci.length} of ${songci.length} ci under a known tune outside the library`
  + ` (${ciKnown} in the library, ${ciFragments} fragments left out)`);
console.log(`seed ${options.seed} -> ${join(outDir, '全唐诗.txt')}, ${join(outDir, '全宋词.txt')}`);

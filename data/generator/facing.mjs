// SPDX-License-Identifier: GPL-3.0-or-later
// Builds ../seed/对仗字对.tsv: how Song poets faced characters in the middle
// couplets of their 律诗, so the program can hear the poets beside the word
// classes of 对仗词类 when it judges a couplet.
//
// Source: chinese-poetry's 全宋诗 (poet.song.*.json). Only Song poems are
// read, so the Tang poems the judge is measured on (the library and samples
// of 全唐诗) stay unseen; a Song poem with two or more lines of the library
// is passed by as well. A poem counts when it has eight lines of five or
// seven characters and rhymes on level tones (the ends of lines 2, 4, 6 and
// 8 all have a level reading in 平水韵). Of each, the 颔联 and 颈联 are read:
// the characters standing at one place in the two lines face each other.
//
// Columns:
// - 字: a character (simplified).
// - 次数: how often it stands in those couplets (either line).
// - 对字: the characters it faces more often than chance would put them
//   together (pointwise mutual information at least MIN_PMI, seen at least
//   MIN_PAIR times), most faced first, at most MAX_PARTNERS of them, each as
//   character and count ("风12 日9 …"). A pair is listed under both its
//   characters.
// A character seen fewer than MIN_CHAR times is left out: the judge says
// nothing of it from this table.
//
// Run: cd data/generator && npm ci && node facing.mjs. Deterministic.
import { readFileSync, readdirSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import * as OpenCC from 'opencc-js';

import { writeTable } from './lib/tsv.mjs';
import { regulatedLines } from './lib/usage.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const require = createRequire(import.meta.url);
const seedDir = join(here, '..', 'seed');
const MIN_CHAR = 20;
const MIN_PAIR = 3;
const MIN_PMI = 1.0;
const MAX_PARTNERS = 24;

function readSeed(name) {
  const [head, ...lines] = readFileSync(join(seedDir, name), 'utf8').split('\n').filter(Boolean);
  const cols = head.split('\t');
  return lines.map((l) => Object.fromEntries(l.split('\t').map((v, i) => [cols[i], v])));
}

const t2s = OpenCC.Converter({ from: 't', to: 'cn' });

// Characters with a level reading in 平水韵 (平仄 0 level, 2 both).
const level = new Set();
for (const r of readSeed('平水韵.tsv')) if (r['平仄'] === '0' || r['平仄'] === '2') level.add(r['汉字']);

// The library's lines, to leave its poems out.
const libraryLines = new Set();
for (const r of readSeed('诗词库.tsv')) {
  for (const l of r['正文'].replace(/\\[rn]/g, '\n').split(/[，。？！；：、\s]+/)) {
    if ([...l].length >= 5) libraryLines.add(l);
  }
}

const dir = join(dirname(require.resolve('chinese-poetry/package.json')), 'dist', 'quantangshi');
const files = readdirSync(dir)
  .filter((f) => /^poet\.song\.\d+\.json$/.test(f))
  .sort((a, b) => Number(a.split('.')[2]) - Number(b.split('.')[2]));

const charCount = new Map();
const pairCount = new Map();   // "ab" with a < b
const bump = (m, k) => m.set(k, (m.get(k) || 0) + 1);
let poems = 0;
let skipped = 0;
let positions = 0;
const han = /^\p{Script=Han}$/u;
for (const f of files) {
  for (const poem of JSON.parse(readFileSync(join(dir, f), 'utf8'))) {
    const raw = regulatedLines(poem.paragraphs || []);
    if (!raw || raw.length !== 8) continue;
    const lines = raw.map((l) => [...t2s(l)]);
    if (![1, 3, 5, 7].every((i) => level.has(lines[i][lines[i].length - 1]))) continue;
    if (lines.filter((l) => libraryLines.has(l.join(''))).length >= 2) { skipped++; continue; }
    poems++;
    for (const i of [2, 4]) {
      const a = lines[i];
      const b = lines[i + 1];
      for (let k = 0; k < a.length; k++) {
        if (!han.test(a[k]) || !han.test(b[k])) continue;
        bump(charCount, a[k]);
        bump(charCount, b[k]);
        positions++;
        if (a[k] !== b[k]) bump(pairCount, a[k] < b[k] ? a[k] + b[k] : b[k] + a[k]);
      }
    }
  }
}

// Pointwise mutual information of a pair against the characters' counts:
// log2(P(a,b) / (P(a) P(b))), a pair drawn from the facing places.
const total = 2 * positions;
const partners = new Map();
for (const [key, n] of pairCount) {
  if (n < MIN_PAIR) continue;
  const [a, b] = [...key];
  const ca = charCount.get(a);
  const cb = charCount.get(b);
  if (ca < MIN_CHAR || cb < MIN_CHAR) continue;
  const pmi = Math.log2((n * total) / (ca * cb) / 2);
  if (pmi < MIN_PMI) continue;
  for (const [x, y] of [[a, b], [b, a]]) {
    if (!partners.has(x)) partners.set(x, []);
    partners.get(x).push([y, n]);
  }
}

const rows = [...charCount]
  .filter(([, n]) => n >= MIN_CHAR)
  .sort(([a], [b]) => (a < b ? -1 : a > b ? 1 : 0))
  .map(([c, n]) => {
    const list = (partners.get(c) || [])
      .sort((p, q) => q[1] - p[1] || (p[0] < q[0] ? -1 : 1))
      .slice(0, MAX_PARTNERS);
    return [c, String(n), list.map(([y, m]) => y + m).join(' ')];
  });
const n = writeTable(join(seedDir, '对仗字对.tsv'), ['字', '次数', '对字'], rows);
console.log(`对仗字对.tsv: ${n} characters from ${poems} Song 律诗 (${skipped} of the library left out),`
  + ` ${rows.reduce((s, r) => s + (r[2] ? r[2].split(' ').length : 0), 0)} partners`);

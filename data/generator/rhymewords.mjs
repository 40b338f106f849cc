// SPDX-License-Identifier: GPL-3.0-or-later
// Builds ../seed/韵字频次.tsv: how often Tang and Song poets rhymed each
// character, per rhyme group of both systems, so the program can offer the
// rhyme words of a group most used first.
//
// The corpus is chinese-poetry's 全唐诗 and 全宋诗 (poet.tang.*, poet.song.*),
// poems of regulated shape only (lib/usage.mjs). The rhyme characters of a
// poem are the ends of its even lines, and the end of its first line when it
// shares their group. A poem counts when its rhyme characters have exactly
// one 平水韵 group in common (read from ../seed/平水韵.tsv, which rhymes.mjs
// writes first); each of them then counts once under that group. For 中华新韵
// the same poems are used: a character counts under the 中华新韵 group most
// of the poem's rhymes share when it has that group, else under its only
// group; a character of several groups none of which is the poem's is left
// out. Each count is kept with the tone of the rhyme (0 level, 1 oblique: the
// tone most rows of the 平水韵 group have), since a character of both tones
// in a 中华新韵 group was rhymed in one of them. Characters are counted in
// their simplified form.
import { fileURLToPath } from 'node:url';
import { readFileSync, readdirSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, join } from 'node:path';
import * as OpenCC from 'opencc-js';

import { writeTable } from './lib/tsv.mjs';
import { regulatedLines } from './lib/usage.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const seedDir = join(here, '..', 'seed');
const require = createRequire(import.meta.url);
const toSimplified = OpenCC.Converter({ from: 't', to: 'cn' });

// Level and oblique rows of each 平水韵 group (filled while reading it).
const toneRows = new Map();

// char -> Set of group numbers, from a rhyme dictionary of the seed.
function readGroups(table) {
  const lines = readFileSync(join(seedDir, `${table}.tsv`), 'utf8').split('\n');
  const head = lines[0].split('\t');
  const han = head.indexOf('汉字');
  const group = head.indexOf('韵调');
  if (han < 0 || group < 0) throw new Error(`${table}.tsv: columns 汉字 and 韵调 expected`);
  const tone = head.indexOf('平仄');
  const out = new Map();
  for (const line of lines.slice(1)) {
    if (!line) continue;
    const f = line.split('\t');
    const g = Number(f[group]);
    if (!Number.isInteger(g) || g <= 0) continue;
    if (f[tone] === '0' || f[tone] === '1') {
      if (!toneRows.has(g)) toneRows.set(g, [0, 0]);
      toneRows.get(g)[Number(f[tone])] += 1;
    }
    if (!out.has(f[han])) out.set(f[han], new Set());
    out.get(f[han]).add(g);
  }
  return out;
}

function corpusFiles() {
  const dir = join(dirname(require.resolve('chinese-poetry/package.json')), 'dist', 'quantangshi');
  const number = (f) => Number(f.split('.')[2]);
  return readdirSync(dir)
    .filter((f) => /^poet\.(tang|song)\.\d+\.json$/.test(f))
    .sort((a, b) => a.split('.')[1].localeCompare(b.split('.')[1]) || number(a) - number(b))
    .map((f) => join(dir, f));
}

const pingshui = readGroups('平水韵');
const groupTone = new Map([...toneRows].map(([g, [level, oblique]]) => [g, level >= oblique ? 0 : 1]));
toneRows.clear();
const xinyun = readGroups('中华新韵');
const none = new Set();
const counts = { 平水韵: new Map(), 中华新韵: new Map() };   // "group|tone|char" -> n
let tone = 0;
const add = (system, g, ch) => {
  const key = `${g}|${tone}|${ch}`;
  counts[system].set(key, (counts[system].get(key) || 0) + 1);
};

let poems = 0;
let counted = 0;
for (const file of corpusFiles()) {
  for (const poem of JSON.parse(readFileSync(file, 'utf8'))) {
    const lines = regulatedLines(poem.paragraphs || []);
    if (!lines) continue;
    poems += 1;
    const simple = (l) => toSimplified([...l].pop());
    const ends = lines.filter((_, i) => i % 2 === 1).map(simple);
    let common = null;
    for (const c of ends) {
      const gs = pingshui.get(c) || none;
      common = common === null ? [...gs] : common.filter((g) => gs.has(g));
      if (common.length === 0) break;
    }
    if (!common || common.length !== 1) continue;
    counted += 1;
    const group = common[0];
    tone = groupTone.get(group) ?? 0;
    const first = simple(lines[0]);
    const rhymes = (pingshui.get(first) || none).has(group) ? [first, ...ends] : ends;
    const chars = [...new Set(rhymes)];
    for (const c of chars) add('平水韵', group, c);

    const tally = new Map();
    for (const c of chars) for (const g of xinyun.get(c) || none) tally.set(g, (tally.get(g) || 0) + 1);
    let mode = 0;
    for (const [g, n] of tally) if (n > (tally.get(mode) || 0) || (n === tally.get(mode) && g < mode)) mode = g;
    for (const c of chars) {
      const gs = xinyun.get(c) || none;
      if (gs.has(mode)) add('中华新韵', mode, c);
      else if (gs.size === 1) add('中华新韵', [...gs][0], c);
    }
  }
}

const rows = [];
for (const system of ['平水韵', '中华新韵']) {
  const list = [...counts[system]].map(([key, n]) => {
    const [g, t, ch] = key.split('|');
    return [system, Number(g), Number(t), ch, n];
  });
  list.sort((a, b) => a[1] - b[1] || a[2] - b[2] || b[4] - a[4] || a[3].codePointAt(0) - b[3].codePointAt(0));
  rows.push(...list);
}
const n = writeTable(join(seedDir, '韵字频次.tsv'), ['韵书', '韵调', '平仄', '汉字', '次数'], rows);
console.log(`韵字频次.tsv: ${n} rows from ${counted} rhyming poems of ${poems} of regulated shape`);

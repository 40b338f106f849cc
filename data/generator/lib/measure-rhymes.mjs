// SPDX-License-Identifier: GPL-3.0-or-later
// Measures how well the order of the 平水韵 rows names rhymes: in the 8-line
// poems of 全唐诗 with lines of equal length, how often the four rhyme
// characters (ends of lines 2 4 6 8) show one and the same group (the group of
// their last row), and how often they have some group in common at all.
//   node lib/measure-rhymes.mjs                     all files
//   USAGE_FILES=even node rhymes.mjs && ODD=1 node lib/measure-rhymes.mjs
//     (counts from the even-numbered files, measured on the odd-numbered ones)
//   USAGE_FILES=none node rhymes.mjs && ODD=1 node lib/measure-rhymes.mjs
//     (the Mandarin rule alone)
// Run node rhymes.mjs again afterwards.
import { readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import { dirname, join } from 'node:path';
import { tangPoemFiles, regulatedLines } from './usage.mjs';

const seed = join(dirname(fileURLToPath(import.meta.url)), '..', '..', 'seed', '平水韵.tsv');
const groups = new Map();
for (const line of readFileSync(seed, 'utf8').trim().split('\n').slice(1)) {
  const [ch, , group] = line.split('\t');
  if (!groups.has(ch)) groups.set(ch, []);
  if (group !== '\\N') groups.get(ch).push(group);
}
const odd = process.env.ODD ? (f) => Number(f.split('.')[2]) % 2000 === 1000 : () => true;
let poems = 0; let shown = 0; let possible = 0;
for (const file of tangPoemFiles(odd)) {
  for (const poem of JSON.parse(readFileSync(file, 'utf8'))) {
    const lines = regulatedLines(poem.paragraphs || []);
    if (!lines || lines.length !== 8) continue;
    const gs = [1, 3, 5, 7].map((i) => groups.get([...lines[i]].pop()) || []);
    if (gs.some((g) => g.length === 0)) continue;
    poems += 1;
    const last = gs.map((g) => g[g.length - 1]);
    if (last.every((g) => g === last[0])) shown += 1;
    if (gs.reduce((a, g) => a.filter((x) => g.includes(x)), gs[0]).length) possible += 1;
  }
}
const pct = (n) => `${((n / poems) * 100).toFixed(1)} %`;
console.log(`${poems} poems: one shown group ${pct(shown)}, a common group at all ${pct(possible)}`);

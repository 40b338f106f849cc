// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the tone codes of 平水韵 against Tang regulated verse: in 8-line
// poems of equal 5- or 7-character lines, the 2nd and 4th characters of a
// 五言 line (4th and 6th of a 七言 line) must differ in tone. Counts the lines
// where both characters have a single tone ("0" or "1") and how many differ,
// and lists characters that break the rule in more than a quarter of their
// (at least 30) appearances there — candidates for a missing reading.
//   node lib/measure-tones.mjs
import { readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import { dirname, join } from 'node:path';
import { tangPoemFiles, regulatedLines } from './usage.mjs';

const seed = join(dirname(fileURLToPath(import.meta.url)), '..', '..', 'seed', '平水韵.tsv');
const tone = new Map();
for (const line of readFileSync(seed, 'utf8').trim().split('\n').slice(1)) {
  const [ch, code] = line.split('\t');
  tone.set(ch, code);
}
let differ = 0; let lines = 0;
const broken = new Map(); const seen = new Map();
const add = (m, c) => m.set(c, (m.get(c) || 0) + 1);
for (const file of tangPoemFiles()) {
  for (const poem of JSON.parse(readFileSync(file, 'utf8'))) {
    const verse = regulatedLines(poem.paragraphs || []);
    if (!verse || verse.length !== 8) continue;
    for (const l of verse) {
      const cs = [...l];
      const a = cs[cs.length - 4]; const b = cs[cs.length - 2];
      const ta = tone.get(a); const tb = tone.get(b);
      if (!['0', '1'].includes(ta) || !['0', '1'].includes(tb)) continue;
      lines += 1;
      if (ta !== tb) differ += 1; else { add(broken, a); add(broken, b); }
      add(seen, a); add(seen, b);
    }
  }
}
console.log(`${lines} lines: the two tone positions differ in ${((differ / lines) * 100).toFixed(2)} %`);
const suspects = [...broken].filter(([c, n]) => seen.get(c) >= 30 && n / seen.get(c) > 0.25)
  .sort((x, y) => y[1] / seen.get(y[0]) - x[1] / seen.get(x[0]));
console.log(suspects.map(([c, n]) => `${c}(${tone.get(c)}) ${n}/${seen.get(c)}`).join('  '));

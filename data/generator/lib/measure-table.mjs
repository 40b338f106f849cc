// SPDX-License-Identifier: GPL-3.0-or-later
// Holds data/seed/平水韵.tsv (or the one in the folder given) against the
// 平水韵 table: for the 3,500 common characters (level 1 of the standard
// list) the table lists, how often the tone code and the group shown agree
// with it; how many characters the table lists in an entering group are coded
// level; how many common characters have no group.
//   node lib/measure-table.mjs [seed folder]
import { readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import { dirname, join } from 'node:path';
import { loadPingshuiTable } from './pingshui-table.mjs';
import { isLevelGroup } from './pingshui.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const seed = process.argv[2] || join(here, '..', '..', 'seed');
const common = [...readFileSync(join(here, '..', '..', '..', 'tests', 'data', 'level1-characters.txt'), 'utf8').trim()];
const { groupsOf } = loadPingshuiTable();

const tone = new Map(); const shown = new Map();
for (const line of readFileSync(join(seed, '平水韵.tsv'), 'utf8').split('\n').slice(1)) {
  if (!line) continue;
  const [ch, t, g] = line.split('\t');
  tone.set(ch, t);
  if (g !== '\\N' && g !== '') shown.set(ch, Number(g));
}
const codeOf = (groups) => {
  const level = groups.some(isLevelGroup); const oblique = groups.some((g) => !isLevelGroup(g));
  return level && oblique ? '2' : level ? '0' : '1';
};
let listed = 0; let sameCode = 0; let sameGroup = 0;
for (const ch of common) {
  const groups = groupsOf.get(ch);
  if (!groups) continue;
  listed += 1;
  if (tone.get(ch) === codeOf(groups)) sameCode += 1;
  if (groups.includes(shown.get(ch))) sameGroup += 1;
}
const entering = [...groupsOf].filter(([, gs]) => gs.some((g) => g >= 92)).map(([ch]) => ch);
const level = entering.filter((ch) => tone.get(ch) === '0');
const groupless = common.filter((ch) => !shown.has(ch));
const pct = (a, b) => `${(100 * a / b).toFixed(1)} %`;
console.log(`${seed}`);
console.log(`  of ${listed} common characters the table lists: tone code as the table ${sameCode} (${pct(sameCode, listed)}),`
  + ` group shown among the table's ${sameGroup} (${pct(sameGroup, listed)})`);
console.log(`  entering in the table but coded level: ${level.length} of ${entering.length} ${level.join('')}`);
console.log(`  common characters without a group: ${groupless.length} ${groupless.join('')}`);

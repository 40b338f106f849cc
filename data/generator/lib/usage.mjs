// SPDX-License-Identifier: GPL-3.0-or-later
// How often each character rhymes in each 平水韵 group in Tang regulated verse
// (chinese-poetry's 全唐诗): poems of four or eight or more lines of equal
// length (five or seven characters). The ends of the even lines rhyme; where
// the groups of all those characters have exactly one group in common, each
// of them is counted once for that group. Texts are read as they are
// (traditional) and converted to simplified character by character, so both
// forms are counted.
import { readFileSync, readdirSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, join } from 'node:path';

const require = createRequire(import.meta.url);

export function tangPoemFiles(filter = () => true) {
  const dir = join(dirname(require.resolve('chinese-poetry/package.json')), 'dist', 'quantangshi');
  return readdirSync(dir)
    .filter((f) => /^poet\.tang\.\d+\.json$/.test(f))
    .sort((a, b) => Number(a.split('.')[2]) - Number(b.split('.')[2]))
    .filter(filter)
    .map((f) => join(dir, f));
}

// Splits a poem into lines at its punctuation; null unless it has the shape
// of regulated verse.
export function regulatedLines(paragraphs) {
  const lines = paragraphs.join('').split(/[，。？！；：、,.?!;:]/).map((l) => l.trim()).filter(Boolean);
  if (lines.length !== 4 && lines.length < 8) return null;
  if (lines.length % 2 !== 0) return null;
  const n = [...lines[0]].length;
  if (n !== 5 && n !== 7) return null;
  if (!lines.every((l) => [...l].length === n)) return null;
  return lines;
}

// groupsOf(char) -> array of group numbers; toSimplified(char) -> char.
// Returns Map(char -> Map(group -> count)); the key 0 of a character's map
// counts all its occurrences in those poems, at any position.
export function rhymeUsage(files, groupsOf, toSimplified) {
  const usage = new Map();
  const count = (ch, g) => {
    if (!usage.has(ch)) usage.set(ch, new Map());
    const m = usage.get(ch);
    m.set(g, (m.get(g) || 0) + 1);
  };
  for (const file of files) {
    for (const poem of JSON.parse(readFileSync(file, 'utf8'))) {
      const lines = regulatedLines(poem.paragraphs || []);
      if (!lines) continue;
      for (const l of lines) {
        for (const c of l) { count(c, 0); const sc = toSimplified(c); if (sc !== c) count(sc, 0); }
      }
      const ends = lines.filter((_, i) => i % 2 === 1).map((l) => [...l].pop());
      for (const form of [ends, ends.map((c) => toSimplified(c))]) {
        let common = null;
        for (const c of form) {
          const gs = groupsOf(c);
          common = common === null ? gs : common.filter((g) => gs.includes(g));
          if (common.length === 0) break;
        }
        if (!common || common.length !== 1) continue;
        for (const c of new Set(form)) count(c, common[0]);
      }
    }
  }
  return usage;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Builds ../seed/两读词.tsv: the words that settle the tone of a character
// read both level and oblique, where the two tones follow its two Mandarin
// readings (中 zhōng / zhòng, 长 cháng / zhǎng …).
//
// The words are every word of pinyin-pro's polyphone word lists holding
// such a character, with the reading the list gives it. A character whose
// other reading lives only in such listed words (中 zhòng in 中的, 分 fèn in
// 本分) is also settled by the pairs the 全唐诗 of the chinese-poetry corpus
// uses often: there its common reading holds. Pairs of the other
// characters are no words often enough to settle anything (长 in 草长 is
// zhǎng, 相 in 上相 xiàng, 空 in 潭影空人心 kòng); they stay in the table
// with the tone 2, unsettled, so that a listed word that only seems to
// stand there (首长 in 回首长安) does not settle the character against them.
// Characters whose level/oblique split Mandarin lost (看 听 思 忘 过 …) are
// left out: their words settle nothing.
//
// Columns: 词 (the word), 字 (the character it settles), 平仄 (0 level,
// 1 oblique, 2 not settled).
import { readdirSync, readFileSync } from 'node:fs';
import { join, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';
import * as OpenCC from 'opencc-js';
import { pinyin } from 'pinyin-pro';
import { writeTable } from './lib/tsv.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const corpus = join(here, 'node_modules/chinese-poetry/dist/quantangshi');
const t2s = OpenCC.Converter({ from: 't', to: 'cn' });

const BY_PAIRS = [...'中分遗王间'];
const LISTS_ONLY = [...'长重教应胜从相将当难空凉更兴乘称禁传调冠量供论任燕号为'];
const CHARS = new Set([...BY_PAIRS, ...LISTS_ONLY]);
const MIN_COUNT = 10;   // uses in the corpus before a pair counts as a word

// Words whose classical reading Mandarin has changed or its lists miss:
// 不胜 and 胜任 are "can bear" (shēng, level), 中酒 is "struck by wine"
// (zhòng), 有分 and 无分 "have a share" (fèn), 多难 "many troubles"
// (nàn); in verse 手相 is 手 and 相看 (xiāng), not palmistry.
const CLASSICAL = new Map([
  ['不胜', [['胜', 0]]],
  ['胜任', [['胜', 0]]],
  ['中酒', [['中', 1]]],
  ['有分', [['分', 1]]],
  ['无分', [['分', 1]]],
  ['多难', [['难', 1]]],
  ['手相', [['相', 0]]],
]);

// Mandarin tones 1 and 2 are level, 3 and 4 oblique; the neutral tone says nothing.
function toneClass(numbered) {
  const t = numbered.slice(-1);
  if (t === '1' || t === '2') return 0;
  if (t === '3' || t === '4') return 1;
  return null;
}

// The tone class of every settled character of a word, by its index.
function settled(word) {
  const readings = pinyin(word, { type: 'array', toneType: 'num' });
  const chars = [...word];
  if (readings.length !== chars.length) return [];
  const out = [];
  chars.forEach((ch, i) => {
    if (!CHARS.has(ch)) return;
    const cls = toneClass(readings[i]);
    if (cls !== null) out.push([ch, cls]);
  });
  // A character twice in a word with two readings settles nothing; twice
  // with one reading it is one row.
  return out.filter(([ch, cls], i) => out.every(([c2, k2], j) => c2 !== ch || (k2 === cls && j >= i)));
}

async function listWords() {
  const words = new Set();
  for (const n of [2, 3, 4, 5]) {
    const m = await import(`pinyin-pro/dist/esm/data/dict${n}.mjs`);
    for (const w of Object.keys(m.default)) {
      if ([...w].some((ch) => CHARS.has(ch))) words.add(w);
    }
  }
  return words;
}

function corpusPairs() {
  const count = new Map();
  for (const file of readdirSync(corpus).filter((f) => /^poet\.tang\.\d+\.json$/.test(f)).sort()) {
    for (const poem of JSON.parse(readFileSync(join(corpus, file), 'utf8'))) {
      for (const para of poem.paragraphs || []) {
        for (const verse of t2s(para).split(/[^\p{Script=Han}]+/u)) {
          const chars = [...verse];
          for (let i = 0; i + 1 < chars.length; ++i) {
            const a = chars[i]; const b = chars[i + 1];
            if (!CHARS.has(a) && !CHARS.has(b)) continue;
            const w = a + b;
            count.set(w, (count.get(w) || 0) + 1);
          }
        }
      }
    }
  }
  return [...count].filter(([, c]) => c >= MIN_COUNT).map(([w]) => w);
}

const fromLists = await listWords();
const words = new Set([...fromLists, ...corpusPairs(), ...CLASSICAL.keys()]);
const rows = [];
for (const w of [...words].sort()) {
  for (const [ch, cls] of CLASSICAL.get(w) || settled(w)) {
    const unsettled = LISTS_ONLY.includes(ch) && !fromLists.has(w) && !CLASSICAL.has(w);
    rows.push([w, ch, unsettled ? 2 : cls]);
  }
}
const n = writeTable(join(here, '../seed/两读词.tsv'), ['词', '字', '平仄'], rows);
console.log(`两读词: ${n} rows from ${words.size} words`);

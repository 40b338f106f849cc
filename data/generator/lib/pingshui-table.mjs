// SPDX-License-Identifier: GPL-3.0-or-later
// The 平水韵 table itself (shared/sources/pingshui/Pingshui_Rhyme.json: the
// groups of the book with their characters, in simplified form), read into the
// program's 108 numbering. The file lacks the group 上声 三讲 altogether (its
// characters come from 廣韻, see rhymes.md) and 一先 lacks its own head 先;
// TABLE_ADDITIONS puts back what the file is known to lack.
import { readFileSync } from 'node:fs';
import { sourceFile } from './sources.mjs';
import { isLevelGroup } from './pingshui.mjs';

// The heads of the groups by tone part, in the book's order, as the file
// names them; each part's numbers in the program's numbering follow.
const PARTS = [
  ['上平声部', '东冬江支微鱼虞齐佳灰真文元寒删', [1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16]],
  ['下平声部', '先萧肴豪歌麻阳庚青蒸尤侵覃盐咸', range(17, 31)],
  ['上声部', '董肿讲纸尾语麌荠蟹贿轸吻阮旱潸铣筱巧皓哿马养梗迥有寝感琰豏', range(32, 60)],
  ['去声部', '送宋绛寘未御遇霁泰卦队震问愿翰谏霰啸效号个祃漾敬径宥沁勘艳陷',
    [61, 62, 63, 64, ...range(66, 91)]],
  ['入声部', '屋沃觉质物月曷黠屑药陌锡职缉合叶洽', range(92, 108)],
];
function range(a, b) { return Array.from({ length: b - a + 1 }, (_, i) => a + i); }

// Characters the file is known to lack in a group (its head 先 in 一先).
const TABLE_ADDITIONS = [['先', '先']];

const DIGITS = { 一: 1, 二: 2, 三: 3, 四: 4, 五: 5, 六: 6, 七: 7, 八: 8, 九: 9 };
// "二十九豏" -> [29, '豏']; "入声十七洽" -> [17, '洽']
function parseKey(key) {
  const m = key.replace(/^入声/, '').match(/^([一二三四五六七八九十]+)(\p{Script=Han})$/u);
  if (!m) throw new Error(`平水韵 table: group key ${key} not understood`);
  const s = m[1];
  let n;
  if (s === '十') n = 10;
  else if (s.startsWith('十')) n = 10 + DIGITS[s[1]];
  else if (s.includes('十')) n = DIGITS[s[0]] * 10 + (s.length > 2 ? DIGITS[s[2]] : 0);
  else n = DIGITS[s];
  return [n, m[2]];
}

// Returns { groupsOf: Map(char -> [group numbers in book order]), members:
// Map(group -> [chars]), entries } for every single character of the file.
export function loadPingshuiTable() {
  const data = JSON.parse(readFileSync(sourceFile('pingshui', 'Pingshui_Rhyme.json'), 'utf8'));
  const groupsOf = new Map();
  const members = new Map();
  let entries = 0;
  const add = (ch, g) => {
    if (!groupsOf.has(ch)) groupsOf.set(ch, []);
    if (!groupsOf.get(ch).includes(g)) groupsOf.get(ch).push(g);
    if (!members.has(g)) members.set(g, []);
    if (!members.get(g).includes(ch)) members.get(g).push(ch);
  };
  for (const [part, heads, numbers] of PARTS) {
    const groups = data[part];
    if (!groups) throw new Error(`平水韵 table: part ${part} missing`);
    for (const [key, chars] of Object.entries(groups)) {
      const [ordinal, head] = parseKey(key);
      if (heads[ordinal - 1] !== head) throw new Error(`平水韵 table: ${part} ${key} out of place`);
      const g = numbers[ordinal - 1];
      for (const ch of chars) {
        if ([...ch].length !== 1 || !/\p{Script=Han}/u.test(ch)) throw new Error(`平水韵 table: entry ${ch} in ${key}`);
        entries += 1;
        add(ch, g);
      }
    }
  }
  const headNumber = new Map(PARTS.flatMap(([, heads, numbers]) => [...heads].map((h, i) => [h, numbers[i]])));
  for (const [ch, head] of TABLE_ADDITIONS) {
    const g = headNumber.get(head);
    if (groupsOf.get(ch)?.includes(g)) throw new Error(`TABLE_ADDITIONS: ${ch} is in ${head} already`);
    add(ch, g);
  }
  return { groupsOf, members, entries };
}

export { isLevelGroup };

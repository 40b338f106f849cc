// SPDX-License-Identifier: GPL-3.0-or-later
// 白香词谱 as the book has it (shared/sources/baixiang/baixiang.wikitext, the
// Wikisource transcription): a hundred tunes in the book's order, each with
// the title and author of its example, the example line by line and under
// every line the book's pattern in ○ ● ⊙ △ ▲ (平, 仄, 可平可仄, 平韵, 仄韵),
// notes such as 疊三字 or 換平韻 beside a line, and an empty line between the
// stanzas. The text is in traditional characters; the caller converts it.
import { readFileSync } from 'node:fs';
import { sourceFile } from './sources.mjs';

const SYMBOLS = /^[○●⊙△▲]+$/u;
const HAN = /[\p{Script=Han}□]/u;   // □ stands for a character the transcription lacks
const NUMERALS = '一二三四五六七八九十';

// "二一" -> 21, "三十" -> 30, "一百" -> 100 (the book's section numbers)
function sectionNumber(s) {
  if (s === '一百') return 100;
  if (s === '十') return 10;
  let n = 0;
  if (s.length === 1) return NUMERALS.indexOf(s) + 1;
  if (s[0] === '十') return 10 + NUMERALS.indexOf(s[1]) + 1;
  n = (NUMERALS.indexOf(s[0]) + 1) * 10;
  if (s[1] !== '十') n += NUMERALS.indexOf(s[1]) + 1;
  return n;
}

// Wikitext markup: -{X}- keeps X unconverted; {{*|note}} is a small note.
const unmark = (s) => s.replace(/-\{([^}]*)\}-/g, '$1');

// Returns [{ no, tune, title, author, authorNote, stanzas: [[{ text, pattern, notes }]] }]
export function readBaixiangBook() {
  const path = sourceFile('baixiang', 'baixiang.wikitext');
  const lines = readFileSync(path, 'utf8').split('\n');
  const entries = [];
  let cur = null; let inPoem = false; let pending = null;
  const fail = (i, why) => { throw new Error(`${path}:${i + 1}: ${why}`); };
  lines.forEach((raw, i) => {
    const line = unmark(raw).trim();
    const head = /^===(.+)、(.+?) · (.+?)\{\{\*\|(.+?)\}\}===$/u.exec(line);
    if (head) {
      const [, num, tune, title, who] = head;
      const m = /^(.+?)\s*（(.+)）$/u.exec(who.trim());
      cur = { no: sectionNumber(num), tune: tune.trim(), title: title.trim(),
        author: (m ? m[1] : who).trim(), authorNote: m ? m[2] : '', stanzas: [[]] };
      if (cur.no !== entries.length + 1) fail(i, `section ${num} out of order`);
      entries.push(cur);
      return;
    }
    if (line === '<poem>') { if (!cur) fail(i, 'poem without a heading'); inPoem = true; return; }
    if (line === '</poem>') {
      if (pending) fail(i, `no pattern under ${pending.text}`);
      inPoem = false; return;
    }
    if (!inPoem) return;
    const notes = [...line.matchAll(/\{\{\*\|([^}]*)\}\}/g)].map((m) => m[1].trim());
    const body = line.replace(/\{\{\*\|[^}]*\}\}/g, '').replace(/[\s\u3000]+/g, '');
    const stanza = cur.stanzas[cur.stanzas.length - 1];
    if (!body) {
      if (notes.length) fail(i, 'a note without a line');
      if (stanza.length) cur.stanzas.push([]);
      return;
    }
    if (SYMBOLS.test(body)) {
      if (!pending) fail(i, 'a pattern without its line');
      stanza.push({ text: pending.text, pattern: body, notes: pending.notes.concat(notes), line: i + 1 });
      pending = null;
      return;
    }
    if (pending) fail(i, `no pattern under ${pending.text}`);
    pending = { text: body, notes };
  });
  for (const e of entries) {
    e.stanzas = e.stanzas.filter((s) => s.length);
    if (e.stanzas.length === 0) throw new Error(`白香词谱 ${e.no} ${e.tune}: no lines`);
  }
  if (entries.length !== 100) throw new Error(`白香词谱: ${entries.length} tunes, not 100`);
  return entries;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Cleaning corpus text as the library prints it: traditional to simplified,
// notes in brackets and blanks removed, ASCII punctuation made full-width.
import * as OpenCC from 'opencc-js';
import { BMP_FORMS } from '../library/authors.mjs';

export const t2s = OpenCC.Converter({ from: 't', to: 'cn' });

// Characters a cleaned poem may contain besides Chinese characters.
export const PUNCT = '，。！？；：、“”‘’《》·—';
export const CLAUSE_END = /[，。！？；：、]/;

export function isHan(ch) {
  const c = ch.codePointAt(0);
  return (c >= 0x4e00 && c <= 0x9fff) || (c >= 0x3400 && c <= 0x4dbf) || c === 0x3007;
}

// Notes in brackets, stray blanks and ASCII punctuation go; what remains is
// checked character by character.
export function cleanLine(line) {
  let s = [...t2s(line)].map((ch) => BMP_FORMS[ch] || ch).join('');
  s = s.replace(/\(/g, '（').replace(/\)/g, '）');
  s = s.replace(/（[^）]*）/g, '')
    .replace(/\[[^\]]*\]/g, '').replace(/〔[^〕]*〕/g, '').replace(/【[^】]*】/g, '')
    .replace(/［[^］]*］/g, '');
  s = s.replace(/[ \t\r\u3000]/g, '')
    .replace(/,/g, '，').replace(/\./g, '。').replace(/\?/g, '？').replace(/!/g, '！')
    .replace(/;/g, '；').replace(/:/g, '：')
    .replace(/[「『]/g, '“').replace(/[」』]/g, '”')
    .replace(/[・•‧]/g, '·');
  return s;
}

export function cleanTitle(title) {
  return cleanLine(title).replace(/[“”《》]/g, '');
}

// Text without punctuation: the identity of a poem for deduplication.
export function bare(text) {
  return [...text].filter(isHan).join('');
}

// A printed line (a couplet) closes with a full stop, not a comma. Notes may
// run over several paragraphs: the poem is cleaned as a whole.
export function cleanLines(paragraphs) {
  return cleanLine(paragraphs.join('\n')).split('\n').filter((l) => l.length > 0)
    .map((l) => l.replace(/，$/, '。'));
}

// The same length with at most three characters different (variant readings).
export function nearlyEqual(a, b) {
  if (a.length !== b.length) return false;
  let differences = 0;
  for (let i = 0; i < a.length; i++) if (a[i] !== b[i] && ++differences > 3) return false;
  return true;
}

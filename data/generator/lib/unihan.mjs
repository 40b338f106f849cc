// SPDX-License-Identifier: GPL-3.0-or-later
// Reading fields of the Unihan database shipped by Debian's unicode-data
// (/usr/share/unicode/Unihan_*.txt.bz2). The files are bzip2-compressed, so
// they are read through the bzcat program.
import { execFileSync } from 'node:child_process';
import { existsSync } from 'node:fs';

export const UNIHAN_DIR = process.env.UNIHAN_DIR || '/usr/share/unicode';

// Returns Map(field -> Map(char -> raw value)) for the requested fields of one file.
export function readUnihanFile(file, fields) {
  const path = `${UNIHAN_DIR}/Unihan_${file}.txt.bz2`;
  if (!existsSync(path)) throw new Error(`missing ${path} (Debian package unicode-data)`);
  const text = execFileSync('bzcat', [path], { maxBuffer: 512 * 1024 * 1024 }).toString('utf8');
  const wanted = new Set(fields);
  const out = new Map(fields.map((f) => [f, new Map()]));
  for (const line of text.split('\n')) {
    if (!line || line[0] === '#') continue;
    const t1 = line.indexOf('\t');
    const t2 = line.indexOf('\t', t1 + 1);
    if (t1 < 0 || t2 < 0) continue;
    const field = line.slice(t1 + 1, t2);
    if (!wanted.has(field)) continue;
    const ch = String.fromCodePoint(parseInt(line.slice(2, t1), 16));
    out.get(field).set(ch, line.slice(t2 + 1));
  }
  return out;
}

// All the fields the generator uses, in one object of Maps.
export function loadUnihan() {
  const readings = readUnihanFile('Readings', [
    'kMandarin', 'kTGHZ2013', 'kXHC1983', 'kHanyuPinlu', 'kHanyuPinyin', 'kDefinition',
  ]);
  const other = readUnihanFile('OtherMappings', ['kGB0', 'kTGH', 'kBigFive']);
  const dictionaryLike = readUnihanFile('DictionaryLikeData', ['kPhonetic']);
  const variants = readUnihanFile('Variants', ['kSimplifiedVariant', 'kTraditionalVariant',
    'kSemanticVariant', 'kSpecializedSemanticVariant', 'kZVariant']);
  return {
    mandarin: readings.get('kMandarin'),
    tghz: readings.get('kTGHZ2013'),
    xhc: readings.get('kXHC1983'),
    pinlu: readings.get('kHanyuPinlu'),
    hanyuPinyin: readings.get('kHanyuPinyin'),
    definition: readings.get('kDefinition'),
    gb0: other.get('kGB0'),
    tgh: other.get('kTGH'),
    big5: other.get('kBigFive'),
    phonetic: dictionaryLike.get('kPhonetic'),
    simplifiedVariant: variants.get('kSimplifiedVariant'),
    traditionalVariant: variants.get('kTraditionalVariant'),
    semanticVariant: variants.get('kSemanticVariant'),
    specializedSemanticVariant: variants.get('kSpecializedSemanticVariant'),
    zVariant: variants.get('kZVariant'),
  };
}

// "U+4E1C U+4E2D" -> ['东', '中']
export function parseCodePoints(value) {
  if (!value) return [];
  return value.split(/\s+/).filter((u) => /^U\+[0-9A-F]+/i.test(u))
    .map((u) => String.fromCodePoint(parseInt(u.replace(/^U\+/, '').replace(/<.*$/, ''), 16)));
}

// Readings of the various fields, as tone-marked syllables in the field's own order.
export function tghzReadings(value) {     // "369.040:tóng 370.190:tòng"
  if (!value) return [];
  return value.split(/\s+/).filter(Boolean).map((e) => e.slice(e.indexOf(':') + 1));
}
export const xhcReadings = tghzReadings;    // "1151.060:tóng 1155.060*:tòng"
export function mandarinReadings(value) {   // "qián gān"
  return value ? value.split(/\s+/).filter(Boolean) : [];
}
export function pinluReadings(value) {      // "tóng(4634) tong(34) tòng(17)" -> [[syl, count]...]
  if (!value) return [];
  return value.split(/\s+/).filter(Boolean).map((e) => {
    const m = /^(.*)\((\d+)\)$/.exec(e);
    return m ? [m[1], Number(m[2])] : [e, 0];
  });
}
export function hanyuPinyinReadings(value) { // "10578.010:tóng,tòng 74609.020:lǔ,xī"
  if (!value) return [];
  const out = [];
  for (const e of value.split(/\s+/).filter(Boolean)) {
    for (const s of e.slice(e.indexOf(':') + 1).split(',')) out.push(s);
  }
  return out;
}

// Big5 level 1 (the common characters, 0xA440-0xC67E).
export function isBig5Common(big5Value) {
  if (!big5Value) return false;
  const code = parseInt(big5Value, 16);
  return code >= 0xa440 && code <= 0xc67e;
}

// Variant links of a character: Unihan's semantic, specialized semantic and
// z-variants, and the "(same as X)" / "(variant of X)" notes of kDefinition.
// Links are made symmetric. Returns Map(char -> Set(chars)).
const DEFINITION_LINK = /\((?:the same as|same as|a variant of|variant of|non-classical form of|standard form of|ancient form of|an ancient form of|corrupted form of|abbreviated form of|interchangeable with)([^)]*)\)/g;
export function variantGraph(u) {
  const graph = new Map();
  const link = (a, b) => {
    if (a === b) return;
    for (const [x, y] of [[a, b], [b, a]]) {
      if (!graph.has(x)) graph.set(x, new Set());
      graph.get(x).add(y);
    }
  };
  for (const field of [u.semanticVariant, u.specializedSemanticVariant, u.zVariant]) {
    for (const [ch, value] of field) for (const v of parseCodePoints(value)) link(ch, v);
  }
  for (const [ch, def] of u.definition) {
    for (const m of def.matchAll(DEFINITION_LINK)) {
      for (const v of m[1].match(/\p{Script=Han}/gu) || []) link(ch, v);
    }
  }
  return graph;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Mandarin syllables: tone-marked pinyin -> toneless Latin spelling (ü as v)
// and tone number, the split into initial and final, and the 中华新韵 group.

const TONE_MARKS = { '\u0304': 1, '\u0301': 2, '\u030c': 3, '\u0300': 4 };

// parseSyllable('lǜ') -> { latin: 'lv', tone: 4 }; tone 0 is the neutral tone.
// Returns null for something that is not a syllable.
export function parseSyllable(text) {
  if (!text) return null;
  let tone = 0;
  let latin = '';
  let ehat = false;
  for (const ch of text.normalize('NFD').toLowerCase()) {
    if (TONE_MARKS[ch]) { tone = TONE_MARKS[ch]; continue; }
    if (ch === '\u0308') { // diaeresis: u + ¨ = ü
      if (latin.endsWith('u')) latin = latin.slice(0, -1) + 'v';
      continue;
    }
    if (ch === '\u0302') { ehat = true; continue; } // ê is spelled e
    if (/[0-5]/.test(ch)) { tone = Number(ch) % 5; continue; }
    if (ch < 'a' || ch > 'z') return null;
    latin += ch;
  }
  if (!latin) return null;
  return ehat ? { latin, tone, ehat } : { latin, tone };
}

export function syllableKey(s) { return `${s.latin}${s.tone}`; }

const INITIALS = ['zh', 'ch', 'sh', 'b', 'p', 'm', 'f', 'd', 't', 'n', 'l', 'g', 'k', 'h',
  'j', 'q', 'x', 'r', 'z', 'c', 's'];

const Y_FINALS = { yi: 'i', ya: 'ia', yo: 'io', ye: 'ie', yao: 'iao', you: 'iou', yan: 'ian',
  yin: 'in', yang: 'iang', ying: 'ing', yong: 'iong', yu: 'v', yue: 've', yuan: 'van', yun: 'vn',
  yai: 'iai' };
const W_FINALS = { wu: 'u', wa: 'ua', wo: 'uo', wai: 'uai', wei: 'uei', wan: 'uan', wen: 'uen',
  wang: 'uang', weng: 'ueng' };

// Splits a toneless spelling into its initial ('' for none) and its full final
// (i, u, v medials written out: ui -> uei, iu -> iou, un -> uen, ju -> jv).
export function splitSyllable(latin) {
  if (Y_FINALS[latin]) return { initial: '', final: Y_FINALS[latin] };
  if (W_FINALS[latin]) return { initial: '', final: W_FINALS[latin] };
  let initial = '';
  for (const i of INITIALS) {
    if (latin.startsWith(i) && latin.length > i.length) { initial = i; break; }
  }
  let final = latin.slice(initial.length);
  if ('jqx'.includes(initial) && initial && final.startsWith('u')) final = 'v' + final.slice(1);
  if (initial) {
    if (final === 'ui') final = 'uei';
    else if (final === 'iu') final = 'iou';
    else if (final === 'un') final = 'uen';
  }
  return { initial, final };
}

// The 中华新韵 group (1-14) of a toneless spelling, 0 when it has none
// (syllabic m, n, ng and the like). ehat: the syllable was spelled ê.
export function newRhymeGroup(latin, ehat = false) {
  if (ehat && latin === 'e') return 3;
  const { initial, final } = splitSyllable(latin);
  switch (final) {
    case 'a': case 'ia': case 'ua': return 1;
    case 'o': case 'uo': case 'e': case 'io': return 2;
    case 'ie': case 've': case 'ê': return 3;
    case 'ai': case 'uai': case 'iai': return 4;
    case 'ei': case 'uei': return 5;
    case 'ao': case 'iao': return 6;
    case 'ou': case 'iou': return 7;
    case 'an': case 'ian': case 'uan': case 'van': return 8;
    case 'en': case 'in': case 'uen': case 'vn': return 9;
    case 'ang': case 'iang': case 'uang': return 10;
    case 'eng': case 'ing': case 'ong': case 'iong': case 'ueng': return 11;
    case 'er': return 12;
    case 'v': return 12;
    case 'i':
      return ['zh', 'ch', 'sh', 'r', 'z', 'c', 's'].includes(initial) ? 13 : 12;
    case 'u': return 14;
    default: return 0;
  }
}

// Level (平) for tones 1 and 2, oblique (仄) for 3 and 4; null for the neutral tone.
export function isLevelTone(tone) {
  if (tone === 1 || tone === 2) return true;
  if (tone === 3 || tone === 4) return false;
  return null;
}

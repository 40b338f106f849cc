// SPDX-License-Identifier: GPL-3.0-or-later
// How well a Middle Chinese reading (a 廣韻 entry) fits a Mandarin syllable.
//
// The fit is learnt from the characters that are unambiguous on both sides
// (one 廣韻 position, one Mandarin reading): how often each Mandarin tone
// follows a 聲 and voicing class, each final a rhyme, medial and division,
// each initial a 聲母 and division. Counts back off from the finest context to
// coarser ones, so a rare context still gets a sensible estimate.
import { splitSyllable } from './pinyin.mjs';
import { toneClassOfGroup } from './pingshui.mjs';


class BackoffModel {
  constructor(levels, alpha = 0.5, beta = 2) {
    this.levels = levels; this.alpha = alpha; this.beta = beta;
    this.counts = Array.from({ length: levels }, () => new Map());
    this.vocab = new Set();
  }
  add(keys, x) {
    this.vocab.add(x);
    keys.forEach((k, i) => {
      if (k === null) return;
      let m = this.counts[i].get(k);
      if (!m) { m = { total: 0, by: new Map() }; this.counts[i].set(k, m); }
      m.total += 1;
      m.by.set(x, (m.by.get(x) || 0) + 1);
    });
  }
  // keys: finest first; null entries are skipped.
  logProb(keys, x) {
    const v = this.vocab.size + 1;
    let p = 1 / v; // uniform base
    for (let i = keys.length - 1; i >= 0; i -= 1) {
      if (keys[i] === null) continue;
      const m = this.counts[i].get(keys[i]);
      if (!m) continue;
      const weight = i === keys.length - 1 ? this.alpha * v : this.beta;
      p = ((m.by.get(x) || 0) + weight * p) / (m.total + weight);
    }
    return Math.log(p);
  }
}

// The context keys of a reading: { group, pos } where pos is a 音韻地位 or null.
function contexts(reading) {
  const sheng = toneClassOfGroup(reading.group);
  const p = reading.pos;
  if (!p) {
    return {
      tone: [null, null, sheng],
      final: [null, null, `g${reading.group}`],
      initial: [null, null, null],
    };
  }
  const qz = p.清濁;
  const zu = p.組 ?? p.母;
  return {
    tone: [`${sheng}|${p.母}`, `${sheng}|${qz}`, sheng],
    final: [`${p.韻}|${p.呼}|${p.等}|${p.類}|${zu}`, `${p.韻}|${p.呼}|${p.等}`, `g${reading.group}`],
    initial: [`${p.母}|${p.等}|${p.呼}|${p.韻}`, `${p.母}|${p.等}`, p.母],
  };
}

export class Correspondence {
  constructor() {
    this.tone = new BackoffModel(3);
    this.final = new BackoffModel(3);
    this.initial = new BackoffModel(3);
  }

  learn(reading, syllable) {
    const c = contexts(reading);
    const { initial, final } = splitSyllable(syllable.latin);
    this.tone.add(c.tone, String(syllable.tone));
    this.final.add(c.final, final);
    this.initial.add(c.initial, initial);
  }

  // Log-likelihood of the Mandarin syllable given the reading, the tone
  // counted twice: the tone is what tells level from oblique readings apart.
  score(reading, syllable) {
    const c = contexts(reading);
    const { initial, final } = splitSyllable(syllable.latin);
    return 2 * this.tone.logProb(c.tone, String(syllable.tone))
      + this.final.logProb(c.final, final)
      + this.initial.logProb(c.initial, initial);
  }
}

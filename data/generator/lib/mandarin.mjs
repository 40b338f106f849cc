// SPDX-License-Identifier: GPL-3.0-or-later
// The Mandarin readings of a character, gathered from Unihan with pinyin-pro
// as the last resort, and the most common of them.
import { pinyin } from 'pinyin-pro';
import {
  tghzReadings, xhcReadings, mandarinReadings, pinluReadings, hanyuPinyinReadings,
} from './unihan.mjs';
import { parseSyllable, syllableKey } from './pinyin.mjs';

function addAll(list, seen, syllables) {
  for (const text of syllables) {
    const s = parseSyllable(text);
    if (!s || s.tone === 0) continue;           // neutral tone: not a reading of its own
    const key = syllableKey(s);
    if (seen.has(key)) continue;
    seen.add(key);
    list.push(s);
  }
}

export class MandarinReadings {
  constructor(unihan) {
    this.u = unihan;
    this.cache = new Map();
    this.dictCache = new Map();
  }

  // Readings of the mainland standard dictionary (通用规范汉字字典 2013), else
  // of the 现代汉语词典 (1983), else kMandarin: the readings 中华新韵 is built
  // on. The 2013 dictionary comes first because the 1983 one also lists the
  // tone-sandhi forms of 一 and 不 (yí, yì, bú) as readings of their own.
  dictionary(ch) {
    if (this.dictCache.has(ch)) return this.dictCache.get(ch);
    const list = []; const seen = new Set();
    addAll(list, seen, tghzReadings(this.u.tghz.get(ch)));
    if (list.length === 0) addAll(list, seen, xhcReadings(this.u.xhc.get(ch)));
    if (list.length === 0) addAll(list, seen, mandarinReadings(this.u.mandarin.get(ch)));
    this.dictCache.set(ch, list);
    return list;
  }

  // The current readings of the character (the frequency list, kMandarin and
  // the dictionary readings above), else those of 漢語大字典 (kHanyuPinyin),
  // else pinyin-pro's readings.
  all(ch) {
    if (this.cache.has(ch)) return this.cache.get(ch);
    const list = []; const seen = new Set();
    addAll(list, seen, pinluReadings(this.u.pinlu.get(ch)).map(([s]) => s));
    addAll(list, seen, mandarinReadings(this.u.mandarin.get(ch)));
    for (const s of this.dictionary(ch)) {
      const key = syllableKey(s);
      if (!seen.has(key)) { seen.add(key); list.push(s); }
    }
    if (list.length === 0) addAll(list, seen, hanyuPinyinReadings(this.u.hanyuPinyin.get(ch)));
    if (list.length === 0) addAll(list, seen, pinyinPro(ch));
    this.cache.set(ch, list);
    return list;
  }

  // The current readings and those of the 1983 dictionary (胜 shēng of 胜任,
  // which the 2013 dictionary reads shèng).
  wide(ch) {
    const list = [...this.all(ch)]; const seen = new Set(list.map(syllableKey));
    addAll(list, seen, xhcReadings(this.u.xhc.get(ch)));
    return list;
  }

  // The most common reading: the most frequent one in kHanyuPinlu (counts from
  // the 现代汉语频率词典), else the first of kMandarin, else the first of the
  // dictionaries, else pinyin-pro's default. Restricted to `among` when given.
  primary(ch, among = null) {
    const allowed = among ? new Set(among.map(syllableKey)) : null;
    const ok = (s) => s && s.tone !== 0 && (!allowed || allowed.has(syllableKey(s)));
    const pinlu = pinluReadings(this.u.pinlu.get(ch))
      .map(([t, n]) => [parseSyllable(t), n])
      .filter(([s]) => ok(s))
      .sort((a, b) => b[1] - a[1]);
    if (pinlu.length) return pinlu[0][0];
    for (const source of [
      mandarinReadings(this.u.mandarin.get(ch)),
      tghzReadings(this.u.tghz.get(ch)),
      xhcReadings(this.u.xhc.get(ch)),
      hanyuPinyinReadings(this.u.hanyuPinyin.get(ch)),
      pinyinPro(ch, false),
    ]) {
      for (const t of source) {
        const s = parseSyllable(t);
        if (ok(s)) return s;
      }
    }
    return among && among.length ? among[0] : null;
  }
}

function pinyinPro(ch, multiple = true) {
  const r = pinyin(ch, { multiple, type: 'array' });
  // pinyin-pro echoes characters it does not know
  return r.filter((s) => s && s !== ch);
}

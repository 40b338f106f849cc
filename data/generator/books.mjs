// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the two pattern books, data/seed/常用词谱.tsv and data/seed/白香词谱.tsv.
//
// A tune's pattern is induced from the Song ci corpus (chinese-poetry): every
// ci of the tune is cut into 句 at ，。？！、；, the dominant line structure is
// kept (together with structures that differ from it only in where one line
// splits), and every position is marked by the share of level and oblique
// characters under the 平水韵 table: ○ at >= 80 % level, ● at >= 80 % oblique,
// ⊙ otherwise. Characters with both readings count as neither. Rhymes are
// found from line ends that rhyme with each other far above chance.
//
// 常用词谱: the most used tunes of the corpus, most used first.
// 白香词谱: the book itself (shared/sources/baixiang, read by
// lib/baixiang-book.mjs): its hundred tunes in its order, its patterns, its
// examples and notes.
//
// Deterministic: the same corpus and tone table give byte-identical files.

import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { createRequire } from 'node:module';
import { readBaixiangBook } from './lib/baixiang-book.mjs';
import { sourceFile } from './lib/sources.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const seedDir = path.resolve(here, '..', 'seed');
const require = createRequire(import.meta.url);
const corpusDir = path.join(path.dirname(require.resolve('chinese-poetry/package.json')), 'dist');

const LEVEL_SHARE = 0.8;        // share of level characters for ○
const OBLIQUE_SHARE = 0.8;      // share of oblique characters for ●
const COMMON_MIN = 20;          // a common tune has at least this many ci
const COMMON_COUNT = 100;       // and the book holds the most used ones
const RHYME_RATE = 0.45;        // two line ends rhyme when they do in this share of ci
const SMALL_SAMPLE = 8;         // fewer ci than this: rhymes only with the last line

const args = new Set(process.argv.slice(2));
const reportPath = process.argv.slice(2).find((a) => a.startsWith('--report='))?.slice('--report='.length);
const log = (...a) => { if (!args.has('--quiet')) console.error('[books]', ...a); };

// ---------------------------------------------------------------------------
// Tones and rhyme classes
//
// The rhyme class of a character is its section (部) of the ci rhyme books:
// the 平水韵 groups merged as poets of the Song rhymed them, level, rising and
// departing tones together, the entering tone in five sections of its own.

const GROUP_SECTIONS = (() => {
    const s = {};
    const put = (groups, sec) => { for (const g of groups) s[g] = sec; };
    // level 1..31
    put([1, 2], [1]); put([3, 23], [2]); put([4, 5, 6, 9], [3]); put([7, 8], [4]);
    put([10], [5, 10]); put([11], [3, 5]); put([12, 13], [6]); put([14], [6, 7]);
    put([15, 16, 17], [7]); put([18, 19, 20], [8]); put([21], [9]); put([22], [10]);
    put([24, 25, 26], [11]); put([27], [12]); put([28], [13]); put([29, 30, 31], [14]);
    // rising 32..60
    put([32, 33], [1]); put([34, 53], [2]); put([35, 36, 39], [3]); put([37, 38], [4]);
    put([40], [5, 10]); put([41], [3, 5]); put([42, 43], [6]); put([44], [6, 7]);
    put([45, 46, 47], [7]); put([48, 49, 50], [8]); put([51], [9]); put([52], [10]);
    put([54, 55], [11]); put([56], [12]); put([57], [13]); put([58, 59, 60], [14]);
    // departing 61..91
    put([61, 62], [1]); put([63, 84], [2]); put([64, 65, 66, 69], [3]); put([67, 68], [4]);
    put([70, 72], [3, 5]); put([71], [5, 10]); put([73, 74], [6]); put([75], [6, 7]);
    put([76, 77, 78], [7]); put([79, 80, 81], [8]); put([82], [9]); put([83], [10]);
    put([85, 86], [11]); put([87], [12]); put([88], [13]); put([89, 90, 91], [14]);
    // entering 92..108
    put([92, 93], [15]); put([94, 101], [16]); put([95, 102, 103, 104, 105], [17]);
    put([96, 97, 98, 99, 100, 107], [18]); put([106, 108], [19]);
    return s;
})();

function readTsv(file) {
    const text = fs.readFileSync(file, 'utf8');
    const lines = text.split('\n').filter((l) => l.length > 0);
    const head = lines[0].split('\t');
    return lines.slice(1).map((l) => {
        const f = l.split('\t').map(unescapeField);
        const row = {};
        head.forEach((h, i) => { row[h] = f[i] ?? ''; });
        return row;
    });
}

function unescapeField(f) {
    if (f === '\\N') return null;
    return f.replace(/\\(.)/g, (m, c) => ({ '\\': '\\', t: '\t', n: '\n', r: '\r' }[c] ?? m));
}

function escapeField(f) {
    return String(f).replace(/\\/g, '\\\\').replace(/\t/g, '\\t').replace(/\n/g, '\\n').replace(/\r/g, '\\r');
}

// char -> { tone: '0' | '1' | '2', sections: Set<number> }
async function loadTones() {
    const file = path.join(seedDir, '平水韵.tsv');
    if (fs.existsSync(file)) {
        const table = new Map();
        for (const r of readTsv(file)) {
            const c = r['汉字'];
            if (!c) continue;
            let e = table.get(c);
            if (!e) { e = { tone: null, sections: new Set() }; table.set(c, e); }
            if (['0', '1', '2'].includes(r['平仄'])) e.tone = r['平仄'];   // the last row decides
            for (const s of GROUP_SECTIONS[Number(r['韵调'])] ?? []) e.sections.add(s);
        }
        for (const [c, e] of table) if (e.tone === null) table.delete(c);
        log(`tones from ${path.relative(here, file)}: ${table.size} characters`);
        return { source: '平水韵.tsv', get: (c) => table.get(c) };
    }
    log('平水韵.tsv not found: tones from the Qieyun readings (tshet-uinh) for now');
    return { source: 'tshet-uinh', get: await qieyunTones() };
}

async function qieyunTones() {
    const T = await import('tshet-uinh');
    const OpenCC = await import('opencc-js');
    const toTrad = OpenCC.Converter({ from: 'cn', to: 'tw' });
    const level = {
        東: 1, 冬: 1, 鍾: 1, 江: 2, 陽: 2, 唐: 2, 支: 3, 脂: 3, 之: 3, 微: 3, 齊: 3, 祭: 3, 廢: 3,
        魚: 4, 虞: 4, 模: 4, 佳: 5, 皆: 5, 夬: 5, 咍: 5, 灰: 3, 泰: 5, 真: 6, 諄: 6, 臻: 6, 文: 6,
        欣: 6, 魂: 6, 痕: 6, 元: 7, 寒: 7, 桓: 7, 刪: 7, 山: 7, 先: 7, 仙: 7, 蕭: 8, 宵: 8, 肴: 8,
        豪: 8, 歌: 9, 戈: 9, 麻: 10, 庚: 11, 耕: 11, 清: 11, 青: 11, 蒸: 11, 登: 11, 尤: 12, 侯: 12,
        幽: 12, 侵: 13, 覃: 14, 談: 14, 鹽: 14, 添: 14, 咸: 14, 銜: 14, 嚴: 14, 凡: 14,
    };
    const entering = {
        東: 15, 冬: 15, 鍾: 15, 江: 16, 陽: 16, 唐: 16, 真: 17, 諄: 17, 臻: 17, 文: 18, 欣: 18,
        魂: 18, 痕: 18, 元: 18, 寒: 18, 桓: 18, 刪: 18, 山: 18, 先: 18, 仙: 18, 庚: 17, 耕: 17,
        清: 17, 青: 17, 蒸: 17, 登: 17, 侵: 17, 覃: 19, 談: 19, 鹽: 18, 添: 18, 咸: 19, 銜: 19,
        嚴: 19, 凡: 19,
    };
    const cache = new Map();
    return (c) => {
        if (cache.has(c)) return cache.get(c);
        const tones = new Set();
        const sections = new Set();
        for (const k of new Set([c, toTrad(c)])) {
            for (const e of T.資料.query字頭(k)) {
                const a = e.音韻地位;
                tones.add(a.聲 === '平' ? '0' : '1');
                const s = a.聲 === '入' ? entering[a.韻] : level[a.韻];
                if (s) sections.add(s);
            }
        }
        const r = tones.size === 0 ? undefined : { tone: tones.size === 2 ? '2' : [...tones][0], sections };
        cache.set(c, r);
        return r;
    };
}

// ---------------------------------------------------------------------------
// Corpus

const BREAK = /[，。？！、；]/;
const HAN = /[\u3400-\u9fff\uf900-\ufaff]/;

// The 句 of a ci: cut at the breaks, keep only Chinese characters.
function splitJu(text) {
    return text.split(BREAK).map((s) => [...s].filter((c) => HAN.test(c)).join('')).filter((s) => s.length > 0);
}

// The 句 of a ci as the explanation shows them: the characters of each 句
// (other marks dropped, as the writer types them) and the break that ends it.
function splitJuShown(text) {
    const out = [];
    let cur = '';
    for (const c of text) {
        if (BREAK.test(c)) { if (cur) out.push(cur + c); cur = ''; }
        else if (HAN.test(c)) cur += c;
    }
    if (cur) out.push(cur + '。');
    return out;
}

const ALIAS = new Map([
    ['一翦梅', '一剪梅'], ['思佳客', '鹧鸪天'],
]);

function readJson(rel) {
    return JSON.parse(fs.readFileSync(path.join(corpusDir, rel), 'utf8'));
}

// The whole Song ci corpus in file order, tune names normalised.
function loadSongCi() {
    const files = fs.readdirSync(path.join(corpusDir, 'songci'))
        .filter((f) => /^ci\.song\.\d+\.json$/.test(f))
        .sort((a, b) => Number(a.split('.')[2]) - Number(b.split('.')[2]));
    const raw = [];
    for (const f of files) for (const c of readJson(`songci/${f}`)) raw.push(c);
    // Names joined by "・": keep the part that stands alone more often.
    const alone = new Map();
    for (const c of raw) if (!/[・·]/.test(c.rhythmic)) alone.set(c.rhythmic, (alone.get(c.rhythmic) ?? 0) + 1);
    const tune = (name) => {
        let n = name.trim();
        if (/[・·]/.test(n)) {
            const parts = n.split(/[・·]/).map((p) => p.trim()).filter(Boolean);
            let best = parts[parts.length - 1];
            for (const p of parts) if ((alone.get(p) ?? 0) > (alone.get(best) ?? 0)) best = p;
            n = best;
        }
        return ALIAS.get(n) ?? n;
    };
    return raw.map((c, i) => ({
        id: `song:${i}`, tune: tune(c.rhythmic), rawTune: c.rhythmic, author: c.author,
        text: c.paragraphs.join(''), source: '全宋词',
    }));
}

// Ci and poems outside the Song corpus, for the book's examples.
function loadOtherSources() {
    const out = [];
    const sanbai = readJson('songci/宋词三百首.json');
    sanbai.forEach((c, i) => out.push({ id: `sanbai:${i}`, tune: c.rhythmic, author: c.author, text: c.paragraphs.join(''), source: '宋词三百首' }));
    for (const f of fs.readdirSync(path.join(corpusDir, 'wudaishici/huajianji')).sort()) {
        if (!/juan\.json$/.test(f)) continue;
        readJson(`wudaishici/huajianji/${f}`).forEach((c, i) => out.push({
            id: `huajian:${f}:${i}`, tune: c.rhythmic, author: c.author, text: c.paragraphs.join(''), source: '花间集',
        }));
    }
    readJson('wudaishici/nantang/poetrys.json').forEach((c, i) => out.push({
        id: `nantang:${i}`, tune: c.rhythmic, author: c.author, text: c.paragraphs.join(''), source: '南唐二主词',
    }));
    return out;
}

// ---------------------------------------------------------------------------
// Induction

const structKey = (lens) => lens.join(',');
const sum = (a) => a.reduce((x, y) => x + y, 0);
function bounds(lens) {
    const b = new Set();
    let o = 0;
    for (let i = 0; i < lens.length - 1; i++) { o += lens[i]; b.add(o); }
    return b;
}

// Structures that differ from the main one only in where a line splits:
// the same number of characters, line boundaries differing in at most two
// places (one boundary moved, or one or two more or less). The positions are
// counted through the whole ci, so such ci line up character by character.
function compatible(lens, main) {
    if (sum(lens) !== sum(main)) return false;
    const a = bounds(lens), b = bounds(main);
    let diff = 0;
    for (const x of a) if (!b.has(x)) diff++;
    for (const x of b) if (!a.has(x)) diff++;
    return diff <= 2;
}

// The tone class of the last character ('0' level, '1' oblique, null).
function finalTone(ci, tones) {
    const t = tones.get(ci.chars[ci.chars.length - 1])?.tone;
    return t === '0' || t === '1' ? t : null;
}

// Keeps the ci that rhyme in the given tone (tunes have level and oblique
// forms of one shape); ci whose last character reads both ways stay.
function sameRhymeTone(cis, tone, tones) {
    if (tone === null) return cis;
    return cis.filter((c) => { const t = finalTone(c, tones); return t === null || t === tone; });
}

// How many line ends before the last rhyme with the last character in its
// tone (one section of the ci rhyme books and the same tone).
function majorityFinalTone(cis, tones) {
    let l = 0, o = 0;
    for (const c of cis) { const t = finalTone(c, tones); if (t === '0') l++; else if (t === '1') o++; }
    return l === 0 && o === 0 ? null : l >= o ? '0' : '1';
}

function prepare(ci, tones) {
    const ju = splitJu(ci.text);
    const lens = ju.map((j) => [...j].length);
    const chars = [...ju.join('')];
    const known = chars.every((c) => tones.get(c));
    return { ...ci, ju, lens, chars, known };
}

function dominantStructure(cis) {
    const count = new Map();
    for (const c of cis) {
        const k = structKey(c.lens);
        count.set(k, (count.get(k) ?? 0) + 1);
    }
    // Each structure's support counts every ci whose structure merges with
    // it. Among the structures with (nearly) the most support, the one most
    // often written exactly so wins; ties go to the one met first.
    const cands = [...count].map(([k, n]) => {
        const lens = k.split(',').map(Number);
        let support = 0;
        for (const [k2, n2] of count) if (compatible(k2.split(',').map(Number), lens)) support += n2;
        return { lens, exact: n, support };
    });
    if (cands.length === 0) return null;
    const top = Math.max(...cands.map((c) => c.support));
    let best = null;
    for (const c of cands) if (c.support >= top * 0.9 && (!best || c.exact > best.exact)) best = c;
    return best;
}

function symbolsFor(members, lens, tones, thresholds = {}) {
    const total = sum(lens);
    const level = new Array(total).fill(0), oblique = new Array(total).fill(0), both = new Array(total).fill(0);
    for (const m of members) {
        m.chars.forEach((c, i) => {
            const t = tones.get(c);
            if (!t) return;
            if (t.tone === '0') level[i]++;
            else if (t.tone === '1') oblique[i]++;
            else both[i]++;
        });
    }
    const lv = thresholds.level ?? LEVEL_SHARE, ob = thresholds.oblique ?? OBLIQUE_SHARE;
    const syms = level.map((l, i) => {
        const n = l + oblique[i];
        if (n === 0) return '⊙';
        if (l / n >= lv) return '○';
        if (oblique[i] / n >= ob) return '●';
        return '⊙';
    });
    return { syms, level, oblique, both };
}

// Line ends that rhyme: those that share a rhyme section with another line
// end in at least RHYME_RATE of the ci, and always the last line.
function findRhymes(members, lens, tones, syms) {
    const ends = [];
    let o = 0;
    for (const l of lens) { o += l; ends.push(o - 1); }
    const n = ends.length;
    const rate = Array.from({ length: n }, () => new Array(n).fill(0));
    let counted = 0;
    for (const m of members) {
        const secs = ends.map((e) => tones.get(m.chars[e])?.sections ?? new Set());
        counted++;
        for (let i = 0; i < n; i++) for (let j = i + 1; j < n; j++) {
            if ([...secs[i]].some((s) => secs[j].has(s))) rate[i][j]++;
        }
    }
    // union-find over strong pairs
    const parent = [...Array(n).keys()];
    const find = (x) => (parent[x] === x ? x : (parent[x] = find(parent[x])));
    const adj = Array.from({ length: n }, () => []);
    for (let i = 0; i < n; i++) for (let j = i + 1; j < n; j++) {
        if (counted > 0 && rate[i][j] / counted >= RHYME_RATE) {
            parent[find(i)] = find(j);
            adj[i].push(j); adj[j].push(i);
        }
    }
    // A rhyme has a fixed tone: a line end whose tone varies is no rhyme.
    const fixed = (i) => {
        if (i === n - 1 || syms[ends[i]] !== '⊙') return true;
        let l = 0, ob = 0;
        for (const m of members) { const t = tones.get(m.chars[ends[i]]); if (t?.tone === '0') l++; else if (t?.tone === '1') ob++; }
        return l + ob > 0 && Math.max(l, ob) / (l + ob) >= 0.7;
    };
    // tone of a rhyme: its symbol, or the majority of its characters
    const toneAt = (i) => {
        const s = syms[ends[i]];
        if (s !== '⊙') return s === '○' ? 'level' : 'oblique';
        let l = 0, ob = 0;
        for (const m of members) { const t = tones.get(m.chars[ends[i]]); if (t?.tone === '0') l++; else if (t?.tone === '1') ob++; }
        return l >= ob ? 'level' : 'oblique';
    };
    const small = members.length < SMALL_SAMPLE;
    let isRhyme;
    let group = (i) => find(i);
    if (small) {
        // Too few ci to tell rhymes from chance: read them off the first ci
        // (the book's example). Its rhymes are the line ends in the section
        // and tone of its last character; a change of rhyme is not told from
        // chance here, so none is marked.
        const ex = members[0];
        const sec = ends.map((e) => tones.get(ex.chars[e])?.sections ?? new Set());
        const tn = ends.map((e) => { const t = tones.get(ex.chars[e])?.tone; return t === '0' ? 'level' : t === '1' ? 'oblique' : null; });
        const shares = (i, j) => [...sec[i]].some((x) => sec[j].has(x));
        const label = new Array(n).fill(-1);
        label[n - 1] = n - 1;
        for (let i = 0; i < n - 1; i++) {
            if (shares(i, n - 1) && (tn[i] === tn[n - 1] || tn[i] === null || tn[n - 1] === null)) label[i] = n - 1;
        }
        isRhyme = label.map((l) => l >= 0);
        group = (i) => label[i];
    } else {
        isRhyme = ends.map((_, i) => i === n - 1 || (fixed(i) && adj[i].some((j) => fixed(j))));
    }
    const markers = new Array(n).fill('');
    let prev = -1;
    for (let i = 0; i < n; i++) {
        if (!isRhyme[i]) continue;
        let m = '(韵)';
        const changes = small ? group(prev) !== group(i) : toneAt(prev) !== toneAt(i) && find(prev) !== find(i);
        if (prev >= 0 && changes) m = toneAt(i) === 'level' ? '(换平韵)' : '(换仄韵)';
        markers[i] = m;
        prev = i;
    }
    return { markers, tones: ends.map((_, i) => (isRhyme[i] ? toneAt(i) : null)) };
}

// The ci books leave the first and third syllable of a closing 平平仄仄平
// free (一三五不论), though poets seldom use that freedom: so do we.
function freeLuju(lens, syms) {
    let o = 0;
    for (const l of lens) {
        if (l === 5 || l === 7) {
            const t = o + l - 5;
            if (syms[t + 1] === '○' && syms[t + 3] === '●' && syms[t + 4] === '○') { syms[t] = '⊙'; syms[t + 2] = '⊙'; }
        }
        o += l;
    }
    return syms;
}

function patternLines(lens, syms) {
    const lines = [];
    let o = 0;
    for (const l of lens) { lines.push(syms.slice(o, o + l).join('')); o += l; }
    return lines;
}

// Where 上片 ends: the split after which the endings of both halves agree
// best (lengths and symbols), the halves as even as possible. -1: one stanza.
function stanzaSplit(lines, markers, name, overrides) {
    const n = lines.length;
    const total = sum(lines.map((l) => l.length));
    if (overrides.has(name)) {
        // A known split holds for the form it was made for: a single stanza
        // for a short form, a line number within the pattern.
        const k = overrides.get(name);
        if ((k < 0 && total < 44) || (k > 0 && k < n && markers[k - 1])) return k;
    }
    let best = { k: -1, score: -Infinity };
    for (let k = 2; k <= n - 2; k++) {
        if (!markers[k - 1]) continue;              // 上片 ends on a rhyme
        let m = 0;
        while (m < k && m < n - k && lines[k - 1 - m] === lines[n - 1 - m]) m++;
        let loose = 0;
        while (loose < k && loose < n - k && lines[k - 1 - loose].length === lines[n - 1 - loose].length) loose++;
        const up = sum(lines.slice(0, k).map((l) => l.length));
        const score = m * 3 + loose * 2 - Math.abs(total - 2 * up) / total * 40;
        if (score > best.score) best = { k, score };
    }
    if (best.k < 0) return -1;
    if (total < 44 && best.score < 4) return -1;
    return best.k;
}

// The stanza splits the heuristic does not find by itself (-1: one stanza).
const STANZA = new Map([
    ['如梦令', -1], ['调笑令', -1], ['忆王孙', -1], ['捣练子', -1], ['十六字令', -1],
    ['渔歌子', -1], ['渔父', -1], ['潇湘神', -1], ['忆江南', -1], ['天净沙', -1],
    ['瑞鹧鸪', 4], ['玉楼春', 4], ['鹧鸪天', 4], ['浣溪沙', 3], ['摊破浣溪沙', 4],
    ['菩萨蛮', 4], ['西江月', 4], ['临江仙', 5], ['清平乐', 4], ['蝶恋花', 5],
    ['减字木兰花', 4], ['卜算子', 4], ['生查子', 4], ['虞美人', 4], ['点绛唇', 4],
    ['霜天晓角', 5], ['水调歌头', 9], ['念奴娇', 10], ['沁园春', 13],
]);

// Tunes whose induced pattern departs from the standard form the ci books
// give, because Song poets wrote the tune in a variant of its own: the
// pattern is then the standard form (正体) of 钦定词谱 (shared/sources/qinding,
// the tune's number there), 平 ○ 仄 ● 中 ⊙. 渔歌子 is 张志和's form
// (西塞山前白鹭飞); the Song ci the induction rests on (陆游's 石帆山下) keep
// to it as well.
const STANDARD_FORMS = new Map([['渔歌子', 22]]);
function standardSymbols(name, length) {
    const file = sourceFile('qinding', 'ci_list', `cipai_${STANDARD_FORMS.get(name)}.json`);
    const form = JSON.parse(fs.readFileSync(file, 'utf8'))[0];
    const map = { 平: '○', 仄: '●', 中: '⊙' };
    const syms = [...form.ge_lyu_str].map((c) => map[c]);
    if (syms.length !== length || syms.some((x) => !x)) throw new Error(`STANDARD_FORMS: ${name} does not fit (${syms.length}/${length})`);
    return syms;
}

// Tunes of three or four stanzas: their form is named, the breaks are left
// to the example.
const MANY_STANZAS = new Map([['兰陵王', '三叠'], ['西河', '三叠'], ['瑞龙吟', '三叠'], ['莺啼序', '四叠']]);

// ---------------------------------------------------------------------------
// Text of the explanation

const DIGITS = '零一二三四五六七八九';
function cnum(n) {
    if (n < 10) return DIGITS[n];
    if (n < 20) return '十' + (n % 10 ? DIGITS[n % 10] : '');
    if (n < 100) return DIGITS[Math.floor(n / 10)] + '十' + (n % 10 ? DIGITS[n % 10] : '');
    const h = Math.floor(n / 100), r = n % 100;
    if (r === 0) return DIGITS[h] + '百';
    if (r < 10) return DIGITS[h] + '百零' + DIGITS[r];
    return DIGITS[h] + '百' + (r < 20 ? '一' : '') + cnum(r);
}
const cnumTwo = (n) => (n === 2 ? '两' : cnum(n));

function rhymeWords(tonesList) {
    const lv = tonesList.filter((t) => t === 'level').length;
    const ob = tonesList.filter((t) => t === 'oblique').length;
    const parts = [];
    // order by first appearance
    const first = tonesList.find((t) => t);
    const order = first === 'oblique' ? [['oblique', ob], ['level', lv]] : [['level', lv], ['oblique', ob]];
    for (const [t, c] of order) if (c) parts.push(`${cnumTwo(c)}${t === 'level' ? '平' : '仄'}韵`);
    return parts.join('') || '无韵';
}

function formPiece(lines, rhymeTones, split, many) {
    const chars = sum(lines.map((l) => l.length));
    if (many) return `${many}，${cnum(chars)}字，${cnum(lines.length)}句，${rhymeWords(rhymeTones)}。`;
    if (split < 0) {
        return `单调，${cnum(chars)}字，${cnum(lines.length)}句，${rhymeWords(rhymeTones)}。`;
    }
    const a = lines.length;
    return `双调，${cnum(chars)}字，上片${cnum(split)}句${rhymeWords(rhymeTones.slice(0, split))}，`
        + `下片${cnum(a - split)}句${rhymeWords(rhymeTones.slice(split))}。`;
}

function splitPiece(n, split, many) {
    if (many) return `全词${cnum(n)}句，分${many}，各叠起止见例词。`;
    if (split < 0) return `全词${cnum(n)}句，一片到底。`;
    return `上片为第一至第${cnum(split)}句，下片为第${cnum(split + 1)}至第${cnum(n)}句。`;
}

const TYPE_HINT = '填写时请一句一行：每个逗号、句号处换行。';
const LEGEND = '○平声 ●仄声 ⊙可平可仄；(韵)押韵处，(换平韵)(换仄韵)换韵处。';

function explanation({ name, lines, rhymeTones, split, example, basis }) {
    const many = MANY_STANZAS.get(name);
    if (many) split = -1;
    const pieces = [TYPE_HINT, formPiece(lines, rhymeTones, split, many), splitPiece(lines.length, split, many), LEGEND, basis];
    pieces.push(`例词：《${example.title}》 ${example.author}`);
    const shown = example.shown;
    shown.forEach((j, i) => {
        if (split > 0 && i === split) pieces.push('〔下片〕');
        pieces.push(j);
    });
    return pieces.map((p) => p.replace(/-/g, '－') + '-').join('');
}

function storedPattern(lines, markers) {
    return lines.map((l, i) => l + markers[i] + '-').join('');
}

// ---------------------------------------------------------------------------
// Checking an example against a pattern as the program does (平水韵).

function mismatches(chars, syms, tones) {
    let bad = 0;
    chars.forEach((c, i) => {
        const t = tones.get(c)?.tone;
        const s = syms[i];
        if (s === '⊙') return;
        if (t === '2') return;
        if (t === undefined) { bad++; return; }
        if ((s === '○') !== (t === '0')) bad++;
    });
    return bad;
}

const STRIPPED = /[韵读句叠]/;

// ---------------------------------------------------------------------------
// 常用词谱

const FAMOUS = ['苏轼', '辛弃疾', '李清照', '柳永', '周邦彦', '姜夔', '秦观', '欧阳修', '晏殊', '晏几道',
    '陆游', '岳飞', '贺铸', '张先', '吴文英', '范仲淹', '王安石', '黄庭坚', '朱敦儒', '张孝祥', '陈与义',
    '史达祖', '王沂孙', '张炎', '蒋捷', '刘克庄', '叶梦得', '朱淑真', '晁补之', '毛滂', '刘过'];

function buildCommon(songci, tones, sanbaiKeys) {
    const byTune = new Map();
    for (const c of songci) {
        if (c.tune === '失调名' || c.tune === '乐语') continue;
        if (!byTune.has(c.tune)) byTune.set(c.tune, []);
        byTune.get(c.tune).push(c);
    }
    const tunes = [...byTune].filter(([, l]) => l.length >= COMMON_MIN)
        .sort((a, b) => b[1].length - a[1].length || (a[0] < b[0] ? -1 : a[0] > b[0] ? 1 : 0));
    const rows = [];
    const report = [];
    for (const [name, list] of tunes) {
        if (rows.length >= COMMON_COUNT) break;
        const cis = list.map((c) => prepare(c, tones)).filter((c) => c.lens.length > 0);
        const dom = dominantStructure(cis);
        if (!dom || dom.support < 10 || dom.support / cis.length < 0.15) {
            report.push({ name, count: list.length, skipped: `no dominant structure (${dom?.support ?? 0} of ${cis.length})` });
            continue;
        }
        const shaped = cis.filter((c) => compatible(c.lens, dom.lens));
        const members = sameRhymeTone(shaped, majorityFinalTone(shaped, tones), tones);
        const standard = STANDARD_FORMS.has(name);
        const raw = standard ? standardSymbols(name, sum(dom.lens)) : symbolsFor(members, dom.lens, tones).syms;
        let syms = standard ? [...raw] : freeLuju(dom.lens, [...raw]);
        // The example: a ci that keeps the pattern, famous first (宋词三百首,
        // then the great names), corpus order last. Its lines must be lines
        // many poets wrote (at least a tenth of the ci of this shape).
        const shapes = new Map();
        for (const c of members) shapes.set(structKey(c.lens), (shapes.get(structKey(c.lens)) ?? 0) + 1);
        const usual = (c) => c.lens.length === dom.lens.length && shapes.get(structKey(c.lens)) >= members.length / 10;
        const candidates = members.filter((c) => c.known && usual(c));
        const rank = (c) => {
            const bad = mismatches(c.chars, syms, tones);
            const famous = sanbaiKeys.has(c.author + '|' + c.chars.slice(0, 6).join('')) ? 0 : FAMOUS.includes(c.author) ? 1 + FAMOUS.indexOf(c.author) / 100 : 2;
            return [bad + (STRIPPED.test(c.chars.join('')) ? 0.5 : 0), famous];
        };
        let best = null, bestRank = null;
        for (const c of candidates) {
            const r = rank(c);
            if (!best || r[0] < bestRank[0] || (r[0] === bestRank[0] && r[1] < bestRank[1])) { best = c; bestRank = r; }
        }
        if (!best) { report.push({ name, count: list.length, skipped: 'no example' }); continue; }
        // The pattern takes the example's lines, so that line k of the one
        // meets line k of the other.
        syms = standard ? [...raw] : freeLuju(best.lens, [...raw]);
        // The example shown with a pattern keeps it: a position where the
        // example's character has the other tone only (多丽: 色, 此) is
        // either-tone, as a Song master wrote it so.
        best.chars.forEach((c, i) => {
            const t = tones.get(c)?.tone;
            if (syms[i] !== '⊙' && (t === '0' || t === '1') && (syms[i] === '○') !== (t === '0')) syms[i] = '⊙';
        });
        const lines = patternLines(best.lens, syms);
        const { markers, tones: rhymeTones } = findRhymes(members, best.lens, tones, syms);
        const split = stanzaSplit(lines, markers, name, STANZA);
        const example = { title: `${name}・${best.ju[0]}`, author: best.author, shown: splitJuShown(best.text) };
        const basis = standard
            ? `格律依《钦定词谱》正体；全宋词中本调同体的${cnum(members.length)}首（本调共${cnum(list.length)}首）可资参照。`
            : `格律由全宋词中本调同体的${cnum(members.length)}首归纳（本调共${cnum(list.length)}首）。`;
        rows.push({ name, pattern: storedPattern(lines, markers), text: explanation({ name, lines, rhymeTones, split, example, basis }) });
        report.push({ name, count: list.length, members: members.length, lines, markers, split, example: `${best.author} ${best.ju[0]}`, bad: bestRank[0] });
    }
    return { rows, report };
}

// ---------------------------------------------------------------------------
// 白香词谱: the book itself (lib/baixiang-book.mjs), converted to simplified
// characters. The pattern is the book's, line by line, in its own symbols (△
// and ▲ mark the rhymes); the book's notes (叠句, 换平韵 …) stand beside their
// line of the example in the explanation.

// Slips of the transcription, each checked against the other editions of the
// text; a fix that no longer applies stops the build.
const BAIXIANG_NAMES = new Map([['清玉案', '青玉案'], ['雨淋铃', '雨霖铃']]);
const BAIXIANG_AUTHORS = new Map([['李景', '李璟'], ['宋祈', '宋祁'], ['张升', '张昇'], ['萨都拉', '萨都剌']]);
// Characters the transcription lacks (□), by tune number: [line as converted, line as printed].
const BAIXIANG_TEXT = [
    [12, '罗袖□残殷色可，', '罗袖裛残殷色可，'], [12, '杯深旋被香醪□。', '杯深旋被香醪涴。'],
    [13, '手□红杏蕊。', '手挼红杏蕊。'], [42, '渐酒空金□，', '渐酒空金榼，'],
    [51, '露□烘炉，', '露浥烘炉，'], [56, '□酒恹恹病。', '殢酒恹恹病。'], [56, '未□整。', '未忺整。'],
    [57, '长烟袅□，', '长烟袅穟，'], [61, '短艇湖中闲采□。', '短艇湖中闲采莼。'],
    [79, '斗帐春寒起未□。', '斗帐春寒起未忺。'], [79, '闲把绣丝□，', '闲把绣丝挦，'],
    [86, '胭脂井坏寒□泣。', '胭脂井坏寒螀泣。'], [99, '疏篱□，', '疏篱罥，'],
];
// Pattern lines with a symbol too many, by tune number: [line, as transcribed, as meant].
const BAIXIANG_PATTERN = [
    [26, '彩舟云淡，', '●○○○●', '●○○●'], [41, '常记那回，', '⊙●●●○', '⊙●●○'],
    [50, '静锁一庭愁雨。', '●●●⊙○○▲', '●●⊙○○▲'], [50, '桃李自春，', '⊙●●⊙○', '⊙●●○'],
    [58, '才簪又重数。', '⊙○●●○▲', '⊙○●○▲'], [69, '润侵山阁，', '⊙⊙○⊙●', '⊙○⊙●'],
];
const BOOK_LEGEND = '○平声 ●仄声 ⊙可平可仄 △平韵 ▲仄韵。';
const BOOK_CHAR = /[\u3400-\u9fff\uf900-\ufaff□]/;

async function buildBaixiang(tones) {
    const OpenCC = await import('opencc-js');
    const toSimp = OpenCC.Converter({ from: 't', to: 'cn' });
    const textFixes = new Map(BAIXIANG_TEXT.map(([no, from, to]) => [`${no}|${from}`, to]));
    const patternFixes = new Map(BAIXIANG_PATTERN.map(([no, line, from, to]) => [`${no}|${line}|${from}`, to]));
    const used = new Set();
    const rows = [];
    const report = [];
    for (const e of readBaixiangBook()) {
        let name = toSimp(e.tune);
        name = BAIXIANG_NAMES.get(name) ?? name;
        let author = toSimp(e.author);
        author = BAIXIANG_AUTHORS.get(author) ?? author;
        const title = toSimp(e.title);
        const stanzas = e.stanzas.map((st) => st.map((l) => {
            let text = toSimp(l.text);
            const tk = `${e.no}|${text}`;
            if (textFixes.has(tk)) { used.add(`t${tk}`); text = textFixes.get(tk); }
            let pattern = l.pattern;
            const pk = `${e.no}|${text}|${pattern}`;
            if (patternFixes.has(pk)) { used.add(`p${pk}`); pattern = patternFixes.get(pk); }
            const chars = [...text].filter((c) => BOOK_CHAR.test(c));
            if (chars.length !== [...pattern].length) {
                throw new Error(`白香词谱 ${e.no} ${name}: ${text} against ${pattern}`);
            }
            // A line the book prints with a comma inside (寻好梦，梦难成) is
            // two lines for the writer; its notes go with the last.
            const parts = text.match(/[^，。？！、；]+[，。？！、；]?/g);
            let at = 0;
            return parts.map((part, i) => {
                const n = [...part].filter((c) => BOOK_CHAR.test(c)).length;
                const piece = { text: part, chars: chars.slice(at, at + n), pattern: [...pattern].slice(at, at + n).join(''),
                    notes: i === parts.length - 1 ? l.notes.map(toSimp) : [] };
                at += n;
                return piece;
            });
        }).flat());
        const lines = stanzas.flat();
        const split = stanzas.length > 1 ? stanzas[0].length : -1;
        const rhymeTones = lines.map((l) => ({ '△': 'level', '▲': 'oblique' })[l.pattern.at(-1)] ?? null);
        const pieces = [TYPE_HINT, formPiece(lines.map((l) => l.pattern), rhymeTones, split, null),
            splitPiece(lines.length, split, null), BOOK_LEGEND, `例词：《${name}・${title}》 ${author}`];
        lines.forEach((l, i) => {
            if (i === split) pieces.push('〔下片〕');
            pieces.push(l.text + l.notes.map((n) => `〔${n}〕`).join(''));
        });
        rows.push({ name, pattern: lines.map((l) => l.pattern + '-').join(''),
            text: pieces.map((p) => p.replace(/-/g, '－') + '-').join('') });
        // Positions where the example reads otherwise than its own pattern
        // under 平水韵 (the book's example departs, or the dictionary reads
        // the character otherwise).
        const against = [];
        for (const l of lines) {
            [...l.pattern].forEach((sym, i) => {
                const c = l.chars[i];
                const t = tones.get(c)?.tone;
                const level = sym === '○' || sym === '△';
                const oblique = sym === '●' || sym === '▲';
                if ((level && t !== '0' && t !== '2') || (oblique && t !== '1' && t !== '2')) {
                    against.push(`${l.text}:${c}${sym}`);
                }
            });
        }
        report.push({ no: e.no, name, title, author, lines: lines.length, split, against });
    }
    for (const [no, from] of BAIXIANG_TEXT) if (!used.has(`t${no}|${from}`)) throw new Error(`白香词谱 text fix ${no} ${from} does not apply`);
    for (const [no, line, from] of BAIXIANG_PATTERN) if (!used.has(`p${no}|${line}|${from}`)) throw new Error(`白香词谱 pattern fix ${no} ${line} does not apply`);
    const departures = report.filter((r) => r.against.length);
    log(`白香词谱: ${departures.reduce((a, r) => a + r.against.length, 0)} positions of ${departures.length} examples read against their pattern`);
    return { rows, report };
}

// ---------------------------------------------------------------------------

function writeBook(name, rows) {
    const out = ['篇名\t格律\t正文'];
    for (const r of rows) out.push([r.name, r.pattern, r.text].map(escapeField).join('\t'));
    fs.mkdirSync(seedDir, { recursive: true });
    fs.writeFileSync(path.join(seedDir, `${name}.tsv`), out.join('\n') + '\n');
    log(`${name}.tsv: ${rows.length} tunes`);
}

async function main() {
    const tones = await loadTones();
    const songci = loadSongCi();
    const others = loadOtherSources();
    const sanbaiKeys = new Set(others.filter((c) => c.source === '宋词三百首')
        .map((c) => c.author + '|' + [...splitJu(c.text).join('')].slice(0, 6).join('')));
    const common = buildCommon(songci, tones, sanbaiKeys);
    writeBook('常用词谱', common.rows);
    const baixiang = await buildBaixiang(tones);
    writeBook('白香词谱', baixiang.rows);
    if (reportPath) {
        fs.writeFileSync(reportPath, JSON.stringify({ tones: tones.source, common: common.report, baixiang: baixiang.report }, null, 1) + '\n');
    }
}

main().catch((e) => { console.error(e); process.exit(1); });

// SPDX-License-Identifier: GPL-3.0-or-later
// Builds data/seed/钦定词谱.tsv: every form (正体 and 又一体) of every tune of
// the 钦定词谱 (王奕清 等, 1715) from the structured edition in
// shared/sources/qinding (ci_index.json and ci_list/cipai_<idx>.json).
//
// One row per form:
//   词牌   the tune's first name
//   别名   its other names, joined by 、
//   体     the form's number within the tune, from 1 (1 is the 正体)
//   类     正体 or 又一体
//   字数   the number of syllables of the pattern
//   格律   the pattern clause by clause: 平 仄 中 (either) per syllable, and
//          after each clause its end as the book marks it: 韵 (a rhyme),
//          句 (a line end without rhyme) or 读 (a pause within a line)
//   韵位   the rhyme positions, 1-based over the whole pattern, by rhyme set:
//          the sets joined by |, the positions of one set by ,
//   例     the book's example, clause by clause joined by /
//
// Deterministic: the same source gives a byte-identical file.

import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { sourcesDir } from './lib/sources.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const seedDir = path.resolve(here, '..', 'seed');
const sourceDir = path.join(sourcesDir(), 'qinding');
const quiet = process.argv.includes('--quiet');
const log = (...a) => { if (!quiet) console.error('[qinding]', ...a); };

const SYLLABLE = new Set(['平', '仄', '中']);
const END = new Set(['韵', '句', '读', '叶', '叠', '重']);

const clean = (s) => String(s).replace(/[\t\r\n]/g, ' ').trim();

// The clauses of a form: syllables up to each end mark the book prints
// (韵, 句, 读, and 叶, 叠, 重 after a clause that rhymes in a related tone
// or repeats). A clause ends in 韵 where its last syllable is one of the
// form's rhyme positions. 换平韵 and 换仄韵 open a new rhyme set (the rhyme
// positions carry it); the words of refrains (竹枝, 女儿 …) are no
// syllables.
function clausesOf(form, rhymes) {
    const clauses = [];
    let current = '';
    let at = 0;
    const text = form.ge_lyu_sep.join('').replace(/换[平仄]?韵/g, '韵');
    const close = (mark) => {
        if (!current) return;
        clauses.push(current + (rhymes.has(at - 1) ? '韵' : mark === '读' ? '读' : '句'));
        current = '';
    };
    for (const ch of text) {
        if (SYLLABLE.has(ch)) {
            current += ch;
            ++at;
        } else if (END.has(ch)) {
            close(ch);
        }
    }
    close('句');
    const plain = clauses.map((c) => c.slice(0, -1)).join('');
    if (plain === form.ge_lyu_str) return clauses;
    return clausesOfExample(form, rhymes);
}

// Where the clause marks do not add up (the book's 平韵 / 仄韵 after a
// clause read as a syllable), the clauses of the example: each clause of
// the example ci takes as many syllables of the pattern as it has
// characters, and ends in 韵 where the pattern rhymes, otherwise in 句.
function clausesOfExample(form, rhymes) {
    const clauses = [];
    let at = 0;
    for (const part of form.ci_sep) {
        for (const clause of clean(part).split(/[\s\u3000]+/).filter(Boolean)) {
            const n = [...clause].length;
            if (at + n > form.ge_lyu_str.length) return null;
            clauses.push(form.ge_lyu_str.slice(at, at + n) + (rhymes.has(at + n - 1) ? '韵' : '句'));
            at += n;
        }
    }
    return at === form.ge_lyu_str.length ? clauses : null;
}

// The rhyme positions by set. The source writes a rhyme in the other tone
// of a set (平仄通叶) as a negative position; the pattern gives its tone.
function rhymeSets(form) {
    const sets = Object.keys(form.yun_classify)
        .sort((a, b) => Number(a) - Number(b))
        .map((k) => form.yun_classify[k].map((p) => Math.abs(p)).sort((a, b) => a - b));
    const length = form.ge_lyu_str.length;
    for (const set of sets) {
        for (const p of set) {
            if (!Number.isInteger(p) || p < 0 || p >= length) return null;
        }
    }
    // Sets in the order their first rhyme comes.
    sets.sort((a, b) => a[0] - b[0]);
    return sets.map((s) => s.map((p) => p + 1).join(',')).join('|');
}

function example(form) {
    return form.ci_sep.map((c) => clean(c).split(/[\s\u3000]+/).filter(Boolean).join('/')).join('/');
}

function main() {
    const index = JSON.parse(fs.readFileSync(path.join(sourceDir, 'ci_index.json'), 'utf8'));
    const out = ['词牌\t别名\t体\t类\t字数\t格律\t韵位\t例'];
    let forms = 0;
    let dropped = 0;
    for (const tune of [...index].sort((a, b) => a.idx - b.idx)) {
        const file = path.join(sourceDir, 'ci_list', `cipai_${tune.idx}.json`);
        if (!fs.existsSync(file)) {
            log(`no forms for ${tune.names[0]} (${file})`);
            continue;
        }
        const list = JSON.parse(fs.readFileSync(file, 'utf8'));
        const [name, ...aliases] = tune.names.map(clean);
        list.forEach((form, i) => {
            const clauses = clausesOf(form, new Set(form.rhyme_pos));
            const rhymes = rhymeSets(form);
            if (!clauses || rhymes === null) {
                ++dropped;
                return;
            }
            ++forms;
            out.push([name, aliases.join('、'), String(i + 1), i === 0 ? '正体' : '又一体',
                String(form.ge_lyu_str.length), clauses.join(''), rhymes, example(form)].join('\t'));
        });
    }
    fs.mkdirSync(seedDir, { recursive: true });
    fs.writeFileSync(path.join(seedDir, '钦定词谱.tsv'), out.join('\n') + '\n');
    log(`钦定词谱.tsv: ${index.length} tunes, ${forms} forms (${dropped} forms whose clauses do not add up left out)`);
}

main();

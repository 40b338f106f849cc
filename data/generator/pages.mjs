// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the knowledge pages (常识) from the text files in pages/: one file
// per page, in file-name order. The first line of a file is the page title,
// every further non-empty line one paragraph; paragraphs are joined with
// CR LF, as the page box shows them.
//
//   node pages.mjs            writes ../seed/常识.tsv
import { readdirSync, readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import { dirname, join } from 'node:path';
import { writeTable as writeTsv } from './lib/tsv.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const pageDir = join(here, 'pages');
const seedDir = join(here, '../seed');

const MIN_LENGTH = 400;
const MAX_LENGTH = 1500;

const files = readdirSync(pageDir).filter((f) => f.endsWith('.txt'))
  .sort((a, b) => (a < b ? -1 : a > b ? 1 : 0));

const rows = files.map((file) => {
  const lines = readFileSync(join(pageDir, file), 'utf8')
    .replace(/^\uFEFF/, '').split(/\r?\n/)
    .map((l) => l.replace(/^[ \t]+|[ \t]+$/g, ''));
  const title = lines[0];
  const paragraphs = lines.slice(1).filter((l) => l.length > 0);
  const content = paragraphs.join('\r\n');
  const length = paragraphs.join('').length;
  if (!title) throw new Error(`${file}: no title`);
  if (length < MIN_LENGTH || length > MAX_LENGTH) {
    throw new Error(`${file}: ${length} characters, expected ${MIN_LENGTH} to ${MAX_LENGTH}`);
  }
  if (/[\t|]/.test(title + content)) throw new Error(`${file}: tab or "|" in the text`);
  return [title, content];
});

writeTsv(join(seedDir, '常识.tsv'), ['标题', '内容'], rows);
console.log(`常识: ${rows.length} pages`);

// Writing seed tables: UTF-8 without BOM, LF line ends, a header line of
// column names, one row per line, backslash escapes inside fields.
import { writeFileSync, mkdirSync } from 'node:fs';
import { dirname } from 'node:path';

export function escapeField(value) {
  if (value === null || value === undefined) return '';
  return String(value)
    .replace(/\\/g, '\\\\')
    .replace(/\t/g, '\\t')
    .replace(/\n/g, '\\n')
    .replace(/\r/g, '\\r');
}

export function writeTsv(path, columns, rows) {
  const lines = [columns.join('\t')];
  for (const row of rows) lines.push(row.map(escapeField).join('\t'));
  mkdirSync(dirname(path), { recursive: true });
  writeFileSync(path, lines.join('\n') + '\n', 'utf8');
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Writing seed tables: UTF-8 without BOM, LF line ends, a header line of the
// column names (no id), backslash escapes, "\N" for a null field.
import { writeFileSync, mkdirSync } from 'node:fs';
import { dirname } from 'node:path';

export function escapeField(value) {
  if (value === null || value === undefined) return '\\N';
  return String(value)
    .replace(/\\/g, '\\\\')
    .replace(/\t/g, '\\t')
    .replace(/\n/g, '\\n')
    .replace(/\r/g, '\\r');
}

// rows: arrays of field values, in insertion order.
export function writeTable(path, columns, rows) {
  const lines = [columns.join('\t')];
  for (const row of rows) {
    if (row.length !== columns.length) {
      throw new Error(`${path}: row has ${row.length} fields, expected ${columns.length}`);
    }
    lines.push(row.map(escapeField).join('\t'));
  }
  mkdirSync(dirname(path), { recursive: true });
  writeFileSync(path, lines.join('\n') + '\n', 'utf8');
  return rows.length;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The public reference files the seed is built from besides the npm
// packages: the 平水韵 table and the text of 白香词谱. They live in the
// folder shared/sources beside the project (README there); VERSILO_SOURCES
// names another folder.
import { existsSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import { dirname, join, resolve } from 'node:path';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '..', '..', '..');

export function sourcesDir() {
  if (process.env.VERSILO_SOURCES) return process.env.VERSILO_SOURCES;
  for (let dir = root; ; dir = dirname(dir)) {
    const candidate = join(dir, '..', 'shared', 'sources');
    if (existsSync(candidate)) return resolve(candidate);
    if (dirname(dir) === dir) break;
  }
  throw new Error('shared/sources not found beside the project (set VERSILO_SOURCES)');
}

export function sourceFile(...parts) {
  const path = join(sourcesDir(), ...parts);
  if (!existsSync(path)) throw new Error(`missing source file ${path}`);
  return path;
}

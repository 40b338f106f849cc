// SPDX-License-Identifier: GPL-3.0-or-later
// Regenerates every seed table in ../seed: runs the table builders one after
// the other, each as its own node process, and stops at the first failure.
//   cd data/generator && npm ci && node generate.mjs
import { spawnSync } from 'node:child_process';
import { existsSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import { dirname, join } from 'node:path';

const here = dirname(fileURLToPath(import.meta.url));
const STEPS = ['rhymes.mjs', 'books.mjs', 'library.mjs', 'pages.mjs', 'words.mjs', 'rhymewords.mjs', 'qinding.mjs',
  'facing.mjs'];

if (!existsSync(join(here, 'node_modules'))) {
  console.error('node_modules is missing: run "npm ci" in data/generator first');
  process.exit(1);
}

for (const step of STEPS) {
  const script = join(here, step);
  if (!existsSync(script)) {
    console.log(`-- ${step}: not present, skipped`);
    continue;
  }
  console.log(`-- ${step}`);
  const run = spawnSync(process.execPath, [script], { cwd: here, stdio: 'inherit' });
  if (run.error || run.status !== 0) {
    const why = run.error ? run.error.message
      : run.signal ? `killed by ${run.signal}` : `exit code ${run.status}`;
    console.error(`${step} failed (${why}); stopping`);
    process.exit(run.status || 1);
  }
}
console.log('seed tables written to data/seed');

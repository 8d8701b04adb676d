// Lighthouse's four category scores for the browser build, with its mobile and its desktop
// preset, in Debian's chromium; and the audits that cost points.
//   (cd bench/lighthouse && npm ci) && node bench/lighthouse.mjs [SITE]
// SITE defaults to the tests' site folder (VORKELM_SITE, else build/web).
import { execFile } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { promisify } from 'node:util';
import { serve, settings } from '../tests/web/browser.mjs';

const site = process.argv[2] || settings.site;
const lighthouse = path.join(path.dirname(new URL(import.meta.url).pathname),
  'lighthouse/node_modules/.bin/lighthouse');
if (!fs.existsSync(path.join(site, 'index.html')) || !fs.existsSync(lighthouse)) {
  console.error('usage: node bench/lighthouse.mjs [SITE]   (needs SITE/index.html and ' +
    '`npm ci` in bench/lighthouse)');
  process.exit(2);
}

const server = await serve({ '/': site });
const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vorkelm-lighthouse-'));
try {
  for (const preset of ['mobile', 'desktop']) {
    const report = path.join(folder, `${preset}.json`);
    const presetFlag = preset === 'desktop' ? ['--preset=desktop'] : [];
    await promisify(execFile)(lighthouse, [server.url, ...presetFlag,
      '--chrome-flags=--headless=new --no-sandbox', '--output=json', `--output-path=${report}`,
      '--quiet'], { env: { ...process.env, CHROME_PATH: '/usr/bin/chromium' } });
    const { categories, audits } = JSON.parse(fs.readFileSync(report, 'utf8'));
    const scores = Object.values(categories).map((c) => `${c.title} ${Math.round(c.score * 100)}`);
    console.log(`${preset}: ${scores.join(', ')}`);
    for (const category of Object.values(categories)) {
      for (const ref of category.auditRefs) {
        const audit = audits[ref.id];
        if (ref.weight > 0 && audit.score !== null && audit.score < 1)
          console.log(`  ${category.title}: ${audit.title} (${audit.displayValue || audit.score})`);
      }
    }
  }
} finally {
  server.close();
  fs.rmSync(folder, { recursive: true, force: true });
}

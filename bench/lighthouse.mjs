// Lighthouse's four category scores for the browser build, with its mobile and its desktop
// preset, in Debian's chromium; the audits that cost points; and how much of the main thread's
// blocking after the first paint is the page's own work rather than waiting for a core.
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

// The presets' CPU slowdown: each task counts this many times as long as it took here, and what
// passes 50 ms of that blocks.
const SLOWDOWN = { mobile: 4, desktop: 1 };

// Blocking time of the main thread's tasks after the first contentful paint in a trace: by wall
// time, as Lighthouse takes it, and by the thread's own CPU time, which leaves out the time the
// thread waited while other processes had the machine's cores.
function blockingAfterFirstPaint(traceFile, slowdown) {
  const { traceEvents } = JSON.parse(fs.readFileSync(traceFile, 'utf8'));
  const paint = traceEvents.find((e) => e.name === 'firstContentfulPaint');
  if (!paint)
    return null;
  const tasks = traceEvents.filter((e) => e.name === 'RunTask' && e.ph === 'X' &&
    e.pid === paint.pid && e.tid === paint.tid && e.ts + e.dur > paint.ts);
  const blocking = (microseconds) => Math.round(tasks.reduce((sum, task) =>
    sum + Math.max(0, slowdown * microseconds(task) / 1000 - 50), 0));
  return { wall: blocking((task) => task.dur), cpu: blocking((task) => task.tdur ?? task.dur) };
}

const server = await serve({ '/': site });
const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vorkelm-lighthouse-'));
try {
  for (const preset of ['mobile', 'desktop']) {
    const report = path.join(folder, `${preset}.json`);
    const presetFlag = preset === 'desktop' ? ['--preset=desktop'] : [];
    await promisify(execFile)(lighthouse, [server.url, ...presetFlag,
      '--chrome-flags=--headless=new --no-sandbox', '--output=json', `--output-path=${report}`,
      '--quiet', '--save-assets'], { env: { ...process.env, CHROME_PATH: '/usr/bin/chromium' } });
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
    const blocking = blockingAfterFirstPaint(path.join(folder, `${preset}-0.trace.json`),
      SLOWDOWN[preset]);
    if (blocking) {
      console.log(`  main thread after the first paint, blocking as the preset counts it: ` +
        `${blocking.wall} ms by wall time, ${blocking.cpu} ms by its own CPU time`);
    }
  }
} finally {
  server.close();
  fs.rmSync(folder, { recursive: true, force: true });
}

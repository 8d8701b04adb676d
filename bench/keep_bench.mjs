// How long the page takes to continue a ten-hour game (180,000 ticks, a press every other tick)
// from the module's start to its first tick, against a new game, in headless chromium; and the
// size of a save at four tables (bench/save_bench.cpp, which also writes the ten-hour save); and how
// long a replay link of that game takes to jump to its end.
//   node bench/keep_bench.mjs      (after ./test, or the native and browser builds and npm ci in
//                                   tests/web; see settings in tests/web/browser.mjs)
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { TYPES, serve, launch, settings } from '../tests/web/browser.mjs';

const RUNS = 5;
fs.mkdirSync('build/keep-bench', { recursive: true });
const saveFile = 'build/keep-bench/ten-hours.save';
console.log(execFileSync('build/native/bench/vorkelm-save-bench', [saveFile], { encoding: 'utf8' }));
const save = fs.readFileSync(saveFile, 'utf8');

// The module's factory as the bench's server sends it: the module's start marked by a preRun
// hook, the save's loading timed by the page's call before the first tick, and the first tick
// after it caught by a 1 ms poll.
const script = fs.readFileSync(path.join(settings.site, 'vorkelm.js'), 'utf8');
const EXPORT = 'export default Module;';
if (!script.includes(EXPORT)) throw new Error(`vorkelm.js does not end in "${EXPORT}"`);
const instrumented = script.replace(EXPORT, `export default (module) => {
  module.preRun = [() => { window.benchStart = performance.now(); }];
  const page = module.page;
  module.page = { ...page, starting: () => {
    page.starting();
    window.benchLoaded = performance.now() - window.benchStart;
    const ticks = module._vorkelm_ticks();
    const poll = setInterval(() => {
      if (module._vorkelm_ticks() > ticks) {
        window.benchFirstTick = performance.now() - window.benchStart;
        window.benchTicks = ticks;
        clearInterval(poll);
      }
    }, 1);
  } };
  return Module(module);
};`);

const server = await serve({ '/': settings.site }, null, (urlPath) => (urlPath === '/vorkelm.js'
  ? { headers: { 'Content-Type': TYPES['.js'] }, body: instrumented } : null));
const browser = await launch();
const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];
for (const [what, saved] of [['continue the ten-hour game', save], ['a new game', null]]) {
  const loaded = [];
  const firstTick = [];
  for (let run = 0; run < RUNS; ++run) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    if (saved) await page.evaluateOnNewDocument((text) => localStorage.setItem('vorkelm-save', text), saved);
    await page.goto(server.url);
    await page.waitForFunction(() => window.benchFirstTick !== undefined, { timeout: 30000 });
    const result = await page.evaluate(() => [window.benchLoaded, window.benchFirstTick, window.benchTicks]);
    if (saved && result[2] !== 180000) throw new Error(`continued at tick ${result[2]}`);
    loaded.push(result[0]);
    firstTick.push(result[1]);
    await context.close();
  }
  console.log(`${what}: module start to the game in place ${median(loaded).toFixed(1)} ms, to the ` +
    `first tick ${median(firstTick).toFixed(1)} ms (median of ${RUNS}; first ticks ` +
    `${firstTick.map((t) => t.toFixed(0)).join(', ')} ms)`);
}

// The same game as a shared link: how long its jump to the end takes.
{
  const context = await browser.createBrowserContext();
  const sharer = await context.newPage();
  await sharer.evaluateOnNewDocument((saved) => localStorage.setItem('vorkelm-save', saved), save);
  await sharer.goto(server.url);
  await sharer.waitForFunction(() => window.vorkelm && vorkelm.ticks() > 0, { timeout: 30000 });
  const [link, ticks] = await sharer.evaluate(() => {
    document.getElementById('keep-share').click();
    return [document.getElementById('keep-link').value, vorkelm.ticks()];
  });
  const code = link.split('#replay=')[1];
  const viewer = await (await browser.createBrowserContext()).newPage();
  await viewer.goto(`${server.url}#replay=${code}`);
  await viewer.waitForSelector('#keep-jump');
  const start = Date.now();
  await viewer.click('#keep-jump');
  await viewer.waitForFunction((end) => vorkelm.ticks() >= end, { timeout: 600000, polling: 200 },
    ticks);
  console.log(`jump to the end of its replay (${ticks} ticks, a ${code.length}-character code): ` +
    `${((Date.now() - start) / 1000).toFixed(1)} s`);
  await context.close();
}
console.log(`chromium ${await browser.version()}`);
await browser.close();
server.close();

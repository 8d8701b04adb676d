// Times the browser build's first whole frame in headless chromium: from the start of the page's
// load to the first tick shown, with every picture in it, over the loopback and under Chromium's
// "Fast 3G" and "Slow 3G" emulation, each run with a cold cache and no service worker. Also
// prints what a first visit downloads.
//   node bench/web_load_bench.mjs [runs on the loopback]   (after a web build and npm ci in tests/web)
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { serve, launch, settings, PredefinedNetworkConditions } from '../tests/web/browser.mjs';

const loopbackRuns = Number(process.argv[2] || 5);
const links = [
  ['loopback', null, loopbackRuns],
  ['Fast 3G', PredefinedNetworkConditions['Fast 3G'], 3],
  ['Slow 3G', PredefinedNetworkConditions['Slow 3G'], 2],
];

// The first shown tick, by the page's own clock (milliseconds since its navigation began), and
// whether every picture had arrived by then: the back wall, drawn first, is not black. Watched
// from the start of the document, one check a frame.
function watchFirstFrame() {
  const check = () => {
    if (window.vorkelm && vorkelm.ticks() > 0) {
      const shown = document.getElementById('client').getContext('2d')
        .getImageData(110, 30, 1, 1).data;
      window.firstFrame = { ms: performance.now(), whole: shown[0] + shown[1] + shown[2] > 0 };
    } else {
      requestAnimationFrame(check);
    }
  };
  check();
}

const server = await serve({ '/': settings.site });
const browser = await launch('chromium');
console.log(`chromium ${await browser.version()}, ${settings.site}`);
for (const [name, conditions, runs] of links) {
  const times = [];
  for (let run = 0; run < runs; ++run) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    let bytes = 0;
    page.on('response', async (response) => {
      bytes += Number(response.headers()['content-length'] || 0);
    });
    if (conditions) await page.emulateNetworkConditions(conditions);
    await page.evaluateOnNewDocument(watchFirstFrame);
    await page.goto(server.url, { waitUntil: 'domcontentloaded', timeout: 120000 });
    const frame = await (await page.waitForFunction(() => window.firstFrame,
      { timeout: 120000, polling: 200 })).jsonValue();
    times.push(frame.ms);
    console.log(`  ${name} run ${run + 1}: first whole frame at ${(frame.ms / 1000).toFixed(2)} s` +
      `${frame.whole ? '' : ' (pictures missing)'}, ${(bytes / 1024).toFixed(0)} KB fetched`);
    await context.close();
  }
  times.sort((a, b) => a - b);
  console.log(`${name}: first whole frame ${(times[0] / 1000).toFixed(2)} to ` +
    `${(times[times.length - 1] / 1000).toFixed(2)} s over ${runs} runs`);
}
await browser.close();
server.close();

const files = fs.readdirSync(settings.site);
const sizes = files.map((f) => fs.readFileSync(path.join(settings.site, f)));
const raw = sizes.reduce((sum, b) => sum + b.length, 0);
const gzipped = sizes.reduce((sum, b) => sum + zlib.gzipSync(b, { level: 9 }).length, 0);
console.log(`${settings.site}: ${files.length} files, ${(raw / 1024).toFixed(0)} KB, ` +
  `${(gzipped / 1024).toFixed(0)} KB with every file at gzip -9`);

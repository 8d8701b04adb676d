// Times the browser build's whole tick in headless chromium, at the initial table and at a full
// one, with sound on (a click lets the page play), and reports the gzipped size of build/web.
//   node bench/web_bench.mjs      (needs tests/web/node_modules: ./test, or npm ci there)
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import zlib from 'node:zlib';
import { serve, launch } from '../tests/web/browser.mjs';

const run = (command, ...args) => execFileSync(command, args, { stdio: ['ignore', 'ignore', 'inherit'] });
run('emcmake', 'cmake', '-S', '.', '-B', 'build/web-bench', '-DCMAKE_BUILD_TYPE=Release');
run('cmake', '--build', 'build/web-bench', '--target', 'vorkelm-web-bench');

const server = await serve({ '/': 'build/web-bench' });
const browser = await launch();
const page = await browser.newPage();
page.on('console', (message) => console.log(message.text()));
await page.goto(`${server.url}web_bench.html`);
await page.click('canvas');
await page.waitForFunction(() => window.benchDone, { timeout: 120000 });
console.log(`chromium ${await browser.version()}`);
await browser.close();
server.close();

if (fs.existsSync('build/web/index.html')) {
  const files = fs.readdirSync('build/web').filter((f) => /\.(html|js|wasm|css|ico|bmp|wav)$/.test(f));
  const bytes = files.reduce((sum, f) => sum + zlib.gzipSync(fs.readFileSync(`build/web/${f}`), { level: 9 }).length, 0);
  console.log(`build/web: ${files.length} files, ${(bytes / 1024).toFixed(1)} KB gzipped (each file at gzip -9)`);
}

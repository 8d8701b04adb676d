// Times the browser build's whole tick in headless chromium, at the initial table and at a full
// one, with sound on (a click lets the page play). bench/web_load_bench.mjs gives the site's size.
//   node bench/web_bench.mjs      (needs tests/web/node_modules: ./test, or npm ci there)
import { execFileSync } from 'node:child_process';
import { serve, launch } from '../tests/web/browser.mjs';

const run = (command, ...args) => execFileSync(command, args, { stdio: ['ignore', 'ignore', 'inherit'] });
run('emcmake', 'cmake', '-S', '.', '-B', 'build/web-bench', '-DCMAKE_BUILD_TYPE=Release');
run('cmake', '--build', 'build/web-bench', '--target', 'vorkelm-web-bench');

const server = await serve({ '/': 'build/web-bench/site' });
const browser = await launch('chromium');
const page = await browser.newPage();
page.on('console', (message) => console.log(message.text()));
await page.goto(`${server.url}web_bench.html`);
await page.click('canvas');
await page.waitForFunction(() => window.benchDone, { timeout: 120000 });
console.log(`chromium ${await browser.version()}`);
await browser.close();
server.close();


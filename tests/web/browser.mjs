// Serving a folder on 127.0.0.1 and starting Debian's chromium headless, for the web tests and
// the web benchmark.
import http from 'node:http';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.ico': 'image/x-icon', '.bmp': 'image/bmp', '.wav': 'audio/wav',
};

// Serves the files under `roots` (URL prefix to folder) on a free port; `hide` answers 404 for
// the paths it matches, as a server without those files would.
export async function serve(roots, hide = null) {
  const server = http.createServer((request, response) => {
    const urlPath = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const prefix = Object.keys(roots).filter((p) => urlPath.startsWith(p))
      .sort((a, b) => b.length - a.length)[0];
    const file = path.join(roots[prefix], urlPath.slice(prefix.length) || 'index.html');
    if ((hide && hide.test(urlPath)) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() };
}

export async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vorkelm-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run',
      `--user-data-dir=${profile}`],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, { recursive: true, force: true, maxRetries: 10, retryDelay: 100 });
  };
  return browser;
}

// Where the tests find the site, the native replay runner and the folder for screenshots.
export const settings = {
  site: process.env.VORKELM_SITE || 'build/web',
  sim: process.env.VORKELM_SIM || 'build/native/vorkelm-sim',
  shots: process.env.VORKELM_SHOTS || 'build/web-test',
};

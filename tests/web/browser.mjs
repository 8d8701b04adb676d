// Serving a folder on 127.0.0.1 and starting Debian's chromium or firefox-esr headless, or
// WebKitGTK's MiniBrowser on the display, for the web tests and the web benchmarks.
import http from 'node:http';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';
import { launchWebKit } from './webkit.mjs';

// Chromium's own network presets ("Fast 3G", "Slow 3G"), for the loading benchmark.
export { PredefinedNetworkConditions } from 'puppeteer-core';

export const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.ico': 'image/x-icon', '.bmp': 'image/bmp', '.wav': 'audio/wav',
  '.png': 'image/png', '.webmanifest': 'application/manifest+json',
};

// Serves the files under `roots` (URL prefix to folder) on a free port, and nothing outside
// them: a path that leaves its folder (`..%2f`) answers 404. `hide` answers 404 for the paths it
// matches, as a server without those files would; `answer(path, url)` may give other bytes for a
// path ({status, headers, body}), or nothing to serve the file; `url` keeps the query. `headers`
// go with every answer.
// `refused` lists the paths it answered with an error status, as "404 /path": every engine's
// page requests reach it, also where the browser reports no responses (WebDriver classic).
export async function serve(roots, hide = null, answer = null, headers = {}) {
  const refused = [];
  const server = http.createServer((request, response) => {
    response.on('finish', () => response.statusCode >= 400
      && refused.push(`${response.statusCode} ${request.url}`));
    let urlPath;
    try {
      urlPath = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    } catch {
      response.writeHead(400).end();
      return;
    }
    const given = answer && answer(urlPath, request.url);
    if (given) {
      response.writeHead(given.status || 200, { ...headers, ...given.headers }).end(given.body);
      return;
    }
    const prefix = Object.keys(roots).filter((p) => urlPath.startsWith(p))
      .sort((a, b) => b.length - a.length)[0];
    const root = prefix === undefined ? null : path.resolve(roots[prefix]);
    const file = root && path.resolve(root, urlPath.slice(prefix.length) || 'index.html');
    if (!file || !file.startsWith(root + path.sep) || (hide && hide.test(urlPath))
        || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404, headers).end();
      return;
    }
    response.writeHead(200, { ...headers, 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
      'Content-Length': fs.statSync(file).size });
    fs.createReadStream(file).pipe(response);
  });
  const sockets = new Set();
  server.on('connection', (socket) => {
    sockets.add(socket);
    socket.on('close', () => sockets.delete(socket));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    refused,
    // Closes open connections too, so that a page sees the server gone at once.
    close: () => {
      server.close();
      sockets.forEach((socket) => socket.destroy());
    },
  };
}

// Starts a browser: `engine` is 'chromium', 'firefox' (Debian's firefox-esr, driven over
// WebDriver BiDi) or 'webkit' (see webkit.mjs), by default the one VORKELM_BROWSER names.
// `prefs` are Firefox preferences, `args` more Chromium switches.
export async function launch(engine = process.env.VORKELM_BROWSER || 'chromium',
  { prefs = {}, args = [] } = {}) {
  if (engine === 'firefox') {
    return puppeteer.launch({
      browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true,
      extraPrefsFirefox: prefs,
    });
  }
  if (engine === 'webkit') return launchWebKit();
  if (engine !== 'chromium')
    throw new Error(`no browser named ${engine}: chromium, firefox or webkit`);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vorkelm-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run',
      `--user-data-dir=${profile}`, ...args],
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
  site: process.env.VORKELM_SITE || 'build/web/site',
  sim: process.env.VORKELM_SIM || 'build/native/vorkelm-sim',
  shots: process.env.VORKELM_SHOTS || 'build/web-test',
};

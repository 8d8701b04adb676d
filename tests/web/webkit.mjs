// WebKitGTK's MiniBrowser, Safari's engine, driven through WebKitWebDriver (WebDriver classic)
// behind the part of puppeteer's Browser and Page that the web tests use, so that the same test
// files run in it. WebDriver classic has no DevTools protocol, no evaluateOnNewDocument, no
// request interception and no touch screen: those methods are missing here.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { Builder, By, Key, Origin, error } from 'selenium-webdriver';
import remote from 'selenium-webdriver/remote/index.js';
import portprober from 'selenium-webdriver/net/portprober.js';
import { boxOnPage } from './page-box.mjs';

const DRIVER = '/usr/bin/WebKitWebDriver';
const MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

// MiniBrowser's toolbar keeps its window at least 447 px wide; with GTK's buttons and entry
// shrunk to nothing a window gets as narrow as a phone. Pages draw their own controls.
const NARROW_TOOLBAR = 'button, entry { min-width: 0; min-height: 0; padding: 0; margin: 0; '
  + 'border-width: 0; font-size: 1px; }\n';

// Where a page keeps what its watcher heard until the next script call takes it.
const HEARD = '__vorkelmHeard';

// One WebKitWebDriver and its one session (the driver holds no second one): one MiniBrowser
// with an empty profile, at a whole-number device-pixel ratio (GTK scales by whole numbers).
class Session {
  static async start(config, scale) {
    const port = await portprober.findFreePort('127.0.0.1');
    const service = new remote.DriverService(DRIVER, {
      port, args: [`--port=${port}`], loopback: true, hostname: '127.0.0.1',
      env: { ...process.env, XDG_CONFIG_HOME: config, GDK_SCALE: String(scale) },
    });
    const driver = await new Builder().disableEnvironmentOverrides()
      .usingServer(await service.start()).withCapabilities({
        browserName: 'MiniBrowser',
        // Dialogs stay open for a page's 'dialog' listeners to answer.
        unhandledPromptBehavior: 'ignore',
        'webkitgtk:browserOptions': { binary: MINIBROWSER, args: ['--automation'] },
      }).build();
    // Waits run in the page with their own limits.
    await driver.manage().setTimeouts({ script: 600000 });
    // What MiniBrowser's toolbar takes of a window, the same for all its windows.
    const chrome = await driver.executeScript(
      'return [outerWidth - innerWidth, outerHeight - innerHeight];');
    return new Session(service, driver, chrome, await driver.getWindowHandle());
  }

  constructor(service, driver, chrome, home) {
    this.service = service;
    this.driver = driver;
    this.chrome = chrome;
    this.home = home;
    this.current = home;
    this.queue = Promise.resolve();
  }

  // One command at a time: the driver has one current window.
  serial(command) {
    const next = this.queue.then(command);
    this.queue = next.catch(() => {});
    return next;
  }

  // Runs `command(driver)` in the window `handle`.
  run(handle, command) {
    return this.serial(async () => {
      if (this.current !== handle) {
        await this.driver.switchTo().window(handle);
        this.current = handle;
      }
      return command(this.driver);
    });
  }

  // A new window. The session's first one stays open: closing the last window would end the
  // session, and a new one opens only from an open one.
  newWindow() {
    return this.serial(async () => {
      await this.driver.switchTo().newWindow('window');
      this.current = await this.driver.getWindowHandle();
      return this.current;
    });
  }

  async closeWindow(handle) {
    await this.run(handle, async (driver) => {
      await driver.close();
      await driver.switchTo().window(this.home);
      this.current = this.home;
    });
  }

  async close() {
    await this.queue;
    await this.driver.quit().catch(() => {});
    await this.service.kill();
  }
}

// Storage shared by its pages, as a puppeteer browser context; a page at another device-pixel
// ratio lives in a browser of its own.
class Context {
  constructor(config) {
    this.config = config;
    this.sessions = new Map();
  }

  session(scale) {
    if (!this.sessions.has(scale)) this.sessions.set(scale, Session.start(this.config, scale));
    return this.sessions.get(scale);
  }

  async newPage() {
    return new Page(this);
  }

  async close() {
    const sessions = [...this.sessions.values()];
    this.sessions.clear();
    await Promise.all(sessions.map((session) => session.then((s) => s.close(), () => {})));
  }
}

class Browser extends Context {
  constructor(config) {
    super(config);
    this.contexts = [];
  }

  async createBrowserContext() {
    const context = new Context(this.config);
    this.contexts.push(context);
    return context;
  }

  async close() {
    await Promise.all([super.close(), ...this.contexts.map((context) => context.close())]);
    fs.rmSync(this.config, { recursive: true, force: true });
  }
}

// Starts MiniBrowser on the display DISPLAY names (./test starts a private Xvfb for it).
export async function launchWebKit() {
  if (!process.env.DISPLAY) throw new Error('WebKit needs a display: run under Xvfb (xvfb-run -a)');
  const config = fs.mkdtempSync(path.join(os.tmpdir(), 'vorkelm-webkit-'));
  fs.mkdirSync(path.join(config, 'gtk-3.0'));
  fs.writeFileSync(path.join(config, 'gtk-3.0', 'gtk.css'), NARROW_TOOLBAR);
  const browser = new Browser(config);
  // The first browser starts now, as puppeteer's launch starts one; pages open in it.
  await browser.session(1);
  return browser;
}

// Puppeteer's key names as WebDriver key values: characters as they are, KeyX and DigitN as
// their character, named keys (ArrowLeft, Escape, F10) through selenium's Key table.
function keyValue(name) {
  if (name.length === 1) return name;
  const code = /^(?:Key|Digit)(.)$/.exec(name);
  if (code) return code[1].toLowerCase();
  if (name === 'Slash') return '/';
  const value = Key[name.replace(/(?<=[a-z0-9])(?=[A-Z])/g, '_').toUpperCase()];
  if (!value) throw new Error(`no WebDriver key for ${name}`);
  return value;
}

// In the page: errors thrown and console errors from now on, kept for the next script call.
// (WebDriver classic cannot run a script before the page's own.)
function watchInPage(heard) {
  if (window[heard]) return;
  window[heard] = [];
  const message = (thrown) => (thrown instanceof Error ? thrown.message : String(thrown));
  addEventListener('error', (event) => window[heard].push(['pageerror',
    event.error === undefined ? event.message : message(event.error)]));
  addEventListener('unhandledrejection',
    (event) => window[heard].push(['pageerror', message(event.reason)]));
  const logError = console.error;
  console.error = (...parts) => {
    window[heard].push(['console', parts.join(' ')]);
    logError.apply(console, parts);
  };
}

// In the page: resolves once `test(...args)` is true, checking on every DOM change ('mutation')
// or every 50 ms (for 'raf' too: a window not on show gets no animation frames); rejects after
// `timeout` ms.
function waitInPage(test, polling, timeout, ...args) {
  return new Promise((resolve, reject) => {
    let observer = null;
    let timer = null;
    let limit = null;
    const finish = (settle) => {
      observer?.disconnect();
      clearInterval(timer);
      clearTimeout(limit);
      settle();
    };
    const check = () => {
      try {
        if (test(...args)) finish(() => resolve(true));
        else return false;
      } catch (thrown) {
        finish(() => reject(thrown));
      }
      return true;
    };
    if (check()) return;
    limit = setTimeout(() => finish(() => reject(new Error(`waiting failed: ${timeout} ms`))),
      timeout);
    if (polling === 'mutation') {
      observer = new MutationObserver(check);
      observer.observe(document, { childList: true, subtree: true, attributes: true,
        characterData: true });
    } else {
      timer = setInterval(check, typeof polling === 'number' ? polling : 50);
    }
  });
}

// In the page: the centre of an element (a selector or the element), brought on screen first.
function centreInPage(target, boxOnPage) {
  const element = typeof target === 'string' ? document.querySelector(target) : target;
  if (!element) throw new Error(`no element matches ${target}`);
  let box = boxOnPage(element);
  if (box.top < 0 || box.left < 0 || box.bottom > innerHeight || box.right > innerWidth) {
    element.scrollIntoView({ block: 'center', inline: 'center' });
    box = boxOnPage(element);
  }
  return { x: Math.round(box.left + box.width / 2), y: Math.round(box.top + box.height / 2) };
}

class ElementHandle {
  constructor(page, element) {
    this.page = page;
    this.element = element;
  }

  click() {
    return this.page.click(this.element);
  }
}

class Page {
  constructor(context) {
    this.context = context;
    this.scale = 1;
    this.opened = null;
    this.listeners = { dialog: [], console: [], pageerror: [] };
    this.keyboard = {
      press: (key) => this.keys([['keyDown', key], ['keyUp', key]]),
      down: (key) => this.keys([['keyDown', key]]),
      up: (key) => this.keys([['keyUp', key]]),
    };
  }

  // The page's window, opened at its first use, so that setViewport can choose the browser
  // of its device-pixel ratio.
  window() {
    this.opened ??= (async () => {
      const session = await this.context.session(this.scale);
      return { session, handle: await session.newWindow() };
    })();
    return this.opened;
  }

  async do(command) {
    const { session, handle } = await this.window();
    return session.run(handle, command);
  }

  on(event, listener) {
    if (!this.listeners[event]) {
      throw new Error(`WebKit: WebDriver classic reports no '${event}' events`);
    }
    this.listeners[event].push({ listener, once: false });
    return this;
  }

  once(event, listener) {
    this.on(event, listener);
    this.listeners[event].at(-1).once = true;
    return this;
  }

  emit(event, value) {
    const listeners = this.listeners[event];
    this.listeners[event] = listeners.filter((l) => !l.once);
    listeners.forEach((l) => l.listener(value));
  }

  listening() {
    return this.listeners.console.length + this.listeners.pageerror.length > 0;
  }

  // Calls the page function `source` (its text) with `args`, and hands on what the page's
  // watcher heard meanwhile.
  async script(source, args = []) {
    const result = await this.do((driver) => driver.executeScript(
      `return Promise.resolve((${source}).apply(null, arguments)).then((value) => `
      + `({ value, heard: window.${HEARD} ? window.${HEARD}.splice(0) : [] }));`, ...args));
    for (const [event, text] of result.heard) {
      this.emit(event, event === 'console'
        ? { type: () => 'error', text: () => text } : { message: text });
    }
    return result.value;
  }

  async watch() {
    if (this.listening()) await this.script(watchInPage, [HEARD]);
  }

  async setViewport({ width, height, deviceScaleFactor = 1 }) {
    if (!Number.isInteger(deviceScaleFactor)) {
      throw new Error(`WebKitGTK scales by whole numbers, not by ${deviceScaleFactor}`);
    }
    if (this.opened && deviceScaleFactor !== this.scale) {
      throw new Error('WebKit: a page\'s device-pixel ratio is set before it opens');
    }
    this.scale = deviceScaleFactor;
    const { session } = await this.window();
    const [chromeWidth, chromeHeight] = session.chrome;
    await this.do((driver) => driver.manage().window()
      .setRect({ width: width + chromeWidth, height: height + chromeHeight }));
    // The page learns its new size a little later.
    await this.waitForFunction((w, h) => innerWidth === w && innerHeight === h, { timeout: 5000 },
      width, height).catch(async () => {
      const shown = await this.evaluate(() => `${innerWidth}x${innerHeight}`);
      throw new Error(`WebKit: asked for a ${width}x${height} page, got ${shown}`);
    });
  }

  async goto(url) {
    if (this.listening() && this.opened) await this.script('() => 0');
    await this.do((driver) => driver.get(url));
    await this.watch();
  }

  async reload() {
    if (this.listening()) await this.script('() => 0');
    await this.do((driver) => driver.navigate().refresh());
    await this.watch();
  }

  evaluate(fn, ...args) {
    return this.script(typeof fn === 'string' ? `() => (${fn})` : fn, args);
  }

  waitForFunction(fn, { polling = 'raf', timeout = 30000 } = {}, ...args) {
    const test = typeof fn === 'string' ? `() => (${fn})` : fn;
    return this.script(`(...rest) => (${waitInPage})(${test}, ...rest)`,
      [polling, timeout, ...args]);
  }

  async waitForSelector(selector, { timeout = 30000 } = {}) {
    await this.waitForFunction((s) => document.querySelector(s) !== null,
      { polling: 'mutation', timeout }, selector);
    return this.$(selector);
  }

  $eval(selector, fn, ...args) {
    return this.script(`(selector, ...args) => { const e = document.querySelector(selector); `
      + `if (!e) throw new Error('no element matches ' + selector); return (${fn})(e, ...args); }`,
    [selector, ...args]);
  }

  $$eval(selector, fn, ...args) {
    return this.script(`(selector, ...args) => `
      + `(${fn})(Array.from(document.querySelectorAll(selector)), ...args)`, [selector, ...args]);
  }

  async $$(selector) {
    const elements = await this.do((driver) => driver.findElements(By.css(selector)));
    return elements.map((element) => new ElementHandle(this, element));
  }

  async $(selector) {
    return (await this.$$(selector))[0] || null;
  }

  // A mouse click at the element's centre, as puppeteer clicks: whatever lies on top gets it.
  async click(target) {
    const { x, y } = await this.script(`(target) => (${centreInPage})(target, ${boxOnPage})`,
      [target]);
    await this.do((driver) => driver.actions({ async: true })
      .move({ x, y, origin: Origin.VIEWPORT }).press().release().perform());
    await this.answerDialog();
  }

  // A dialog the last click opened, handed to the 'dialog' listeners.
  async answerDialog() {
    if (!this.listeners.dialog.length) return;
    let alert;
    try {
      alert = await this.do((driver) => driver.switchTo().alert());
    } catch (thrown) {
      if (thrown instanceof error.NoSuchAlertError) return;
      throw thrown;
    }
    const message = await this.do(() => alert.getText());
    this.emit('dialog', {
      message: () => message,
      accept: () => this.do(() => alert.accept()),
      dismiss: () => this.do(() => alert.dismiss()),
    });
  }

  // Key presses and releases, in order; a key held down stays down for the next call.
  async keys(steps) {
    await this.do((driver) => steps.reduce((actions, [step, key]) =>
      actions[step](keyValue(key)), driver.actions({ async: true })).perform());
  }

  async screenshot({ path: file, clip } = {}) {
    if (clip) throw new Error('WebKit: WebDriver classic takes the whole page only');
    // The screenshot shows the last frame composited, which may lag behind the page.
    await this.script(() => new Promise((resolve) =>
      requestAnimationFrame(() => requestAnimationFrame(resolve))));
    const png = Buffer.from(await this.do((driver) => driver.takeScreenshot()), 'base64');
    if (file) fs.writeFileSync(file, png);
    return png;
  }

  async addScriptTag({ path: file }) {
    await this.script((text) => {
      const script = document.createElement('script');
      script.textContent = text;
      document.head.append(script);
    }, [fs.readFileSync(file, 'utf8')]);
  }

  async close() {
    if (!this.opened) return;
    const { session, handle } = await this.opened;
    await session.closeWindow(handle);
  }
}

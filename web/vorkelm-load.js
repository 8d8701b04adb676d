// Loads the game. The page's head starts this module; as soon as the page has first painted it
// requests the game module, the page's other parts and every picture together.
// Until the first frame the client area shows what is arriving; when something fails, it says
// what, in Japanese and English, with a reload button. Once the game shows, it registers the
// service worker that keeps the game playable offline. The build fills in the file names. It
// imports nothing before it runs, so that it starts as soon as it arrives and can say what else
// failed to; its screens are templates in the page.

const PICTURES = '@PICTURE_FILES@'.split(' ').filter(Boolean);
// They load at the first key press or click that allows sound.
const SOUNDS = '@SOUND_FILES@'.split(' ').filter(Boolean);
// The page's parts, the first of them the one that puts the others together.
const PAGE_SCRIPTS = '@PAGE_MODULES@'.split(' ').filter(Boolean);
const MODULE_SCRIPT = 'vorkelm.js';
const MODULE_BINARY = 'vorkelm.wasm';
// Every file is asked for by the build's name, as are the modules' imports of each other and the
// page's own files: a page takes its files from one build, whatever a cache or the server holds.
const BUILD = '@SITE_HASH@';
const ofBuild = (name) => `./${name}?v=${BUILD}`;
// A load that brings nothing new for this long has hung.
const STALL_MS = 20000;

class Failure {
  constructor(ja, en) {
    this.ja = ja;
    this.en = en;
  }
}

function notLoaded(name, why) {
  return new Failure(`${name} を読み込めませんでした（${why || 'ネットワークエラー'}）。`,
    `${name} could not be loaded (${why || 'network error'}).`);
}

function damaged(name) {
  return new Failure(`${name} が壊れているため、ゲームを起動できません。`,
    `${name} is damaged, so the game cannot start.`);
}

// Every file the page waits for, by name: its bytes so far and its length once known.
const files = {};
let failure = null;
// Set once the game shows itself: its first frame, or the message of a game ended before it.
let shown = false;
let overlay = null;
let stall = 0;

function watchForStall() {
  clearTimeout(stall);
  stall = setTimeout(() => {
    const waiting = Object.keys(files).filter((name) => !files[name].done);
    if (waiting.length) {
      fail(new Failure(`${waiting[0]} の読み込みが ${STALL_MS / 1000} 秒以上止まっています。`,
        `Loading ${waiting[0]} has stopped: nothing arrived for ${STALL_MS / 1000} seconds.`));
    }
  }, STALL_MS);
}

function progressed() {
  if (!shown && !failure)
    watchForStall();
  draw();
}

// One fetch per file, counted as its bytes arrive; whoever asks for the file later gets the same
// promise.
function take(name) {
  if (files[name])
    return files[name].bytes;
  const file = files[name] = { received: 0, total: 0, done: false };
  file.bytes = fetch(ofBuild(name)).then(async (response) => {
    if (!response.ok)
      throw notLoaded(name, `HTTP ${response.status}`);
    file.total = Number(response.headers.get('Content-Length')) || 0;
    if (!response.body || !response.body.getReader)
      return response.arrayBuffer();
    const reader = response.body.getReader();
    const chunks = [];
    for (let step = await reader.read(); !step.done; step = await reader.read()) {
      chunks.push(step.value);
      file.received += step.value.length;
      progressed();
    }
    const whole = new Uint8Array(file.received);
    let at = 0;
    for (const chunk of chunks) {
      whole.set(chunk, at);
      at += chunk.length;
    }
    return whole.buffer;
  }, () => {
    throw notLoaded(name);
  }).then((bytes) => {
    file.done = true;
    file.received = file.total = bytes.byteLength;
    progressed();
    return bytes;
  }, (error) => {
    file.done = true;
    progressed();
    throw error instanceof Failure ? error : notLoaded(name);
  });
  // A picture that fails draws nothing; no one need hear of it until it is asked for.
  file.bytes.catch(() => {});
  return file.bytes;
}

// Why an import failed, asked of the server only then: a file that does not come was not
// loaded; when every one comes, the first of them is damaged.
async function whyNotImported(names) {
  for (const name of names) {
    let response;
    try {
      response = await fetch(ofBuild(name));
    } catch (error) {
      return notLoaded(name);
    }
    if (!response.ok)
      return notLoaded(name, `HTTP ${response.status}`);
  }
  return damaged(names[0]);
}

// The module's script is imported, so the browser requests it once and runs it without eval; a
// damaged one is said, not thrown. Its size is known once it is in.
function importModuleScript() {
  const file = files[MODULE_SCRIPT] = { received: 0, total: 0, done: false };
  const done = () => {
    const address = new URL(ofBuild(MODULE_SCRIPT), document.baseURI).href;
    const timing = performance.getEntriesByName(address);
    file.received = file.total = timing.length ? timing[timing.length - 1].decodedBodySize : 0;
    file.done = true;
    progressed();
  };
  return import(ofBuild(MODULE_SCRIPT)).then((script) => {
    done();
    if (typeof script.default !== 'function')
      throw damaged(MODULE_SCRIPT);
    return script.default;
  }, async () => {
    done();
    throw await whyNotImported([MODULE_SCRIPT]);
  });
}

function fail(error) {
  if (failure || shown)
    return;
  failure = error instanceof Failure ? error
    : new Failure('ゲームがエラーで停止しました。', 'The game stopped with an error.');
  clearTimeout(stall);
  // The message shows even where the page's parts never fitted the window.
  document.documentElement.classList.remove('fitting');
  draw();
}

function kilobytes(bytes) {
  return `${Math.round(bytes / 1024)} KB`;
}

function drawFailure() {
  overlay.className = 'failed';
  overlay.setAttribute('role', 'alert');
  overlay.replaceChildren(document.getElementById('loading-failed').content.cloneNode(true));
  overlay.querySelector('.ja').textContent = failure.ja;
  overlay.querySelector('.en').textContent = failure.en;
  overlay.querySelector('button').addEventListener('click', () => location.reload());
}

function draw() {
  if (!overlay)
    return;
  if (shown) {
    overlay.remove();
    overlay = null;
    return;
  }
  if (failure) {
    if (!overlay.classList.contains('failed'))
      drawFailure();
    return;
  }
  const names = Object.keys(files);
  const done = names.filter((name) => files[name].done).length;
  let received = 0;
  let total = 0;
  let sized = true;
  for (const name of names) {
    received += files[name].received;
    total += files[name].total;
    sized = sized && (files[name].done || files[name].total > 0);
  }
  // Until the files asked for are sized, the bar shows only that something loads.
  if (sized && names.length)
    overlay.querySelector('progress').value = total ? received / total : 1;
  overlay.querySelector('.loading-files').textContent = `${done} / ${names.length}`;
  overlay.querySelector('.loading-bytes').textContent = kilobytes(received) +
    (sized ? ` / ${kilobytes(total)}` : '');
}

function showOverlay() {
  overlay = document.getElementById('loading-screen').content.firstElementChild.cloneNode(true);
  overlay.querySelector('.loading-title').textContent = document.title;
  document.getElementById('client').after(overlay);
  draw();
}

// The module and every picture are requested together once the page has painted its window: on
// a slow link the page's own style and scripts then arrive first, and the loading screen shows at
// once instead of after the game's files.
function afterFirstPaint(then) {
  let started = false;
  const once = () => {
    if (!started)
      then();
    started = true;
  };
  // A hidden tab paints nothing and runs no animation frames.
  if (document.visibilityState === 'hidden') {
    once();
    return;
  }
  requestAnimationFrame(() => setTimeout(once, 0));
  setTimeout(once, 500);
}

// Offline play is a bonus: without a service worker (not allowed, no room for its cache) the game
// plays online all the same. It is registered once the game shows, so that its copy of the site
// does not compete with the game's own files. A newer build's worker waits until the player takes
// it (vorkelm-update.js); its script is asked for past the HTTP cache.
function keepForOffline() {
  try {
    navigator.serviceWorker.register('service-worker.js', { updateViaCache: 'none' })
      .catch(() => {});
  } catch (error) {
    // No service workers in this browser or this mode.
  }
}

function gameShown() {
  if (!shown)
    keepForOffline();
  shown = true;
  clearTimeout(stall);
  draw();
}

// The game module runs with the page's bridge as Module.page, the fetches begun here, and the
// wasm compiled while the rest arrived.
function startGame(factory, page, compiled) {
  const module = {
    page: page.fromGame,
    fetchFile: take,
    soundFiles: SOUNDS,
    instantiateWasm(imports, receive) {
      compiled.then((binary) => WebAssembly.instantiate(binary, imports).then(
        (instance) => receive(instance, binary), () => { throw damaged(MODULE_BINARY); }))
        .catch(fail);
      return {};
    },
    // The pictures are already on their way: the module takes them from here.
    onRuntimeInitialized() {
      for (const name of PICTURES)
        module.ccall('vorkelm_preload', null, ['string'], [name]);
    },
    onAbort: fail,
  };
  page.attach(module);
  page.on('shown', gameShown);
  return factory(module);
}

// The page's parts are asked for beside the game's files, all at once rather than as each one's
// imports are found: the window shows without them, and the game needs them only once its
// module runs.
function importPage() {
  const parts = PAGE_SCRIPTS.map((name) => import(ofBuild(name)));
  return Promise.all(parts).then(([page]) => page, async () => {
    throw await whyNotImported(PAGE_SCRIPTS);
  });
}

function requestFiles() {
  watchForStall();
  const script = importModuleScript();
  // Compiled as soon as it arrives, while the rest still loads.
  const compiled = take(MODULE_BINARY).then((binary) => WebAssembly.compile(binary).catch(() => {
    throw damaged(MODULE_BINARY);
  }));
  compiled.catch(() => {});
  Promise.all([script, importPage()])
    .then(([factory, page]) => startGame(factory, page, compiled))
    .catch(fail);
  // A request costs the page a few milliseconds: one task each keeps the page responsive.
  for (const name of PICTURES)
    setTimeout(take, 0, name);
}

// Opened from disk, the page says how to serve the game (vorkelm-unserved.js).
if (location.protocol !== 'file:') {
  showOverlay();
  if (typeof WebAssembly !== 'object') {
    fail(new Failure('このブラウザーは WebAssembly に対応していないため、ゲームを起動できません。',
      'This browser cannot run WebAssembly, which the game needs.'));
  } else {
    afterFirstPaint(requestFiles);
  }
}

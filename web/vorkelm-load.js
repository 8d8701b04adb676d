// Loads the game. The build writes this script into the page's head; it requests the module and
// every picture at once as soon as the page has first painted. Until the first frame the client
// area shows what is arriving; when something fails, it says what, in Japanese and English, with
// a reload button. It also registers the service worker that keeps the game playable offline.
'use strict';
(function () {
  var PICTURES = '@PICTURE_FILES@'.split(' ').filter(Boolean);
  var MODULE_SCRIPT = 'vorkelm.js';
  var MODULE_BINARY = 'vorkelm.wasm';
  var PAGE_SCRIPT = 'vorkelm-page.js';
  // A load that brings nothing new for this long has hung.
  var STALL_MS = 20000;
  var WATCH_MS = 250;

  // Opened from disk, the page script says how to serve the game.
  if (location.protocol === 'file:')
    return;

  function Failure(ja, en) {
    this.ja = ja;
    this.en = en;
  }
  function notLoaded(name, why) {
    return new Failure(name + ' を読み込めませんでした（' + (why || 'ネットワークエラー') + '）。',
                       name + ' could not be loaded (' + (why || 'network error') + ').');
  }
  function damaged(name) {
    return new Failure(name + ' が壊れているため、ゲームを起動できません。',
                       name + ' is damaged, so the game cannot start.');
  }

  // Every file the page waits for, by name: its bytes so far and its length once known.
  var files = {};
  var lastProgress = Date.now();
  var failure = null;
  // Set once the game shows itself: its first frame, or the message of a game ended before it.
  var firstFrame = false;
  var overlay = null;

  function progressed() {
    lastProgress = Date.now();
    draw();
  }

  // One fetch per file, counted as its bytes arrive; whoever asks for the file later gets the
  // same promise.
  function take(name) {
    if (files[name])
      return files[name].bytes;
    var file = files[name] = { received: 0, total: 0, done: false };
    file.bytes = fetch(name).then(function (response) {
      if (!response.ok)
        throw notLoaded(name, 'HTTP ' + response.status);
      file.total = Number(response.headers.get('Content-Length')) || 0;
      if (!response.body || !response.body.getReader)
        return response.arrayBuffer();
      var reader = response.body.getReader();
      var chunks = [];
      var pump = function () {
        return reader.read().then(function (step) {
          if (step.done) {
            var whole = new Uint8Array(file.received);
            chunks.reduce(function (at, chunk) { whole.set(chunk, at); return at + chunk.length; }, 0);
            return whole.buffer;
          }
          chunks.push(step.value);
          file.received += step.value.length;
          progressed();
          return pump();
        });
      };
      return pump();
    }, function () {
      throw notLoaded(name);
    }).then(function (bytes) {
      file.done = true;
      file.received = file.total = bytes.byteLength;
      progressed();
      return bytes;
    }, function (error) {
      file.done = true;
      progressed();
      throw error instanceof Failure ? error : notLoaded(name);
    });
    // A picture that fails draws nothing; no one need hear of it until it is asked for.
    file.bytes.catch(function () {});
    return file.bytes;
  }

  if (typeof WebAssembly !== 'object') {
    failure = new Failure('このブラウザーは WebAssembly に対応していないため、ゲームを起動できません。',
                          'This browser cannot run WebAssembly, which the game needs.');
  }

  // The module and every picture are requested together once the page has painted its window:
  // on a slow link the page's own style and scripts then arrive first, and the loading screen
  // shows at once instead of after the game's files.
  var compiled = null;
  function afterFirstPaint(then) {
    var started = false;
    var once = function () {
      if (!started)
        then();
      started = true;
    };
    // A hidden tab paints nothing and runs no animation frames.
    if (document.visibilityState === 'hidden')
      return once();
    requestAnimationFrame(function () { setTimeout(once, 0); });
    setTimeout(once, 500);
  }
  function requestFiles() {
    lastProgress = Date.now();
    var script = take(MODULE_SCRIPT);
    // Compiled as soon as it arrives, while the rest still loads.
    compiled = take(MODULE_BINARY).then(function (binary) {
      return WebAssembly.compile(binary).catch(function () {
        throw damaged(MODULE_BINARY);
      });
    });
    compiled.catch(function () {});
    script.then(runModule).catch(fail);
    // A request costs the page a few milliseconds: one task each keeps the page responsive.
    PICTURES.forEach(function (name) {
      setTimeout(take, 0, name);
    });
  }

  function fail(error) {
    if (failure || firstFrame)
      return;
    failure = error instanceof Failure ? error
      : new Failure('ゲームがエラーで停止しました。', 'The game stopped with an error.');
    draw();
  }

  // The overlay lies on the client area, whatever size the page gives it.
  function place() {
    var client = document.getElementById('client');
    if (!overlay || !client)
      return;
    overlay.style.left = client.offsetLeft + 'px';
    overlay.style.top = client.offsetTop + 'px';
    overlay.style.width = client.offsetWidth + 'px';
    overlay.style.height = client.offsetHeight + 'px';
  }

  function kilobytes(bytes) {
    return Math.round(bytes / 1024) + ' KB';
  }

  function draw() {
    if (!overlay)
      return;
    if (firstFrame) {
      overlay.remove();
      overlay = null;
      return;
    }
    if (failure) {
      if (overlay.classList.contains('failed'))
        return;
      overlay.className = 'failed';
      overlay.setAttribute('role', 'alert');
      overlay.innerHTML = '<p class="loading-title">ゲームを開始できませんでした<br><span lang="en">' +
        'The game could not start</span></p><p class="ja"></p><p class="en" lang="en"></p>' +
        '<button type="button">再読み込み / <span lang="en">Reload</span></button>';
      overlay.querySelector('.ja').textContent = failure.ja;
      overlay.querySelector('.en').textContent = failure.en;
      overlay.querySelector('button').addEventListener('click', function () { location.reload(); });
      return;
    }
    var names = Object.keys(files);
    var done = names.filter(function (name) { return files[name].done; }).length;
    var received = 0;
    var total = 0;
    var sized = true;
    names.forEach(function (name) {
      received += files[name].received;
      total += files[name].total;
      sized = sized && files[name].total > 0;
    });
    var bar = overlay.querySelector('progress');
    // Until the files asked for are sized, the bar shows only that something loads.
    if (sized && names.length)
      bar.value = total ? received / total : 1;
    overlay.querySelector('.loading-files').textContent = done + ' / ' + names.length;
    overlay.querySelector('.loading-bytes').textContent = kilobytes(received) +
      (sized ? ' / ' + kilobytes(total) : '');
  }

  function show() {
    var client = document.getElementById('client');
    if (!client || firstFrame)
      return;
    overlay = document.createElement('div');
    overlay.id = 'loading';
    overlay.setAttribute('role', 'status');
    overlay.innerHTML = '<p class="loading-title"></p><p>読み込み中… <span lang="en">Loading…</span>' +
      '</p><progress max="1"></progress><p class="loading-detail"><span>ファイル / <span lang="en">' +
      'files</span></span><span class="loading-files"></span>·<span class="loading-bytes"></span></p>';
    overlay.querySelector('.loading-title').textContent = document.title;
    client.parentNode.insertBefore(overlay, client.nextSibling);
    place();
    if (window.ResizeObserver)
      new ResizeObserver(place).observe(client);
    addEventListener('resize', place);
    draw();
  }

  // The module's script is checked before it runs: a damaged one is said, not thrown.
  function runModule(bytes) {
    var text = new TextDecoder().decode(bytes);
    try {
      // Compiles the text without running it.
      Function(text);
    } catch (error) {
      throw damaged(MODULE_SCRIPT);
    }
    var instantiating = false;
    Object.assign(window.Module, {
      instantiateWasm: function (imports, receive) {
        instantiating = true;
        compiled.then(function (module) {
          return WebAssembly.instantiate(module, imports).then(function (instance) {
            return { instance: instance, module: module };
          }, function () {
            throw damaged(MODULE_BINARY);
          });
        }).then(function (result) { receive(result.instance, result.module); }, fail);
        return {};
      },
      // The pictures are already on their way: the module takes them from here.
      fetchFile: take,
      onRuntimeInitialized: function () {
        PICTURES.forEach(function (name) {
          Module.ccall('vorkelm_preload', null, ['string'], [name]);
        });
      },
      gameShown: function () {
        if (!firstFrame)
          keepForOffline();
        firstFrame = true;
        draw();
      },
      onAbort: fail
    });
    var script = document.createElement('script');
    script.textContent = text + '\n//# sourceURL=' + MODULE_SCRIPT;
    document.body.appendChild(script);
    if (!instantiating)
      throw damaged(MODULE_SCRIPT);
  }

  function start() {
    show();
    if (failure)
      return;
    if (!window.Module || !Module.page) {
      fail(notLoaded(PAGE_SCRIPT));
      return;
    }
    afterFirstPaint(requestFiles);
    var watch = setInterval(function () {
      var waiting = Object.keys(files).filter(function (name) { return !files[name].done; });
      if (!firstFrame && !failure && waiting.length && Date.now() - lastProgress > STALL_MS) {
        fail(new Failure(waiting[0] + ' の読み込みが ' + STALL_MS / 1000 + ' 秒以上止まっています。',
                         'Loading ' + waiting[0] + ' has stopped: nothing arrived for ' +
                         STALL_MS / 1000 + ' seconds.'));
      }
      draw();
      if (firstFrame || failure)
        clearInterval(watch);
    }, WATCH_MS);
  }

  if (document.readyState === 'loading')
    document.addEventListener('DOMContentLoaded', start);
  else
    start();

  // Offline play is a bonus: without a service worker (not allowed, no room for its cache) the
  // game plays online all the same. It is registered once the game shows, so that its copy of the
  // site does not compete with the game's own files.
  function keepForOffline() {
    try {
      navigator.serviceWorker.register('service-worker.js').catch(function () {});
    } catch (error) {
      // No service workers in this browser or this mode.
    }
  }
})();

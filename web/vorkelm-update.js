// A newer build, once its service worker has kept all of it, is offered and never forced: the page
// says that it is ready, and the player's Update saves the game, lets the new worker take over
// and reloads into it. Until then the running page keeps to its own build's files.
import { button, notify } from './vorkelm-notices.js';
import { save } from './vorkelm-storage.js';

// This page's build, which its own address names as every one of its files' does.
const BUILD = new URL(import.meta.url).searchParams.get('v');
// The browser looks for a new worker at each visit; a page left open looks again when it is shown
// after a while, which asks the server for the worker's script alone.
const LOOK_EVERY_MS = 10 * 60 * 1000;

let updating = false;

function buildOf(worker) {
  return new Promise((resolve) => {
    const channel = new MessageChannel();
    channel.port1.onmessage = (event) => resolve(event.data);
    worker.postMessage('build', [channel.port2]);
  });
}

// `waiting` is the new build's worker; without one, a new build already serves this page's
// scope (another tab took it), and a reload is all that is left to do.
function offer(waiting) {
  notify('update', '新しい版があります。', 'A new version is ready.',
    button('更新 / Update', () => {
      save();
      updating = true;
      if (waiting && waiting.state === 'installed')
        waiting.postMessage('take over');
      else
        location.reload();
    }));
}

async function offerIfNewer(worker, waiting) {
  if (worker && await buildOf(worker) !== BUILD)
    offer(waiting);
}

function watch(registration) {
  offerIfNewer(registration.waiting, registration.waiting);
  const installed = (worker) => worker.addEventListener('statechange', () => {
    if (worker.state === 'installed' && navigator.serviceWorker.controller)
      offerIfNewer(worker, worker);
  });
  if (registration.installing)
    installed(registration.installing);
  registration.addEventListener('updatefound', () => installed(registration.installing));
  let looked = 0;
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState !== 'visible' || Date.now() - looked < LOOK_EVERY_MS)
      return;
    looked = Date.now();
    registration.update().catch(() => {});
  });
}

export function offerUpdates() {
  let workers;
  try {
    workers = navigator.serviceWorker;
  } catch (error) {
    return; // no service workers in this mode
  }
  if (!workers)
    return;
  workers.addEventListener('controllerchange', () => {
    if (updating)
      location.reload();
    else
      offerIfNewer(workers.controller, null);
  });
  workers.ready.then(watch, () => {});
}

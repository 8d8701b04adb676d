// The window fitted to the screen, and the controls around the game: the touch buttons that drop
// coins, no long-press menu over the game, and the credit told to screen readers. The page's head
// starts this module on its own and it imports nothing, so the window shows fitted as soon as
// this one file is in; the controls get the game's bridge when the page's parts are put together.

// Crisp pixels may cost at most this much of the size that fits.
const CRISP_SHRINK = 0.75;
// A screen reader hears the credit at most this often.
const CREDIT_EVERY_MS = 1000;
// A touch button held down repeats as a key does.
const REPEAT_DELAY_MS = 500;
const REPEAT_EVERY_MS = 33;

const root = document.documentElement;
const stage = document.getElementById('stage');
const client = document.getElementById('client');
const under = document.getElementById('under');

// The scale of the window's controls and of the client area's game pixels.
const fitted = { ui: 1, scale: 1 };
const afterFit = [];
let underHeight = 0;

// What a fit moves, such as a dialog over the window, is placed again after it.
export function onFit(listener) {
  afterFit.push(listener);
}

export function currentFit() {
  return { ...fitted };
}

// The area the browser really shows. innerWidth grows with content that sticks out; a player's
// own pinch zoom is not a smaller screen.
export function visibleArea() {
  const view = window.visualViewport;
  let width = root.clientWidth;
  let height = root.clientHeight;
  if (view && view.scale <= 1) {
    width = Math.min(width, view.width);
    height = Math.min(height, view.height);
  }
  return { width, height };
}

// The window as large as fits: a whole number of device pixels per game pixel where that keeps
// at least CRISP_SHRINK of the size, else filling the space pixel by nearest pixel. The controls
// grow on large screens only; the client area takes what they leave.
function fit() {
  const area = visibleArea();
  const ratio = window.devicePixelRatio || 1;
  fitted.ui = Math.max(1, Math.min(area.width / 800, area.height / 900));
  stage.style.setProperty('--ui', fitted.ui);
  // What lies around the client area; the rows under the window wrap with its width, so this is
  // measured again until it stays the same.
  let around = '';
  for (let pass = 0; pass < 3; ++pass) {
    const box = stage.getBoundingClientRect();
    const shown = client.getBoundingClientRect();
    const aroundWidth = box.width - shown.width;
    const aroundHeight = box.height - shown.height;
    if (around === `${aroundWidth} ${aroundHeight}`)
      break;
    around = `${aroundWidth} ${aroundHeight}`;
    const fits = Math.min((area.width - aroundWidth) / client.width,
      (area.height - aroundHeight) / client.height);
    const crisp = Math.floor(fits * ratio) / ratio;
    fitted.scale = crisp > 0 && crisp >= CRISP_SHRINK * fits ? crisp : Math.max(fits, 0.1);
    client.style.width = `${client.width * fitted.scale}px`;
    client.style.height = `${client.height * fitted.scale}px`;
  }
  // Centred, with the client area's corner on a device pixel.
  const size = stage.getBoundingClientRect();
  const left = Math.max(0, (area.width - size.width) / 2);
  const top = Math.max(0, (area.height - size.height) / 2);
  stage.style.left = `${left}px`;
  stage.style.top = `${top}px`;
  const corner = client.getBoundingClientRect();
  const snap = (at, start, room) => {
    const snapped = at + (Math.round(start * ratio) - start * ratio) / ratio;
    return Math.max(0, Math.min(snapped, room));
  };
  stage.style.left = `${snap(left, corner.left, area.width - size.width)}px`;
  stage.style.top = `${snap(top, corner.top, area.height - size.height)}px`;
  afterFit.forEach((listener) => listener());
  underHeight = under.offsetHeight;
  root.classList.remove('fitting');
}

// Pressed like a key, held like one: a coin at once, then the keyboard's repeat.
function holdToDrop(button, right, game) {
  let delay = 0;
  let repeat = 0;
  const release = () => {
    clearTimeout(delay);
    clearInterval(repeat);
  };
  button.addEventListener('pointerdown', (event) => {
    event.preventDefault();
    release();
    if (!game.running())
      return;
    game.press(right);
    delay = setTimeout(() => {
      repeat = setInterval(() => game.press(right), REPEAT_EVERY_MS);
    }, REPEAT_DELAY_MS);
  });
  for (const type of ['pointerup', 'pointercancel', 'pointerleave'])
    button.addEventListener(type, release);
}

// Told when it changes, and a change within a second of the last one at the end of that second.
function tellCredit(game, on) {
  const credit = document.getElementById('credit');
  let toldAt = -Infinity;
  let waiting = 0;
  const tell = () => {
    const text = `クレジット ${game.credit()}枚`;
    if (credit.textContent === text)
      return;
    const wait = toldAt + CREDIT_EVERY_MS - performance.now();
    if (wait > 0) {
      waiting = waiting || setTimeout(() => {
        waiting = 0;
        tell();
      }, wait);
      return;
    }
    credit.textContent = text;
    toldAt = performance.now();
  };
  on('ticked', tell);
}

function fitWindow() {
  addEventListener('resize', fit);
  if (window.visualViewport)
    visualViewport.addEventListener('resize', fit);
  if (document.fonts)
    document.fonts.ready.then(fit);
  // The row under the window grows with what the page's other parts put in it; the fit waits for
  // the next frame, so that it never resizes what is being observed.
  if (window.ResizeObserver) {
    new ResizeObserver(() => {
      if (under.offsetHeight !== underHeight)
        requestAnimationFrame(fit);
    }).observe(under);
  }
  fit();
  // No long-press menu over the game; a message's text may still be copied.
  const message = document.getElementById('message');
  stage.addEventListener('contextmenu', (event) => {
    if (!message.contains(event.target))
      event.preventDefault();
  });
}

// `game` and `on` are the bridge's (vorkelm-bridge.js).
export function setUpControls({ game, on }) {
  holdToDrop(document.getElementById('drop-left'), false, game);
  holdToDrop(document.getElementById('drop-right'), true, game);
  tellCredit(game, on);
}

fitWindow();

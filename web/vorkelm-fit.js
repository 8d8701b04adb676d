// The window fitted to the screen, and the controls around the game: the touch buttons that drop
// coins, no long-press menu over the game, and the credit told to screen readers. The page's head
// starts this module on its own and it imports nothing, so the window shows fitted as soon as
// this one file is in; the controls get the game's bridge when the page's parts are put together.

// Crisp pixels may cost at most this much of the size that fits, and where the height is what
// limits the window (a phone held sideways) they may not take it under this share of the height.
const CRISP_SHRINK = 0.75;
const HEIGHT_KEPT = 0.7;
// A screen reader hears the credit at most this often.
const CREDIT_EVERY_MS = 1000;
// A touch button held down repeats after a moment, as a key does, but no faster than the game
// ticks: a finger resting on it must not pour the credit away.
const REPEAT_DELAY_MS = 500;
const REPEAT_EVERY_MS = 200;

const root = document.documentElement;
const stage = document.getElementById('stage');
const client = document.getElementById('client');
// What stands beside or under the window and changes with what the page's other parts put in it.
const besides = ['hint', 'game-commands'].map((id) => document.getElementById(id));

// The scale of the window's controls and of the client area's game pixels.
const fitted = { ui: 1, scale: 1 };
const afterFit = [];
let besidesSize = '';

// What a fit moves, such as a dialog over the window, is placed again after it.
export function onFit(listener) {
  afterFit.push(listener);
}

export function currentFit() {
  return { ...fitted };
}

// The area the browser really shows, less a phone's notch and home indicator (the body's padding
// holds their insets). innerWidth grows with content that sticks out; a player's own pinch zoom is
// not a smaller screen.
export function visibleArea() {
  const view = window.visualViewport;
  let width = root.clientWidth;
  let height = root.clientHeight;
  if (view && view.scale <= 1) {
    width = Math.min(width, view.width);
    height = Math.min(height, view.height);
  }
  const inset = getComputedStyle(document.body);
  const [top, right, bottom, left] = [inset.paddingTop, inset.paddingRight, inset.paddingBottom,
    inset.paddingLeft].map((size) => parseFloat(size) || 0);
  return { left, top, width: Math.max(0, width - left - right),
    height: Math.max(0, height - top - bottom), fullHeight: height };
}

function sizeOfBesides() {
  return besides.map((element) => `${element.offsetWidth}x${element.offsetHeight}`).join(' ');
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
    const byWidth = (area.width - aroundWidth) / client.width;
    const byHeight = (area.height - aroundHeight) / client.height;
    const fits = Math.min(byWidth, byHeight);
    const least = Math.max(CRISP_SHRINK * fits,
      byHeight <= byWidth ? Math.min(fits, HEIGHT_KEPT * area.fullHeight / client.height) : 0);
    const crisp = Math.floor(fits * ratio) / ratio;
    fitted.scale = crisp > 0 && crisp >= least ? crisp : Math.max(fits, 0.1);
    client.style.width = `${client.width * fitted.scale}px`;
    client.style.height = `${client.height * fitted.scale}px`;
  }
  stage.style.setProperty('--game-pixel', `${fitted.scale}px`);
  // Centred in the area, with the client area's corner on a device pixel.
  const size = stage.getBoundingClientRect();
  const left = area.left + Math.max(0, (area.width - size.width) / 2);
  const top = area.top + Math.max(0, (area.height - size.height) / 2);
  stage.style.left = `${left}px`;
  stage.style.top = `${top}px`;
  const corner = client.getBoundingClientRect();
  const snap = (at, start, from, room) => {
    const snapped = at + (Math.round(start * ratio) - start * ratio) / ratio;
    return Math.max(from, Math.min(snapped, from + room));
  };
  stage.style.left = `${snap(left, corner.left, area.left, area.width - size.width)}px`;
  stage.style.top = `${snap(top, corner.top, area.top, area.height - size.height)}px`;
  afterFit.forEach((listener) => listener());
  besidesSize = sizeOfBesides();
  root.classList.remove('fitting');
}

// A tap drops a coin; held, the button repeats and shows it, until the finger lifts or leaves it.
function holdToDrop(button, right, game) {
  let delay = 0;
  let repeat = 0;
  const release = () => {
    clearTimeout(delay);
    clearInterval(repeat);
    button.classList.remove('repeating');
  };
  button.addEventListener('pointerdown', (event) => {
    event.preventDefault();
    release();
    // A touch keeps its pointer on the element it began on, which would hide that it moved off.
    if (button.hasPointerCapture(event.pointerId))
      button.releasePointerCapture(event.pointerId);
    if (!game.running())
      return;
    game.press(right);
    delay = setTimeout(() => {
      button.classList.add('repeating');
      repeat = setInterval(() => game.press(right), REPEAT_EVERY_MS);
    }, REPEAT_DELAY_MS);
  });
  for (const type of ['pointerup', 'pointercancel', 'pointerleave'])
    button.addEventListener(type, release);
}

// A replay takes no presses: the hint says that one plays.
function hintReplays(game, on) {
  const hint = document.getElementById('hint');
  const show = () => {
    if (hint.classList.contains('replaying') !== game.replaying())
      hint.classList.toggle('replaying');
  };
  on('started', show);
  on('ticked', show);
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
  // What stands beside or under the window grows with what the page's other parts put in it; the
  // fit waits for the next frame, so that it never resizes what is being observed.
  if (window.ResizeObserver) {
    const observer = new ResizeObserver(() => {
      if (sizeOfBesides() !== besidesSize)
        requestAnimationFrame(fit);
    });
    besides.forEach((element) => observer.observe(element));
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
  hintReplays(game, on);
}

fitWindow();

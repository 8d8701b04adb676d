// The window's menus and dialogs: the menu bar and its keys, the buttons that send the game a
// command, the About box, and the message that the game has ended, with Play again. What a
// command does is decided by the game; this shows, hides and places.
import { game, on } from './vorkelm-bridge.js';
import { currentFit, onFit, visibleArea } from './vorkelm-fit.js';
import { button, node } from './vorkelm-notices.js';
import { playAgain } from './vorkelm-storage.js';

// Where the About box opens, from the client area's top left corner, in game pixels.
const ABOUT_LEFT = 48;
const ABOUT_TOP = 38;
// The least CSS pixels for anything a finger taps.
const TAP = 44;
// Moving the focus never scrolls the page: everything it can reach is on the screen.
const STAY = { preventScroll: true };

const client = document.getElementById('client');
const about = document.getElementById('about');
const message = document.getElementById('message');
const menus = [...document.querySelectorAll('.menu')];
// What the About box makes inert while it is open: all of the window and the page behind it.
const behindAbout = ['titlebar', 'menubar', 'client-area', 'drop-left', 'drop-right', 'under']
  .map((id) => document.getElementById(id));
let focusBeforeAbout = null;

function openedMenu() {
  return menus.find((menu) => menu.classList.contains('open'));
}

function setMenu(menu, open) {
  menu.classList.toggle('open', open);
  menu.querySelector('.menu-items').hidden = !open;
  menu.querySelector('.menu-title').setAttribute('aria-expanded', String(open));
}

function closeMenus() {
  menus.forEach((menu) => setMenu(menu, false));
}

function showMenu(menu, focusItem) {
  closeMenus();
  setMenu(menu, true);
  if (focusItem)
    menu.querySelector('[role=menuitem]').focus(STAY);
}

// The About box opens over the client area as on Windows, moved and shrunk as far as it takes to
// lie wholly on the screen; its buttons stay large enough for a finger.
function placeAbout() {
  if (about.hidden)
    return;
  const area = visibleArea();
  const { ui, scale } = currentFit();
  let zoom = ui;
  for (let pass = 0; pass < 2; ++pass) {
    about.style.setProperty('--about-zoom', zoom);
    about.style.setProperty('--tap', `${TAP / zoom}px`);
    const box = about.getBoundingClientRect();
    zoom *= Math.min(1, area.width / box.width, area.height / box.height);
  }
  about.style.setProperty('--about-zoom', zoom);
  about.style.setProperty('--tap', `${TAP / zoom}px`);
  const size = about.getBoundingClientRect();
  const corner = client.getBoundingClientRect();
  about.style.left = `${Math.max(area.left, Math.min(corner.left + ABOUT_LEFT * scale,
    area.left + area.width - size.width))}px`;
  about.style.top = `${Math.max(area.top, Math.min(corner.top + ABOUT_TOP * scale,
    area.top + area.height - size.height))}px`;
}

function showAbout(open) {
  about.hidden = !open;
  behindAbout.forEach((element) => { element.inert = open; });
  if (open) {
    closeMenus();
    focusBeforeAbout = document.activeElement;
    placeAbout();
    about.querySelector('.about-ok').focus(STAY);
    return;
  }
  // The focus goes back where it was, or to the game when that was a menu item.
  let back = focusBeforeAbout;
  if (back && back.closest('.menu-items'))
    back = client;
  if (back && back !== document.body)
    back.focus(STAY);
  else if (document.activeElement)
    document.activeElement.blur();
}

// As the Windows program ends: the window says so over the client area, with Play again.
function showEnded() {
  closeMenus();
  const again = button('もう一度遊ぶ / ', playAgain);
  again.id = 'play-again';
  again.append(node('span', { lang: 'en' }, 'Play again'));
  message.replaceChildren(
    node('p', {}, `${document.title} は終了しました。`),
    node('p', { lang: 'en' }, `${document.title} has ended.`),
    node('p', {}, again));
  message.hidden = false;
  again.focus(STAY);
}

function showPlaying() {
  message.hidden = true;
  message.replaceChildren();
}

// Keys the page takes before the game sees them: an open menu has the arrows, Esc and Tab, and
// the About box keeps Tab among its buttons. Other keys go on to the game.
function menuKeys(event) {
  if (!about.hidden) {
    if (event.key === 'Tab') {
      const controls = [...about.querySelectorAll('button')];
      const at = controls.indexOf(document.activeElement);
      const step = event.shiftKey ? controls.length - 1 : 1;
      controls[at < 0 ? 0 : (at + step) % controls.length].focus(STAY);
      event.preventDefault();
    }
    return;
  }
  const menu = openedMenu();
  if (!menu)
    return;
  const index = menus.indexOf(menu);
  const items = [...menu.querySelectorAll('[role=menuitem]')];
  const item = items.indexOf(document.activeElement);
  switch (event.key) {
  case 'Escape':
    closeMenus();
    menu.querySelector('.menu-title').focus(STAY);
    break;
  case 'ArrowDown':
    items[(item + 1) % items.length].focus(STAY);
    break;
  case 'ArrowUp':
    items[item <= 0 ? items.length - 1 : item - 1].focus(STAY);
    break;
  case 'ArrowLeft':
  case 'ArrowRight': {
    const step = event.key === 'ArrowRight' ? 1 : menus.length - 1;
    showMenu(menus[(index + step) % menus.length], true);
    break;
  }
  case 'Tab':
    closeMenus();
    return;
  default:
    return;
  }
  event.preventDefault();
  event.stopPropagation();
}

export function setUpMenus() {
  // Menu titles open their drop-downs: a click leaves the focus on the title, a key press (a
  // click without a pointer) takes it to the first item.
  for (const menu of menus) {
    menu.querySelector('.menu-title').addEventListener('click', (event) => {
      event.stopPropagation();
      if (menu.classList.contains('open'))
        closeMenus();
      else if (game.running())
        showMenu(menu, event.detail === 0);
    });
  }
  addEventListener('click', closeMenus);
  for (const commandButton of document.querySelectorAll('[data-command]')) {
    commandButton.addEventListener('click', () => {
      closeMenus();
      game.command(Number(commandButton.dataset.command));
    });
  }
  addEventListener('keydown', menuKeys, true);
  onFit(placeAbout);
  on('about', showAbout);
  on('ended', showEnded);
  on('playing', showPlaying);
}

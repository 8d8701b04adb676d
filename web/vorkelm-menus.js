// The window's menus and dialogs: the menu bar and its keys as a Windows player uses them, the
// buttons that send the game a command, and the About box. What a command does is decided by the
// game; this shows, hides and places.
import { game, on } from './vorkelm-bridge.js';
import { currentFit, onFit, visibleArea } from './vorkelm-fit.js';
import { confirmed } from './vorkelm-notices.js';

// Where the About box opens, from the client area's top left corner, in game pixels.
const ABOUT_LEFT = 48;
const ABOUT_TOP = 38;
// The least CSS pixels for anything a finger taps.
const TAP = 44;
// Moving the focus never scrolls the page: everything it can reach is on the screen.
export const STAY = { preventScroll: true };

const client = document.getElementById('client');
const about = document.getElementById('about');
const message = document.getElementById('message');
const menus = [...document.querySelectorAll('.menu')];
const titles = menus.map((menu) => menu.querySelector('.menu-title'));
// The Help menu's item, which the accelerators Alt+/ and Alt+? stand for.
const aboutCommand = Number(document.querySelector('#menu-help [role=menuitem]').dataset.command);
const closeBox = document.getElementById('close');
// What the About box makes inert while it is open: all of the window and the page behind it.
const behindAbout = ['titlebar', 'menubar', 'client-area', 'drop-left', 'drop-right', 'under']
  .map((id) => document.getElementById(id));
let focusBeforeAbout = null;
// Alt went down with no other key since: its release is Windows' menu key.
let altAlone = false;

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

// The letter a menu title or item is chosen by: the one underlined in its text.
function letterOf(element) {
  return element.querySelector('u').textContent.toUpperCase();
}

// The letter a key stands for, also where Alt makes it type another (Option+F types "ƒ").
function typedLetter(event) {
  return /^[a-z]$/i.test(event.key) ? event.key.toUpperCase() : event.code.replace(/^Key/, '');
}

function stop(event) {
  event.preventDefault();
  event.stopPropagation();
}

// F10 or Alt alone, as on Windows: the menu bar takes the focus, and gives it back to the game.
function toggleMenuBar() {
  if (openedMenu() || titles.includes(document.activeElement)) {
    closeMenus();
    client.focus(STAY);
  } else if (game.running()) {
    titles[0].focus(STAY);
  }
}

// What a key does with Alt held: Alt+/ and Alt+? (with either key or code, as engines and
// keyboards differ) are the About accelerators, Alt and a title's letter open that menu.
function altAction(event) {
  if (event.key === '/' || event.key === '?' || event.code === 'Slash')
    return () => game.command(aboutCommand);
  const title = titles.find((each) => letterOf(each) === typedLetter(event));
  return title && (() => game.running() && showMenu(menus[titles.indexOf(title)], true));
}

// Firefox with resistFingerprinting hides Alt from the page: no Alt key events, and altKey false
// on the keys pressed with it. What it cannot hide is that such a key types nothing: no keypress
// follows its keydown, where a plain key's follows in the same task.
function ifAltHidden(action) {
  let typed = false;
  const heard = () => {
    typed = true;
  };
  addEventListener('keypress', heard, true);
  setTimeout(() => {
    removeEventListener('keypress', heard, true);
    if (!typed)
      action();
  }, 0);
}

// The About box keeps Tab among its buttons; its other keys are the game's (web/main.cpp).
function aboutKeys(event) {
  if (event.key !== 'Tab')
    return;
  const controls = [...about.querySelectorAll('button')];
  const at = controls.indexOf(document.activeElement);
  const step = event.shiftKey ? controls.length - 1 : 1;
  controls[at < 0 ? 0 : (at + step) % controls.length].focus(STAY);
  event.preventDefault();
}

// The menu bar with the focus and no menu open: the arrows go from title to title or open the
// menu (and drop no coins), a title's letter opens its menu, Esc gives the focus back to the game.
function menuBarKeys(event, title) {
  const index = titles.indexOf(title);
  const lettered = titles.find((each) => letterOf(each) === typedLetter(event));
  if (event.key === 'ArrowLeft' || event.key === 'ArrowRight') {
    const step = event.key === 'ArrowRight' ? 1 : titles.length - 1;
    titles[(index + step) % titles.length].focus(STAY);
  } else if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
    showMenu(menus[index], true);
  } else if (event.key === 'Escape') {
    client.focus(STAY);
  } else if (lettered && !event.ctrlKey && !event.metaKey) {
    showMenu(menus[titles.indexOf(lettered)], true);
  } else {
    return;
  }
  stop(event);
}

// An open menu has the arrows, Esc, Tab and its items' letters.
function openMenuKeys(event, menu) {
  const index = menus.indexOf(menu);
  const items = [...menu.querySelectorAll('[role=menuitem]')];
  const item = items.indexOf(document.activeElement);
  const lettered = items.find((each) => letterOf(each) === typedLetter(event));
  switch (event.key) {
  case 'Escape':
    closeMenus();
    titles[index].focus(STAY);
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
    if (!lettered || event.ctrlKey || event.metaKey)
      return;
    lettered.click();
  }
  stop(event);
}

// Keys the page takes before the game sees them; the others go on to the game.
function menuKeys(event) {
  altAlone = event.key === 'Alt' && (altAlone || !event.repeat);
  if (!about.hidden) {
    aboutKeys(event);
    return;
  }
  if (event.key === 'F10' && !event.altKey && !event.ctrlKey && !event.shiftKey && !event.metaKey) {
    toggleMenuBar();
    stop(event);
    return;
  }
  const withAlt = !event.ctrlKey && !event.metaKey && !event.isComposing && altAction(event);
  if (withAlt && event.altKey) {
    stop(event);
    withAlt();
    return;
  }
  const menu = openedMenu();
  if (menu)
    openMenuKeys(event, menu);
  else if (titles.includes(document.activeElement))
    menuBarKeys(event, document.activeElement);
  // A key the menus took is no key with Alt; its keypress would not come either.
  if (withAlt && !event.defaultPrevented)
    ifAltHidden(withAlt);
}

function altReleased(event) {
  if (event.key !== 'Alt' || !altAlone)
    return;
  altAlone = false;
  if (about.hidden) {
    toggleMenuBar();
    event.preventDefault();
  }
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
  // A finger ends the game with × only when the player says so: it is easily touched by mistake.
  let touchedClose = false;
  closeBox.addEventListener('pointerdown', (event) => {
    touchedClose = event.pointerType === 'touch';
  });
  for (const commandButton of document.querySelectorAll('[data-command]')) {
    commandButton.addEventListener('click', () => {
      closeMenus();
      if (commandButton === closeBox && touchedClose && game.running() &&
          !confirmed('ゲームを終了しますか？ ゲームはそのまま残り、あとで続けられます。',
            'End the game? It is kept just as it stands, and you can continue it.'))
        return;
      game.command(Number(commandButton.dataset.command));
    });
  }
  addEventListener('keydown', menuKeys, true);
  addEventListener('keyup', altReleased, true);
  // Alt held for a click, or while the page lost the focus, is no menu key.
  const forgetAlt = () => {
    altAlone = false;
  };
  addEventListener('pointerdown', forgetAlt, true);
  addEventListener('blur', forgetAlt);
  onFit(placeAbout);
  on('about', showAbout);
  on('ended', closeMenus);
}

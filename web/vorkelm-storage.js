// The game kept in the browser's storage: continued before the first tick, saved every few
// seconds and whenever the page is hidden or left, and replaced by a fresh game on New game and
// Play again. The module writes and checks the save (web/main.cpp); this keeps its text.
import { game, on } from './vorkelm-bridge.js';
import { confirmed, notify } from './vorkelm-notices.js';

const SAVE_KEY = 'vorkelm-save';
// An unreadable save is moved here, with the time it was found, and never overwritten.
const ASIDE_KEY = 'vorkelm-unreadable-';
const SAVE_EVERY_MS = 5000;

// The site's local storage once asked for, or null where the browser keeps nothing.
let storage;
let toldCannotSave = false;

function kept() {
  if (storage === undefined) {
    try {
      storage = window.localStorage;
    } catch (error) {
      storage = null;
    }
  }
  return storage;
}

// Said once: a save that fails later says nothing new.
function cannotSave() {
  if (toldCannotSave)
    return;
  toldCannotSave = true;
  notify('storage', 'このブラウザーではゲームを保存できません。保存せずに遊べます。',
    'This browser does not let the page keep the game: play goes on without saving.');
}

// A replay never touches the viewer's saved game.
export function save() {
  if (!game.running() || game.replaying())
    return;
  if (!kept()) {
    cannotSave();
    return;
  }
  try {
    storage.setItem(SAVE_KEY, game.save());
  } catch (error) {
    cannotSave(); // full, or turned off since; the next save tries again
  }
}

export function savedGame() {
  try {
    return kept() ? storage.getItem(SAVE_KEY) : null;
  } catch (error) {
    storage = null;
    return null;
  }
}

// Before the first tick. A save that cannot be read is set aside, with a notice, and the new game
// that stands instead plays on.
export function continueSavedGame() {
  const saved = savedGame();
  const wrong = saved === null ? '' : game.load(saved);
  if (wrong) {
    let aside = ASIDE_KEY + new Date().toISOString();
    try {
      storage.setItem(aside, saved);
      storage.removeItem(SAVE_KEY);
    } catch (error) {
      // Without room to set it aside, the save stays where it is and this game is not saved.
      storage = null;
      toldCannotSave = true;
      aside = SAVE_KEY;
    }
    notify('unreadable', '保存されていたゲームを読み込めなかったため、新しいゲームを始めました。' +
      `読めなかったデータはこのブラウザーの保存領域に「${aside}」として残してあります。`,
      `The saved game could not be read (${wrong}), so a new game has started. The unreadable ` +
      `save is kept in this browser's storage as "${aside}".`);
  }
  if (!kept())
    cannotSave();
}

export function newGame() {
  if (!confirmed('新しいゲームを始めますか？ 今のゲームは消えます。',
    'Start a new game? The game you are playing will be gone.'))
    return;
  game.newGame();
  save();
}

// After Exit. A replay starts again from its first tick; the player's own game gives way to a
// new one, asked first when the player had pressed a key in it: that game would be gone.
export function playAgain() {
  if (game.replaying()) {
    location.reload();
    return;
  }
  if (game.keys() && !confirmed('新しいゲームを始めますか？ 終了したゲームは消えます。',
    'Start a new game? The game you ended will be gone.'))
    return;
  game.newGame();
  save();
}

export function keepGame() {
  on('starting', () => {
    setInterval(save, SAVE_EVERY_MS);
    document.addEventListener('visibilitychange', () => {
      if (document.visibilityState === 'hidden')
        save();
    });
    addEventListener('pagehide', save);
  });
}

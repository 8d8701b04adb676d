// The game kept in the browser's storage: continued before the first tick, saved every few
// seconds and whenever the page is hidden or left, and replaced by a fresh game on New game and
// Play again. The module writes and checks the save (web/main.cpp); this keeps its text.
//
// One tab of a browser profile writes it: the one that holds the writer's lock. Another tab that
// opens the game holds its own still and offers to play here; then the writing tab saves once
// more, stops and gives the lock up, and the new one continues that save and writes from then on.
import { game, on } from './vorkelm-bridge.js';
import { button, confirmed, notify, withdraw } from './vorkelm-notices.js';

const SAVE_KEY = 'vorkelm-save';
// An unreadable save is moved here, with the time it was found; only the latest one is kept.
const ASIDE_KEY = 'vorkelm-unreadable-';
const SAVE_EVERY_MS = 5000;
// Locks and local storage both belong to the origin: the lock is named after the key it guards,
// so that deployments that share the key share its one writer too.
const WRITER_LOCK = SAVE_KEY;
// How long a page that starts waits for the lock before it says that another tab plays: a
// reloaded page's last one may still be giving it up.
const START_PATIENCE_MS = 1000;
// What tabs tell each other, as { say, since }: a tab asks the writer to hand the game over.
// Where Web Locks are missing, a tab that would write asks who writes, with the time it began to,
// the writer (or a tab that began earlier) answers, and a writer that stops says so.
const HAND_OVER = 'hand-over';
const WHO_WRITES = 'who-writes';
const WRITING = 'writing';
const RELEASED = 'released';
// The writer hands the game over with its save, { say, saved }: storage written in one tab may
// reach another a moment after the lock, or not at all when it is full.
const HANDED_OVER = 'handed-over';
// How long a tab given the lock waits for the save handed over; a writer that was closed sends
// none, and its last save is the kept one.
const HANDED_OVER_WAIT_MS = 1000;
// game::RefusalKind (game/refusal.h).
const REFUSAL_NEWER = 4;
// What each kind of refused save says, in each language.
const REFUSED = {
  1: ['保存されていたデータは、このゲームのものではありません。',
    'The saved data is not a game of Vorkelm.'],
  2: ['保存されていたゲームは壊れています。', 'The saved game is damaged.'],
  3: ['保存されていたゲームは、このゲームが書くどの保存よりも長いものです。',
    'The saved game is longer than any this game writes.'],
  5: ['保存されていたゲームは、この版にはないルールで遊ばれたものです。',
    'The saved game was played under rules this version does not have.'],
  6: ['保存されていたゲームには、遊んで届くことのない状態が含まれています。',
    'The saved game holds a state that no play reaches.'],
};

// The site's local storage once asked for, or null where the browser keeps nothing.
let storage;
const channel = 'BroadcastChannel' in window ? new BroadcastChannel(SAVE_KEY) : null;
// This page writes the save: it holds the lock, which `release` gives up.
let writing = false;
let release = null;
// Another tab writes, and this page holds its game still until the player plays here.
let held = false;
let claiming = false;
// Asked to hand over while this page starts, before it writes: it does as soon as it writes.
let starting = false;
let askedToHandOver = false;
// Without Web Locks: when this page began to ask for the save, while it asks.
let claimingSince = null;
// The kept text this game stands on: the save it continued or its own last one.
let continued = null;
// The kept save that this page found unreadable and has not set aside yet.
let refused = null;
let toldCannotSave = false;
let askedToPersist = false;

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

// Said once, and withdrawn when a save succeeds: closed by the player, it stays closed until then.
function cannotSave() {
  if (toldCannotSave)
    return;
  toldCannotSave = true;
  if (!kept()) {
    notify('storage', 'このブラウザーではゲームを保存できません。保存せずに遊べます。',
      'This browser does not let the page keep the game: play goes on without saving.');
    return;
  }
  notify('storage', 'ゲームを保存できません。保存領域がいっぱいか、保存が止められています。' +
    '5 秒ごとに保存し直します。それまでに読み込み直すと、前に保存したところに戻ります。',
    'The game cannot be saved: the browser\'s storage is full or turned off. The page tries ' +
    'again every 5 seconds; until then a reload goes back to the last save.');
}

// The latest set-aside save stays; older ones go.
function pruneAside() {
  const aside = Object.keys(storage).filter((key) => key.startsWith(ASIDE_KEY)).sort();
  for (const key of aside.slice(0, -1))
    storage.removeItem(key);
}

function write(text) {
  try {
    storage.setItem(SAVE_KEY, text);
    return true;
  } catch (error) {
    // Full, or turned off since: what the page owns besides the game makes room, once.
  }
  try {
    pruneAside();
    storage.setItem(SAVE_KEY, text);
    return true;
  } catch (error) {
    return false;
  }
}

// Asked once the player has pressed keys in a game of theirs; tests read the answer, 'asked'
// while the browser asks the player.
function askToPersist() {
  askedToPersist = true;
  const answered = (outcome) => {
    document.documentElement.dataset.persisted = outcome;
  };
  answered('asked');
  if (!navigator.storage || !navigator.storage.persist) {
    answered('unavailable');
    return;
  }
  navigator.storage.persist().then((granted) => answered(String(granted)),
    () => answered('unavailable'));
}

// Only the writing tab saves, and a replay never touches the viewer's saved game. A failed save
// leaves the last good one, says so until a save succeeds, and is tried again at the next turn.
// Gives the game's text when it was to be saved.
export function save() {
  if (!writing || !game.running() || game.replaying())
    return null;
  const text = game.save();
  if (!write(text)) {
    cannotSave();
    return text;
  }
  continued = text;
  if (toldCannotSave) {
    toldCannotSave = false;
    withdraw('storage');
  }
  if (!askedToPersist && game.keys())
    askToPersist();
  return text;
}

export function savedGame() {
  try {
    return kept() ? storage.getItem(SAVE_KEY) : null;
  } catch (error) {
    storage = null;
    return null;
  }
}

// Continues the kept game unless this game stands on it already; a save refused is remembered.
function readKept(saved = savedGame()) {
  if (saved === null || saved === continued)
    return;
  continued = saved;
  refused = game.load(saved) ? { kind: game.refusalKind(), saved } : null;
}

// A newer version's save stays as it is, and nothing is saved over it.
function leaveNewer() {
  notify('unreadable', '保存されているゲームは、この版より新しい版のゲームが書いたものです。' +
    'そのまま残してあり、このページは保存せずに新しいゲームで遊びます。' +
    '新しい版が届いて読み込み直すと、そのゲームが続きます。',
    'The saved game was written by a newer version of the game. It is left as it is, and this ' +
    'page plays a new game without saving. Once the newer version arrives, a reload continues ' +
    'the saved game.');
}

// Moves an unreadable save out of the way; without room for it, it stays and nothing is saved.
function setAside(saved) {
  const aside = ASIDE_KEY + new Date().toISOString();
  try {
    storage.setItem(aside, saved);
    storage.removeItem(SAVE_KEY);
    pruneAside();
  } catch (error) {
    return false;
  }
  const [japanese, english] = REFUSED[refused.kind] || REFUSED[2];
  notify('unreadable', `${japanese}新しいゲームを始めました。` +
    `読めなかったデータはこのブラウザーの保存領域に「${aside}」として残してあります。`,
    `${english} A new game has started. The unreadable save is kept in this browser's storage ` +
    `as "${aside}".`);
  return true;
}

function giveUpLock() {
  writing = false;
  release();
  release = null;
}

// With the lock, this page writes: the kept game (`saved`) continues here first.
function startWriting(giveUp, saved) {
  release = giveUp;
  held = false;
  withdraw('writer');
  game.hold(false);
  readKept(saved);
  if (refused && (refused.kind === REFUSAL_NEWER || !setAside(refused.saved))) {
    if (refused.kind === REFUSAL_NEWER)
      leaveNewer();
    else
      cannotSave();
    giveUpLock();
    return;
  }
  refused = null;
  writing = true;
  save();
  if (askedToHandOver)
    handOver();
}

// Resolves to the function that gives the lock up, or to null when another tab keeps it longer
// than `patience` ms (null: however long it takes).
function claim(patience) {
  if (navigator.locks)
    return claimLock(patience);
  if (channel)
    return claimByChannel(patience);
  return Promise.resolve(() => {}); // nothing to agree by: every tab writes
}

function claimLock(patience) {
  const waited = new AbortController();
  if (patience !== null)
    setTimeout(() => waited.abort(), patience);
  return new Promise((resolve) => {
    navigator.locks.request(WRITER_LOCK, { signal: waited.signal },
      () => new Promise((giveUp) => resolve(giveUp))).catch(() => resolve(null));
  });
}

// Without Web Locks: a tab asks who writes and writes when no tab answers within the patience
// of a start, or once the writer says it stopped. Of two tabs that ask at once, the one that
// began first writes; tabs that cannot hear each other in time may both write, and the last to
// save wins, as before there was a writer.
function claimByChannel(patience) {
  const since = Date.now() + Math.random();
  claimingSince = since;
  return new Promise((resolve) => {
    const settle = (giveUp) => {
      channel.removeEventListener('message', hear);
      clearTimeout(quiet);
      claimingSince = null;
      resolve(giveUp);
    };
    const take = () => settle(() => channel.postMessage({ say: RELEASED }));
    const hear = ({ data }) => {
      if (data.say === RELEASED)
        take();
      else if (data.say === WRITING && patience !== null)
        settle(null);
      else if (data.say === WRITING)
        clearTimeout(quiet);
    };
    channel.addEventListener('message', hear);
    const quiet = setTimeout(take, START_PATIENCE_MS);
    channel.postMessage({ say: WHO_WRITES, since });
  });
}

// A held game says why, and plays here at the player's word.
function holdStill(japanese, english) {
  held = true;
  game.hold(true);
  const playHere = button('ここで遊ぶ / Play here', () => {
    if (claiming)
      return;
    claiming = true;
    const handed = handedOver();
    channel?.postMessage({ say: HAND_OVER });
    claim(null).then((giveUp) => Promise.race([handed, new Promise((resolve) =>
      setTimeout(() => resolve(savedGame()), HANDED_OVER_WAIT_MS))]).then((saved) => {
      claiming = false;
      startWriting(giveUp, saved);
    }));
  });
  playHere.id = 'keep-play-here';
  notify('writer', japanese, english, playHere);
}

function playedElsewhere() {
  holdStill('このゲームは別のタブで遊んでいます。「ここで遊ぶ」を押すまで、ここでは止めてあります。',
    'Another tab is playing this game. Here it stands still until you choose Play here.');
}

// The save that the writing tab hands over once this page has asked for it.
function handedOver() {
  return new Promise((resolve) => {
    if (!channel)
      return;
    const hear = ({ data }) => {
      if (data.say === HANDED_OVER) {
        channel.removeEventListener('message', hear);
        resolve(data.saved);
      }
    };
    channel.addEventListener('message', hear);
  });
}

// Another tab asked for the game: all of it is saved before the lock goes, and nothing after.
function handOver() {
  askedToHandOver = false;
  channel.postMessage({ say: HANDED_OVER, saved: save() });
  giveUpLock();
  holdStill('このゲームは別のタブで続いています。このタブは止まり、もう保存しません。',
    'This game went on in another tab. This one has stopped and saves nothing more.');
}

// Before the first tick: the kept game continues here, held still until this page holds the lock
// and writes it. An unreadable save is set aside then, with a notice, and the new game that
// stands instead plays on.
export function continueSavedGame() {
  if (!kept()) {
    cannotSave();
    return;
  }
  readKept();
  if (refused && refused.kind === REFUSAL_NEWER) {
    leaveNewer();
    return;
  }
  game.hold(true);
  starting = true;
  claim(START_PATIENCE_MS).then((giveUp) => {
    starting = false;
    if (giveUp)
      startWriting(giveUp, savedGame());
    else
      playedElsewhere();
  });
}

// The game as it stands becomes the kept one (a replay played on from its end): the tab that
// writes hands over first.
export function keepThisGame() {
  if (writing) {
    save();
    return;
  }
  if (!kept()) {
    cannotSave();
    return;
  }
  channel?.postMessage({ say: HAND_OVER });
  claim(null).then((giveUp) => {
    release = giveUp;
    writing = true;
    save();
  });
}

// In a held tab the game is another tab's: playing here comes first.
export function newGame() {
  if (held) {
    playedElsewhere();
    return;
  }
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
  if (held) {
    playedElsewhere();
    return;
  }
  if (game.keys() && !confirmed('新しいゲームを始めますか？ 終了したゲームは消えます。',
    'Start a new game? The game you ended will be gone.'))
    return;
  game.newGame();
  save();
}

export function keepGame() {
  channel?.addEventListener('message', ({ data }) => {
    if (data.say === HAND_OVER && writing)
      handOver();
    else if (data.say === HAND_OVER && starting)
      askedToHandOver = true;
    else if (data.say === WHO_WRITES && !navigator.locks
      && (writing || (claimingSince !== null && claimingSince < data.since)))
      channel.postMessage({ say: WRITING });
  });
  on('starting', () => {
    setInterval(save, SAVE_EVERY_MS);
    document.addEventListener('visibilitychange', () => {
      if (document.visibilityState === 'hidden')
        save();
    });
    addEventListener('pagehide', save);
  });
}

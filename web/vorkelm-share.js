// The commands under the window: New game and Share replay for the player's own game, and a
// shared replay's controls for whoever opens its link. Before the first tick a replay link is
// played back; any other page continues the kept game.
import { game, on } from './vorkelm-bridge.js';
import { button, confirmed, node, notify } from './vorkelm-notices.js';
import { continueSavedGame, keepThisGame, newGame, savedGame } from './vorkelm-storage.js';

const REPLAY_MARK = '#replay=';
const REPLAY_TITLE = 'リプレイ / Replay - ';
const SPEEDS = [1, 4, 16];

const commands = document.getElementById('game-commands');
// New game and Share replay, which the page shows (disabled) from its first paint.
const gameCommands = [...commands.children];

// The link goes on a phone's share sheet, elsewhere onto the clipboard; it is shown as well, for
// copying by hand where neither is allowed.
function share() {
  const link = location.href.split('#')[0] + REPLAY_MARK + game.replayCode();
  const field = node('input', { readOnly: true, id: 'keep-link', value: link });
  field.setAttribute('aria-label', 'リプレイのリンク / Replay link');
  field.addEventListener('focus', () => field.select());
  const show = (copied) => {
    if (copied)
      notify('link', 'リプレイのリンクをコピーしました。', 'The replay link is on the clipboard.', field);
    else
      notify('link', 'このリンクをコピーして送ってください。', 'Copy this link and send it:', field);
  };
  if (navigator.share && matchMedia('(pointer: coarse)').matches) {
    navigator.share({ title: document.title, url: link }).catch((error) => {
      if (error.name !== 'AbortError')
        show(false);
    });
    return;
  }
  show(false);
  if (navigator.clipboard && navigator.clipboard.writeText)
    navigator.clipboard.writeText(link).then(() => show(true), () => {});
}

function showGameCommands() {
  commands.replaceChildren(...gameCommands);
  for (const command of gameCommands)
    command.disabled = false;
}

function playFromHere() {
  if (savedGame() !== null &&
      !confirmed('保存されているあなたのゲームを、このリプレイの続きで置き換えますか？',
        'Replace your saved game with this replay, and play on from here?'))
    return;
  if (!game.playFromHere())
    return;
  history.replaceState(null, '', location.pathname + location.search);
  document.title = document.title.replace(REPLAY_TITLE, '');
  showGameCommands();
  keepThisGame();
}

// A replay's controls: where it stands, its speeds, the jump to its end, and at the end the
// viewer's choice to play on from there.
function showReplayCommands() {
  document.title = REPLAY_TITLE + document.title;
  const status = node('span', { className: 'keep-status' });
  status.setAttribute('aria-live', 'off');
  const speeds = SPEEDS.map((speed) => {
    const choice = button(`${speed}×`, () => {
      game.replaySpeed(speed);
      for (const other of speeds)
        other.setAttribute('aria-pressed', other === choice);
    });
    choice.setAttribute('aria-pressed', speed === 1);
    return choice;
  });
  // While it runs, the jump's button stops it.
  const jump = button('', () => {
    if (game.replayJumping())
      game.replayStopJump();
    else
      game.replayJump();
    showPlace();
  });
  jump.id = 'keep-jump';
  // The page without the replay's fragment is a new load, which continues the viewer's game.
  const own = button('自分のゲームへ / My game', () => {
    location.href = location.pathname + location.search;
  });
  const playOn = button('ここから遊ぶ / Play from here', playFromHere);
  playOn.id = 'keep-play-from-here';
  playOn.hidden = true;
  commands.replaceChildren(status, ...speeds, jump, own, playOn);
  function showPlace() {
    const length = game.replayLength();
    if (length < 0)
      return;
    const ticks = game.ticks();
    const jumping = game.replayJumping();
    status.textContent = `リプレイ / Replay ${ticks} / ${length}` +
      (jumping ? ` (${Math.floor(ticks * 100 / length)}%)` : '');
    // Its text is replaced only when it changes: WebKit drops a click whose press began on a
    // text that was replaced before the release.
    const label = jumping ? '止める / Stop' : '最後へ / To the end';
    if (jump.textContent !== label)
      jump.textContent = label;
    jump.disabled = ticks >= length;
    playOn.hidden = ticks < length;
  }
  showPlace();
  on('ticked', showPlace);
}

// Why a link is not played, by the module's refusal kind (game/refusal.h), a sentence in each
// language.
const LINK_REFUSALS = {
  1: ['このリンクはリプレイのリンクではありません。', 'This is not a replay link.'],
  2: ['このリプレイのリンクは壊れています。', 'This replay link is damaged.'],
  3: ['このリプレイは長すぎて、このページでは再生できません。',
    'This replay is too long for the page to play back.'],
  4: ['このリプレイは新しい版のゲームで作られました。',
    'This replay was made by a newer version of the game.'],
  5: ['このリプレイは別のルールで遊ばれたゲームです。',
    'This replay was played under rules that this version does not play.'],
  6: ['このリプレイには、遊んでいて起こりえない内容が含まれています。',
    'This replay holds what no game can reach.'],
};
const TOO_LONG = 3;

// A fragment too long to be a code is not even handed to the module.
function refusalOf(code) {
  if (code.length > game.replayCodeMaxLength())
    return TOO_LONG;
  game.startReplay(code);
  return game.refusalKind();
}

function startReplay(code) {
  const kind = refusalOf(code);
  if (!kind)
    return true;
  const [japanese, english] = LINK_REFUSALS[kind] || LINK_REFUSALS[1];
  notify('bad-link', `${japanese}あなたのゲームを続けます。`, `${english} Your own game goes on.`);
  return false;
}

// The game's commands work once it runs; until then they stand disabled, so that the page does
// not grow or move when the module starts.
export function setUpCommands() {
  for (const [command, action] of [['keep-new-game', newGame], ['keep-share', share]]) {
    document.getElementById(command).addEventListener('click', (event) => {
      event.stopPropagation();
      action();
    });
  }
  on('starting', () => {
    const hash = location.hash;
    if (hash.startsWith(REPLAY_MARK) && startReplay(hash.slice(REPLAY_MARK.length))) {
      showReplayCommands();
    } else {
      continueSavedGame();
      showGameCommands();
    }
    // A replay link opened in this very tab changes only the fragment: load it as a page.
    addEventListener('hashchange', () => {
      if (location.hash.startsWith(REPLAY_MARK))
        location.reload();
    });
  });
}

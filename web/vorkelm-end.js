// The end of the game, as the Windows program ends: the window says so over the client area, that
// the game is kept, and offers to continue it exactly where it stood or to play again.
import { game, on } from './vorkelm-bridge.js';
import { STAY } from './vorkelm-menus.js';
import { button, node } from './vorkelm-notices.js';
import { playAgain } from './vorkelm-storage.js';

const client = document.getElementById('client');
const message = document.getElementById('message');

function labelled(japanese, english, action, id) {
  const made = button(`${japanese} / `, action);
  made.id = id;
  made.append(node('span', { lang: 'en' }, english));
  return made;
}

function showEnded() {
  const goOn = labelled('続ける', 'Continue', () => game.continueGame(), 'continue');
  const again = labelled('もう一度遊ぶ', 'Play again', playAgain, 'play-again');
  const [kept, keptInEnglish] = game.replaying()
    ? ['リプレイは止めたところから続けられます。', 'The replay can go on from where it stopped.']
    : ['ゲームは終了した時のまま残っています。', 'Your game is kept just as it stood.'];
  message.replaceChildren(
    node('p', {}, `${document.title} は終了しました。${kept}`),
    node('p', { lang: 'en' }, `${document.title} has ended. ${keptInEnglish}`),
    node('p', { className: 'end-choices' }, goOn, again));
  message.hidden = false;
  goOn.focus(STAY);
}

// The game plays again, continued or new: the focus goes back to it from the message.
function showPlaying() {
  if (message.contains(document.activeElement))
    client.focus(STAY);
  message.hidden = true;
  message.replaceChildren();
}

export function showEnds() {
  on('ended', showEnded);
  on('playing', showPlaying);
}

// Where the browser offers no install prompt (Safari on an iPhone or iPad, Firefox on a phone), a
// hint on a touch screen once the game shows: how to put the game on the home screen, where it
// starts full screen. Once dismissed it never shows again.
import { on } from './vorkelm-bridge.js';
import { button, node } from './vorkelm-notices.js';

// What the site's storage keeps of the hint: the version of this flag, written when the player
// dismisses it. A later version of the page may write a higher one; any version means dismissed.
const DISMISSED_KEY = 'vorkelm-home-hint';
const DISMISSED_VERSION = '1';

function dismissed() {
  try {
    return /^[1-9][0-9]*$/.test(localStorage.getItem(DISMISSED_KEY) || '');
  } catch (error) {
    return false;
  }
}

function dismiss(hint) {
  hint.remove();
  try {
    localStorage.setItem(DISMISSED_KEY, DISMISSED_VERSION);
  } catch (error) {
    // Where nothing can be kept, the hint stays away for this visit only.
  }
}

// Chromium's browsers fire beforeinstallprompt and offer to install by themselves; a page started
// from the home screen is installed already.
function wanted() {
  const standalone = matchMedia('(display-mode: standalone)').matches ||
    navigator.standalone === true;
  return matchMedia('(pointer: coarse)').matches && !standalone &&
    !('onbeforeinstallprompt' in window) && !dismissed();
}

function showHint() {
  if (!wanted() || document.getElementById('home-hint'))
    return;
  const hint = node('div', { id: 'home-hint' },
    node('p', {}, '共有ボタンかブラウザーのメニューで「ホーム画面に追加」を選ぶと、' +
      'ホーム画面から全画面で遊べます。'),
    node('p', { lang: 'en' }, 'Choose "Add to Home Screen" in the Share button or the ' +
      'browser\'s menu to play full screen from your home screen.'));
  hint.setAttribute('role', 'note');
  const close = button('×', () => dismiss(hint));
  close.setAttribute('aria-label', '閉じる / Close');
  hint.prepend(close);
  document.getElementById('client-area').append(hint);
}

export function hintHomeScreen() {
  on('shown', showHint);
}

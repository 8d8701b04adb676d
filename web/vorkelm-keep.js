// The game kept and shared. Before the first tick the page continues the saved game (or plays back
// the replay a link names); it saves every few seconds and whenever the page is hidden or left,
// starts a new game on request and makes replay links. What happens to the game is decided by the
// module (web/main.cpp), which writes and checks the save; this script keeps it in the browser's
// storage and runs the commands under the window.
'use strict';
(function () {
  var SAVE_KEY = 'vorkelm-save';
  // An unreadable save is moved here, with the time it was found, and never overwritten.
  var ASIDE_KEY = 'vorkelm-unreadable-';
  var SAVE_EVERY_MS = 5000;
  var REPLAY_MARK = '#replay=';
  var SPEEDS = [1, 4, 16];

  var module = null;
  var storage = null;
  var toldCannotSave = false;
  var commands = null;
  var notice = null;

  function text(pointer) {
    return module.UTF8ToString(pointer);
  }

  // Hands a save or a code to the module. Both are ASCII; any other character takes more than one
  // byte, none of them in either alphabet, so the module refuses it rather than reading another.
  function hand(value) {
    var at = module._vorkelm_text_buffer(value.length);
    new TextEncoder().encodeInto(value, module.HEAPU8.subarray(at, at + value.length));
  }

  function element(tag, className, content) {
    var made = document.createElement(tag);
    if (className)
      made.className = className;
    if (content)
      made.textContent = content;
    return made;
  }

  function button(label, action) {
    var made = element('button', '', label);
    made.type = 'button';
    made.addEventListener('click', function (event) {
      event.stopPropagation();
      action(made);
    });
    return made;
  }

  // Notices over the game's picture in Japanese and English, until the player closes them. A
  // notice of the same kind replaces the one before; others stand together.
  function notify(kind, japanese, english, extra) {
    if (!notice) {
      notice = document.getElementById('client-area').appendChild(element('div'));
      notice.id = 'keep-notice';
      notice.setAttribute('role', 'status');
      notice.appendChild(button('×', function () {
        notice.hidden = true;
        while (notice.children.length > 1)
          notice.removeChild(notice.lastChild);
      })).setAttribute('aria-label', '閉じる / Close');
    }
    var section = element('div', 'keep-' + kind);
    section.appendChild(element('p', '', japanese));
    section.appendChild(element('p', '', english)).lang = 'en';
    if (extra)
      section.appendChild(extra);
    var before = notice.querySelector('.keep-' + kind);
    if (before)
      notice.replaceChild(section, before);
    else
      notice.appendChild(section);
    notice.hidden = false;
  }

  function cannotSave() {
    if (toldCannotSave)
      return;
    toldCannotSave = true;
    notify('storage', 'このブラウザーではゲームを保存できません。保存せずに遊べます。',
           'This browser does not let the page keep the game: play goes on without saving.');
  }

  function replaying() {
    return module._vorkelm_replay_length() >= 0;
  }

  function save() {
    if (!module || replaying())
      return;
    if (!storage) {
      cannotSave();
      return;
    }
    try {
      storage.setItem(SAVE_KEY, text(module._vorkelm_save()));
    } catch (error) {
      cannotSave(); // full, or turned off since; the next save tries again
    }
  }

  function savedGame() {
    try {
      return storage ? storage.getItem(SAVE_KEY) : null;
    } catch (error) {
      storage = null;
      return null;
    }
  }

  function continueSavedGame() {
    var saved = savedGame();
    if (saved === null)
      return;
    hand(saved);
    var wrong = text(module._vorkelm_load());
    if (!wrong)
      return;
    var aside = ASIDE_KEY + new Date().toISOString();
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
           '読めなかったデータはこのブラウザーの保存領域に「' + aside + '」として残してあります。',
           'The saved game could not be read (' + wrong + '), so a new game has started. The ' +
           'unreadable save is kept in this browser\'s storage as "' + aside + '".');
  }

  function confirmed(japanese, english) {
    return window.confirm(japanese + '\n' + english);
  }

  // The link goes on a phone's share sheet, elsewhere onto the clipboard; it is shown as well,
  // for copying by hand where neither is allowed.
  function share() {
    var link = location.href.split('#')[0] + REPLAY_MARK + text(module._vorkelm_replay_code());
    var field = element('input');
    field.readOnly = true;
    field.id = 'keep-link';
    field.value = link;
    field.setAttribute('aria-label', 'リプレイのリンク / Replay link');
    field.addEventListener('focus', function () { field.select(); });
    var show = function (copied) {
      if (copied)
        notify('link', 'リプレイのリンクをコピーしました。', 'The replay link is on the clipboard.', field);
      else
        notify('link', 'このリンクをコピーして送ってください。', 'Copy this link and send it:', field);
    };
    if (navigator.share && matchMedia('(pointer: coarse)').matches) {
      navigator.share({ title: document.title, url: link }).catch(function (error) {
        if (error.name !== 'AbortError')
          show(false);
      });
      return;
    }
    if (navigator.clipboard && navigator.clipboard.writeText) {
      show(false);
      navigator.clipboard.writeText(link).then(function () { show(true); }, function () {});
    } else {
      show(false);
    }
  }

  function newGame() {
    if (!confirmed('新しいゲームを始めますか？ 今のゲームは消えます。',
                   'Start a new game? The game you are playing will be gone.'))
      return;
    module._vorkelm_new_game();
    save();
  }

  function showGameCommands() {
    commands.textContent = '';
    commands.appendChild(button('新しいゲーム / New game', newGame)).id = 'keep-new-game';
    commands.appendChild(button('リプレイを共有 / Share replay', share)).id = 'keep-share';
  }

  // A replay's controls: where it stands, its speeds, the jump to its end, and at the end the
  // viewer's choice to play on from there.
  function showReplayCommands() {
    document.title = 'リプレイ / Replay - ' + document.title;
    commands.textContent = '';
    var status = commands.appendChild(element('span', 'keep-status'));
    status.setAttribute('aria-live', 'off');
    var speeds = SPEEDS.map(function (speed) {
      var choice = button(speed + '×', function () {
        module._vorkelm_replay_speed(speed);
        speeds.forEach(function (other) { other.setAttribute('aria-pressed', other === choice); });
      });
      choice.setAttribute('aria-pressed', speed === 1);
      return commands.appendChild(choice);
    });
    commands.appendChild(button('最後へ / To the end', function () {
      module._vorkelm_replay_jump();
    })).id = 'keep-jump';
    // The page without the replay's fragment is a new load, which continues the viewer's game.
    commands.appendChild(button('自分のゲームへ / My game', function () {
      location.href = location.pathname + location.search;
    }));
    var playOn = commands.appendChild(button('ここから遊ぶ / Play from here', playFromHere));
    playOn.id = 'keep-play-from-here';
    playOn.hidden = true;
    var watch = setInterval(function () {
      var length = module._vorkelm_replay_length();
      if (length < 0) {
        clearInterval(watch);
        return;
      }
      var ticks = module._vorkelm_ticks();
      status.textContent = 'リプレイ / Replay ' + ticks + ' / ' + length;
      playOn.hidden = ticks < length;
    }, 100);
  }

  function playFromHere() {
    if (savedGame() !== null &&
        !confirmed('保存されているあなたのゲームを、このリプレイの続きで置き換えますか？',
                   'Replace your saved game with this replay, and play on from here?'))
      return;
    if (!module._vorkelm_play_from_here())
      return;
    history.replaceState(null, '', location.pathname + location.search);
    document.title = document.title.replace('リプレイ / Replay - ', '');
    showGameCommands();
    save();
  }

  function startReplay(code) {
    hand(code);
    var wrong = text(module._vorkelm_start_replay());
    if (!wrong)
      return true;
    notify('bad-link', 'このリプレイのリンクは再生できません（' + wrong + '）。あなたのゲームを続けます。',
           'This replay link cannot be played: ' + wrong + '. Your own game goes on.');
    return false;
  }

  // After Exit. A replay starts again from its first tick; the player's own game gives way to a
  // new one, asked first when the player had pressed a key in it: that game would be gone.
  function playAgain() {
    if (replaying()) {
      location.reload();
      return;
    }
    if (text(module._vorkelm_keys()) &&
        !confirmed('新しいゲームを始めますか？ 終了したゲームは消えます。',
                   'Start a new game? The game you ended will be gone.'))
      return;
    module._vorkelm_new_game();
    save();
  }

  // The commands stand under the window from the first paint on, and work once the game runs: the
  // page does not grow or move when the module starts.
  commands = document.getElementById('game-commands');
  if (commands) {
    showGameCommands();
    commands.querySelectorAll('button').forEach(function (made) { made.disabled = true; });
  }

  window.vorkelmKeep = {
    playAgain: playAgain,
    // Called by the module before its first tick.
    start: function (started) {
      module = started;
      try {
        storage = window.localStorage;
      } catch (error) {
        storage = null;
      }
      var hash = location.hash;
      if (hash.indexOf(REPLAY_MARK) === 0 && startReplay(hash.slice(REPLAY_MARK.length))) {
        showReplayCommands();
      } else {
        continueSavedGame();
        commands.querySelectorAll('button').forEach(function (made) { made.disabled = false; });
        if (!storage)
          cannotSave();
      }
      setInterval(save, SAVE_EVERY_MS);
      document.addEventListener('visibilitychange', function () {
        if (document.visibilityState === 'hidden')
          save();
      });
      addEventListener('pagehide', save);
      // A replay link opened in this very tab changes only the fragment: load it as a page.
      addEventListener('hashchange', function () {
        if (location.hash.indexOf(REPLAY_MARK) === 0)
          location.reload();
      });
    }
  };
})();

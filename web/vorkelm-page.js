// The page around the game: it scales the window, runs the menus, the dialog's buttons and the
// touch buttons, and defines window.vorkelm (the loader in the page's head starts the module).
// What happens to the game is decided by the module (web/main.cpp); this script only shows and
// hides.
'use strict';
(function () {
  var stage = document.getElementById('stage');
  var message = document.getElementById('message');

  function say(html) {
    message.innerHTML = html;
    message.hidden = false;
  }

  // A whole number of device pixels per game pixel, so the picture stays crisp.
  function fit() {
    var ratio = window.devicePixelRatio || 1;
    var factor = Math.max(1, Math.floor(Math.min(innerWidth * ratio / stage.offsetWidth,
                                                 innerHeight * ratio / stage.offsetHeight)));
    var scale = factor / ratio;
    stage.style.transform = 'scale(' + scale + ')';
    stage.style.left = Math.max(0, Math.floor((innerWidth - stage.offsetWidth * scale) / 2)) + 'px';
    stage.style.top = Math.max(0, Math.floor((innerHeight - stage.offsetHeight * scale) / 2)) + 'px';
  }
  addEventListener('resize', fit);
  fit();

  if (location.protocol === 'file:') {
    say('<p>Vorkelm must be served by a web server: a browser does not let a page opened from ' +
        'disk load its program and pictures.</p><p>In the folder that holds index.html run<br>' +
        '<code>python3 -m http.server 8000</code><br>and open <code>http://127.0.0.1:8000/</code>' +
        '.</p><p>このページはWebサーバーから開いてください。</p>');
    return;
  }

  var about = document.getElementById('about');
  var menus = document.querySelectorAll('.menu');

  function closeMenus() {
    menus.forEach(function (menu) {
      menu.classList.remove('open');
      menu.querySelector('.menu-items').hidden = true;
    });
  }

  window.Module = {
    page: {
      // The game's state for tests, once the module runs.
      started: function () {
        window.vorkelm = {
          ticks: function () { return Module._vorkelm_ticks(); },
          keys: function () { return Module.UTF8ToString(Module._vorkelm_keys()); },
          dump: function () { return Module.UTF8ToString(Module._vorkelm_dump()); }
        };
      },
      showAbout: function (open) {
        about.hidden = !open;
        if (open)
          about.querySelector('.about-ok').focus();
        else if (document.activeElement)
          document.activeElement.blur();
      },
      showEnded: function () {
        closeMenus();
        say('<p>' + document.title + ' has ended. Reload the page to start a new game.</p>' +
            '<p>ゲームは終了しました。再読み込みすると新しいゲームが始まります。</p>');
      }
    },
    // The build lists the sound files on the page: they load once the first key press or click
    // allows them.
    soundFiles: document.body.dataset.sounds.split(' ').filter(Boolean)
  };

  // Menu titles open their drop-downs; items and dialog buttons send their command.
  menus.forEach(function (menu) {
    menu.querySelector('.menu-title').addEventListener('click', function (event) {
      var wasOpen = menu.classList.contains('open');
      closeMenus();
      if (!wasOpen) {
        menu.classList.add('open');
        menu.querySelector('.menu-items').hidden = false;
      }
      event.stopPropagation();
    });
  });
  addEventListener('click', closeMenus);
  document.querySelectorAll('[data-command]').forEach(function (button) {
    button.addEventListener('click', function () {
      closeMenus();
      Module._vorkelm_command(Number(button.dataset.command));
    });
  });

  // Held like a key: one coin at once, then the keyboard's repeat.
  [['drop-left', 0], ['drop-right', 1]].forEach(function (pair) {
    var button = document.getElementById(pair[0]);
    var delay = 0;
    var repeat = 0;
    function release() {
      clearTimeout(delay);
      clearInterval(repeat);
    }
    button.addEventListener('pointerdown', function (event) {
      event.preventDefault();
      release();
      Module._vorkelm_press(pair[1]);
      delay = setTimeout(function () {
        repeat = setInterval(function () { Module._vorkelm_press(pair[1]); }, 33);
      }, 500);
    });
    ['pointerup', 'pointercancel', 'pointerleave'].forEach(function (type) {
      button.addEventListener(type, release);
    });
  });
})();

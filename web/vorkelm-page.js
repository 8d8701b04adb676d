// The page around the game: it fits the window to the screen, runs the menus, the dialog's
// buttons and the touch buttons, and defines window.vorkelm (the loader in the page's head starts
// the module). What happens to the game is decided by the module (web/main.cpp); this script only
// shows, hides and places.
'use strict';
(function () {
  // Where the About box opens, from the client area's top left corner, in game pixels.
  var ABOUT_LEFT = 48;
  var ABOUT_TOP = 38;
  // Crisp pixels may cost at most this much of the size that fits.
  var CRISP_SHRINK = 0.75;
  // The least CSS pixels for anything a finger taps.
  var TAP = 44;
  // Moving the focus never scrolls the page: everything it can reach is on the screen.
  var STAY = { preventScroll: true };

  var root = document.documentElement;
  var stage = document.getElementById('stage');
  var client = document.getElementById('client');
  var about = document.getElementById('about');
  var message = document.getElementById('message');
  var credit = document.getElementById('credit');
  var under = document.getElementById('under');
  var menus = Array.prototype.slice.call(document.querySelectorAll('.menu'));
  // What the About box makes inert while it is open: all of the window and the page behind it.
  var behindAbout = ['titlebar', 'menubar', 'client-area', 'drop-left', 'drop-right', 'under']
    .map(function (id) { return document.getElementById(id); });
  var ui = 1;
  var scale = 1;
  var underHeight = 0;

  function say(html) {
    message.innerHTML = html;
    message.hidden = false;
  }

  // The area the browser really shows. innerWidth grows with content that sticks out; a
  // player's own pinch zoom is not a smaller screen.
  function visibleArea() {
    var view = window.visualViewport;
    var width = root.clientWidth;
    var height = root.clientHeight;
    if (view && view.scale <= 1) {
      width = Math.min(width, view.width);
      height = Math.min(height, view.height);
    }
    return { width: width, height: height };
  }

  // The window as large as fits: a whole number of device pixels per game pixel where that
  // keeps at least CRISP_SHRINK of the size, else filling the space pixel by nearest pixel.
  // The controls grow on large screens only; the client area takes what they leave.
  function fit() {
    var area = visibleArea();
    var ratio = window.devicePixelRatio || 1;
    ui = Math.max(1, Math.min(area.width / 800, area.height / 900));
    stage.style.setProperty('--ui', ui);
    // What lies around the client area; the rows under the window wrap with its width, so this
    // is measured again until it stays the same.
    var around = '';
    for (var pass = 0; pass < 3; ++pass) {
      var box = stage.getBoundingClientRect();
      var shown = client.getBoundingClientRect();
      var aroundWidth = box.width - shown.width;
      var aroundHeight = box.height - shown.height;
      if (around === aroundWidth + ' ' + aroundHeight)
        break;
      around = aroundWidth + ' ' + aroundHeight;
      var fits = Math.min((area.width - aroundWidth) / client.width,
                          (area.height - aroundHeight) / client.height);
      var crisp = Math.floor(fits * ratio) / ratio;
      scale = crisp > 0 && crisp >= CRISP_SHRINK * fits ? crisp : Math.max(fits, 0.1);
      client.style.width = client.width * scale + 'px';
      client.style.height = client.height * scale + 'px';
    }
    // Centred, with the client area's corner on a device pixel.
    var size = stage.getBoundingClientRect();
    var left = Math.max(0, (area.width - size.width) / 2);
    var top = Math.max(0, (area.height - size.height) / 2);
    stage.style.left = left + 'px';
    stage.style.top = top + 'px';
    var corner = client.getBoundingClientRect();
    var snap = function (at, start, room) {
      var snapped = at + (Math.round(start * ratio) - start * ratio) / ratio;
      return Math.max(0, Math.min(snapped, room));
    };
    stage.style.left = snap(left, corner.left, area.width - size.width) + 'px';
    stage.style.top = snap(top, corner.top, area.height - size.height) + 'px';
    placeAbout();
    underHeight = under.offsetHeight;
    root.classList.remove('fitting');
  }

  // The About box opens over the client area as on Windows, moved and shrunk as far as it
  // takes to lie wholly on the screen; its buttons stay large enough for a finger.
  function placeAbout() {
    if (about.hidden)
      return;
    var area = visibleArea();
    var zoom = ui;
    for (var pass = 0; pass < 2; ++pass) {
      about.style.setProperty('--about-zoom', zoom);
      about.style.setProperty('--tap', TAP / zoom + 'px');
      var box = about.getBoundingClientRect();
      zoom *= Math.min(1, area.width / box.width, area.height / box.height);
    }
    about.style.setProperty('--about-zoom', zoom);
    about.style.setProperty('--tap', TAP / zoom + 'px');
    var size = about.getBoundingClientRect();
    var corner = client.getBoundingClientRect();
    about.style.left = Math.max(0, Math.min(corner.left + ABOUT_LEFT * scale,
                                            area.width - size.width)) + 'px';
    about.style.top = Math.max(0, Math.min(corner.top + ABOUT_TOP * scale,
                                           area.height - size.height)) + 'px';
  }

  addEventListener('resize', fit);
  if (window.visualViewport)
    visualViewport.addEventListener('resize', fit);
  if (document.fonts)
    document.fonts.ready.then(fit);
  // The row under the window grows with what the page's other scripts put in it; the fit waits
  // for the next frame, so that it never resizes what is being observed.
  if (window.ResizeObserver) {
    new ResizeObserver(function () {
      if (under.offsetHeight !== underHeight)
        requestAnimationFrame(fit);
    }).observe(under);
  }
  fit();

  if (location.protocol === 'file:') {
    say('<p lang="en">Vorkelm must be served by a web server: a browser does not let a page ' +
        'opened from disk load its program and pictures.</p><p lang="en">In the folder that ' +
        'holds index.html run<br><code>python3 -m http.server 8000</code><br>and open ' +
        '<code>http://127.0.0.1:8000/</code>.</p><p>このページはWebサーバーから開いてください。</p>');
    return;
  }

  // Until the module runs, the window's controls do nothing.
  function running() {
    return !!window.vorkelm;
  }

  function command(id) {
    if (running())
      Module._vorkelm_command(id);
  }

  function openedMenu() {
    return menus.filter(function (menu) { return menu.classList.contains('open'); })[0];
  }

  function setMenu(menu, open) {
    menu.classList.toggle('open', open);
    menu.querySelector('.menu-items').hidden = !open;
    menu.querySelector('.menu-title').setAttribute('aria-expanded', String(open));
  }

  function closeMenus() {
    menus.forEach(function (menu) { setMenu(menu, false); });
  }

  function showMenu(menu, focusItem) {
    closeMenus();
    setMenu(menu, true);
    if (focusItem)
      menu.querySelector('[role=menuitem]').focus(STAY);
  }

  function announceCredit() {
    var text = 'クレジット ' + Module._vorkelm_credit() + '枚';
    if (credit.textContent !== text)
      credit.textContent = text;
  }

  var focusBeforeAbout = null;

  window.Module = {
    page: {
      // The game's state for tests, once the module runs.
      started: function () {
        window.vorkelm = {
          ticks: function () { return Module._vorkelm_ticks(); },
          keys: function () { return Module.UTF8ToString(Module._vorkelm_keys()); },
          dump: function () { return Module.UTF8ToString(Module._vorkelm_dump()); }
        };
        // A screen reader hears the credit at most once a second.
        setInterval(announceCredit, 1000);
      },
      showAbout: function (open) {
        about.hidden = !open;
        behindAbout.forEach(function (element) { element.inert = open; });
        if (open) {
          closeMenus();
          focusBeforeAbout = document.activeElement;
          placeAbout();
          about.querySelector('.about-ok').focus(STAY);
          return;
        }
        // The focus goes back where it was, or to the game when that was a menu item.
        var back = focusBeforeAbout;
        if (back && back.closest('.menu-items'))
          back = client;
        if (back && back !== document.body)
          back.focus(STAY);
        else if (document.activeElement)
          document.activeElement.blur();
      },
      showEnded: function () {
        closeMenus();
        say('<p>' + document.title + ' は終了しました。</p>' +
            '<p lang="en">' + document.title + ' has ended.</p>' +
            '<p><button id="play-again" type="button">もう一度遊ぶ / ' +
            '<span lang="en">Play again</span></button></p>');
        var again = document.getElementById('play-again');
        again.addEventListener('click', function () { vorkelmKeep.playAgain(); });
        again.focus(STAY);
      },
      showPlaying: function () {
        message.hidden = true;
        message.textContent = '';
      }
    },
    // The build lists the sound files on the page: they load once the first key press or click
    // allows them.
    soundFiles: document.body.dataset.sounds.split(' ').filter(Boolean)
  };

  // Menu titles open their drop-downs: a click leaves the focus on the title, a key press
  // (a click without a pointer) takes it to the first item.
  menus.forEach(function (menu) {
    menu.querySelector('.menu-title').addEventListener('click', function (event) {
      event.stopPropagation();
      if (menu.classList.contains('open'))
        closeMenus();
      else if (running())
        showMenu(menu, event.detail === 0);
    });
  });
  addEventListener('click', closeMenus);
  document.querySelectorAll('[data-command]').forEach(function (button) {
    button.addEventListener('click', function () {
      closeMenus();
      command(Number(button.dataset.command));
    });
  });

  // Keys the page takes before the game sees them: an open menu has the arrows, Esc and Tab,
  // and the About box keeps Tab among its buttons. Other keys go on to the game.
  addEventListener('keydown', function (event) {
    if (!about.hidden) {
      if (event.key === 'Tab') {
        var controls = Array.prototype.slice.call(about.querySelectorAll('button'));
        var at = controls.indexOf(document.activeElement);
        var step = event.shiftKey ? controls.length - 1 : 1;
        var next = at < 0 ? 0 : (at + step) % controls.length;
        controls[next].focus(STAY);
        event.preventDefault();
      }
      return;
    }
    var menu = openedMenu();
    if (!menu)
      return;
    var index = menus.indexOf(menu);
    var items = Array.prototype.slice.call(menu.querySelectorAll('[role=menuitem]'));
    var item = items.indexOf(document.activeElement);
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
    case 'ArrowRight':
      var step = event.key === 'ArrowRight' ? 1 : menus.length - 1;
      showMenu(menus[(index + step) % menus.length], true);
      break;
    case 'Tab':
      closeMenus();
      return;
    default:
      return;
    }
    event.preventDefault();
    event.stopPropagation();
  }, true);

  // No long-press menu over the game; a message's text may still be copied.
  stage.addEventListener('contextmenu', function (event) {
    if (!message.contains(event.target))
      event.preventDefault();
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
      if (!running())
        return;
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

// Opened from disk, a page cannot load its program and pictures, and Chromium runs no modules
// there at all: this plain script, the page's one that is not a module, says how to serve the game.
'use strict';
if (location.protocol === 'file:') {
  const br = () => document.createElement('br');
  const code = (text) => Object.assign(document.createElement('code'), { textContent: text });
  const paragraph = (lang, ...parts) => {
    const made = Object.assign(document.createElement('p'), { lang });
    made.append(...parts);
    return made;
  };
  const message = document.getElementById('message');
  message.replaceChildren(
    paragraph('en', 'Vorkelm must be served by a web server: a browser does not let a page ' +
      'opened from disk load its program and pictures.'),
    paragraph('en', 'In the folder that holds index.html run', br(),
      code('python3 -m http.server 8000'), br(), 'and open ', code('http://127.0.0.1:8000/'), '.'),
    paragraph('ja', 'このページはWebサーバーから開いてください。'));
  message.hidden = false;
  document.documentElement.classList.remove('fitting');
}

// What the page says to the player, in Japanese and English: notices over the game's picture and
// questions before something is lost; and the elements they are built of, made with DOM calls.

// An element with `properties` set on it (className, id, lang, ...) and `children`, elements or
// texts, in it.
export function node(tag, properties = {}, ...children) {
  const made = Object.assign(document.createElement(tag), properties);
  made.append(...children);
  return made;
}

// A button that runs `action` on a click and lets the click go no further, so that it does not
// close the menus too.
export function button(label, action) {
  const made = node('button', { type: 'button' }, label);
  made.addEventListener('click', (event) => {
    event.stopPropagation();
    action(made);
  });
  return made;
}

export function confirmed(japanese, english) {
  return window.confirm(`${japanese}\n${english}`);
}

let notice = null;

// Stands over the game's picture until the player closes it or the page withdraws it. A notice of
// the same kind replaces the one before; others stand together. `extra` is an element shown under
// the texts.
export function notify(kind, japanese, english, extra) {
  if (!notice) {
    notice = node('div', { id: 'keep-notice' });
    notice.setAttribute('role', 'status');
    const close = notice.appendChild(button('×', () => {
      notice.hidden = true;
      notice.replaceChildren(close);
    }));
    close.setAttribute('aria-label', '閉じる / Close');
    document.getElementById('client-area').append(notice);
  }
  const section = node('div', { className: `keep-${kind}` },
    node('p', {}, japanese), node('p', { lang: 'en' }, english));
  if (extra)
    section.append(extra);
  const before = notice.querySelector(`.keep-${kind}`);
  if (before)
    before.replaceWith(section);
  else
    notice.append(section);
  notice.hidden = false;
}

// A notice whose cause has passed goes; with it the last, the box goes too.
export function withdraw(kind) {
  if (!notice)
    return;
  notice.querySelector(`.keep-${kind}`)?.remove();
  if (notice.childElementCount === 1)
    notice.hidden = true;
}

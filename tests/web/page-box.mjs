// Where an element lies on the page, in the page's CSS pixels, in every engine. WebKit gives the
// box of an element inside a CSS `zoom` in that element's zoomed pixels; Chromium and Firefox
// give it on the page. Runs in the page: hand its source in with the script that calls it.
export function boxOnPage(element) {
  const probe = document.body.appendChild(document.createElement('div'));
  probe.style.zoom = 2;
  probe.appendChild(document.createElement('div')).style.width = '10px';
  const zoomedPixels = probe.firstChild.getBoundingClientRect().width === 10;
  probe.remove();
  let zoom = 1;
  for (let e = element; zoomedPixels && e; e = e.parentElement)
    zoom *= Number(getComputedStyle(e).zoom) || 1;
  const { left, top, right, bottom } = element.getBoundingClientRect();
  return { left: left * zoom, top: top * zoom, right: right * zoom, bottom: bottom * zoom,
    width: (right - left) * zoom, height: (bottom - top) * zoom };
}

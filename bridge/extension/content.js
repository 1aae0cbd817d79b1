// Remembers the element of the last right click in this frame, for the facts
// the chosen entry needs: the browser tells the extension which frame the
// menu was opened in, but not which element was under the pointer. Listening
// on the window in the capture phase, from the start of the document, hears
// the event before any handler of the page can stop it. composedPath() looks
// into open shadow trees, where `target` would only give the host element.
// Only the browser's own event counts: a page can dispatch a contextmenu
// event of its own on any element, hidden or not, right after the user's
// click, and its address would then go to the item instead of the one the
// user clicked.
let heard = null;
window.addEventListener(
  'contextmenu',
  (event) => {
    if (!event.isTrusted) return;
    const path = event.composedPath();
    globalThis.orbiskMenuTarget = path.length > 0 && path[0].nodeType === Node.ELEMENT_NODE ? path[0] : event.target;
    heard = event;
  },
  { capture: true },
);

// Code editors that draw their own text type through a hidden text field:
// on the right click they move that field under the pointer, so that the
// browser, which looks under the pointer once the page has handled the
// event, opens its menu for a text field (with the fixed string's entry),
// while the event itself went to the drawn line. Heard again at the end of
// the event's way, a text field now under the pointer is the place the
// menu was opened for; a page that stopped the event keeps the first record.
const isTextField = (el) => !!el && (el.tagName === 'TEXTAREA' || el.tagName === 'INPUT');
window.addEventListener('contextmenu', (event) => {
  if (event !== heard) return;
  heard = null;
  const recorded = globalThis.orbiskMenuTarget;
  if (isTextField(recorded) || (recorded && recorded.isContentEditable)) return;
  let under = document.elementFromPoint(event.clientX, event.clientY);
  while (under && under.shadowRoot) {
    const inner = under.shadowRoot.elementFromPoint(event.clientX, event.clientY);
    if (!inner || inner === under) break;
    under = inner;
  }
  if (isTextField(under)) globalThis.orbiskMenuTarget = under;
});

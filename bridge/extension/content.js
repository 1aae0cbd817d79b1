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
window.addEventListener(
  'contextmenu',
  (event) => {
    if (!event.isTrusted) return;
    const path = event.composedPath();
    globalThis.orbiskMenuTarget = path.length > 0 && path[0].nodeType === Node.ELEMENT_NODE ? path[0] : event.target;
  },
  { capture: true },
);

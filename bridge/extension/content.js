// Remembers the element of the last right click in this frame, for the facts
// the chosen entry needs: the browser tells the extension which frame the
// menu was opened in, but not which element was under the pointer. Listening
// on the window in the capture phase, from the start of the document, hears
// the event before any handler of the page can stop it. composedPath() looks
// into open shadow trees, where `target` would only give the host element.
window.addEventListener(
  'contextmenu',
  (event) => {
    const path = event.composedPath();
    globalThis.orbiskMenuTarget = path.length > 0 && path[0].nodeType === Node.ELEMENT_NODE ? path[0] : event.target;
  },
  { capture: true },
);
